// The game's own PNG decoder: one PNG file held whole in memory to 8-bit RGBA pixels. Called by
// the texture loader at start-up. One pass over the chunks, one decompression (media/inflate.h),
// then each scanline unfiltered and converted in turn (media/png_rows.h); no gamma, no colour
// management, no background colour.
//
// Error codes, shared by this decoder and the inflate decoder (0 = success). The first failure
// ends decoding.
//
//   code  condition
//   ----  ----------------------------------------------------------------------------------
//   10    inflate: the input ended inside a Huffman code
//   11    inflate: a code led outside the tree (a branch that no code uses)
//   13    inflate: a repeat of the previous length (symbol 16) ran past HLIT + HDIST
//   14    inflate: a run of zero lengths (symbol 17) ran past HLIT + HDIST
//   15    inflate: a long run of zero lengths (symbol 18) ran past HLIT + HDIST
//   16    inflate: a code-length symbol above 18
//   18    inflate: a distance symbol above 29
//   20    inflate: block type 3
//   21    inflate: stored block whose NLEN is not the one's complement of LEN
//   23    inflate: stored block whose bytes reach past the input
//   24    zlib header check value is not a multiple of 31
//   25    zlib compression method is not 8, or window size field above 7
//   26    zlib stream asks for a preset dictionary
//   27    PNG: fewer than 29 bytes
//   28    PNG: the signature does not match
//   29    PNG: the first chunk is not IHDR
//   30    PNG: the data ended before an IEND chunk
//   31    PNG: colour type not 0, 2, 3, 4 or 6
//   32    PNG: compression method not 0
//   33    PNG: filter method not 0
//   34    PNG: interlace method above 1
//   35    PNG: a chunk's length reaches the end of the data
//   36    PNG: a scanline's filter type above 4
//   37    PNG: bit depth not allowed for the colour type
//   38    PNG: a palette of more than 256 entries
//   39    PNG: a palette tRNS with more values than palette entries
//   40    PNG: a greyscale tRNS whose length is not 2
//   41    PNG: an RGB tRNS whose length is not 6
//   42    PNG: a tRNS chunk in a grey-with-alpha or RGBA image
//   46    PNG: an 8-bit palette index outside the palette
//   47    PNG: a palette index below 8 bits outside the palette
//   48    PNG: empty input
//   49    inflate: a dynamic block header starts too near the end of the input, or its
//         code-length code lengths reach past it
//   50    inflate: the input ended before the extra bits of a code-length repeat
//   51    inflate: the input ended before the extra bits of a length or distance
//   52    inflate: the input ended before a block header, or before a stored block's LEN and NLEN
//   53    inflate: fewer than 2 bytes of zlib data
//   55    inflate: a tree under construction needs more nodes than N - 1
//   63    PNG: a chunk length with its top bit set
//   64    inflate: the end-of-block symbol has no code
//   69    PNG: an unknown critical chunk
//   80    inflate: a distance reaching before the start of the output
//   81    inflate: a repeat of the previous length (symbol 16) as the first length
//   82    inflate: a code length above the tree's maximum (a caller's fault; no stream gives it)
//   90    PNG: an image over 2^28 pixels, or wider or higher than 2^28 (its buffers would be
//         too large)
//   91    PNG: the decompressed data are too short for the image's scanlines
//
// Codes 80 to 91 are this decoder's own answers to inputs that would otherwise make it read or
// write outside its buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The largest image accepted, in pixels; also the limit for the width and the height alone.
constexpr std::uint64_t maxImagePixels = std::uint64_t{1} << 28;

// The image header and the side data gathered while decoding.
struct PngHeaderInfo {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t colorType = 0;
    std::uint32_t bitDepth = 0;
    std::uint32_t compressionMethod = 0;
    std::uint32_t filterMethod = 0;
    std::uint32_t interlaceMethod = 0;
    // The 16-bit colour key of a tRNS chunk; for greyscale all three hold the grey key.
    std::uint32_t keyRed = 0;
    std::uint32_t keyGreen = 0;
    std::uint32_t keyBlue = 0;
    bool keyDefined = false;
    // 4 bytes an entry (red, green, blue, alpha), at most 256 entries.
    std::vector<unsigned char> palette;
};

// Decodes the `size` bytes at `data` into `pixels`: width x height x 4 bytes, RGBA, top row
// first, no padding. Returns 0 or an error code of the table above. width and height get the
// header's values, also when decoding fails after the header was read (0 and 0 when it failed
// before). After a failure the pixels are unspecified.
unsigned pngToRgba(std::vector<unsigned char>& pixels, std::uint32_t& width, std::uint32_t& height,
                   const unsigned char* data, std::size_t size);

// The same, also handing back the header and side data.
unsigned pngToRgba(std::vector<unsigned char>& pixels, std::uint32_t& width, std::uint32_t& height,
                   const unsigned char* data, std::size_t size, PngHeaderInfo& info);

// A one-line reason for an error code of the table above ("unknown error code" for others).
const char* decodeErrorText(unsigned code);
