#include "media/png.h"

#include "media/inflate.h"
#include "media/png_rows.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr unsigned errorImageTooLarge = 90;
constexpr unsigned errorScanlinesMissing = 91;

// Deflate cannot expand its input more than about 1032 times (258 bytes from two 1-bit codes),
// so a larger first guess of the scanline size could never be filled.
constexpr std::size_t maxInflateRatio = 1032;

constexpr std::array<unsigned char, 8> pngSignature = {137, 80, 78, 71, 13, 10, 26, 10};

// The seven Adam7 passes: where each starts and how far apart its pixels lie.
constexpr std::array<std::uint32_t, 7> adam7XStart = {0, 4, 0, 2, 0, 1, 0};
constexpr std::array<std::uint32_t, 7> adam7YStart = {0, 0, 4, 0, 2, 0, 1};
constexpr std::array<std::uint32_t, 7> adam7XStep = {8, 8, 4, 4, 2, 2, 1};
constexpr std::array<std::uint32_t, 7> adam7YStep = {8, 8, 8, 4, 4, 2, 2};

std::uint32_t readBigEndian32(const unsigned char* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

unsigned readBigEndian16(const unsigned char* bytes) {
    return (bytes[0] << 8) | bytes[1];
}

unsigned channelCount(std::uint32_t colorType) {
    switch (colorType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

unsigned checkColorTypeAndDepth(std::uint32_t colorType, std::uint32_t depth) {
    switch (colorType) {
    case 0:
        return (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16) ? 0 : 37;
    case 2:
    case 4:
    case 6:
        return (depth == 8 || depth == 16) ? 0 : 37;
    case 3:
        return (depth == 1 || depth == 2 || depth == 4 || depth == 8) ? 0 : 37;
    default:
        return 31;
    }
}

unsigned readHeader(PngHeaderInfo& info, const unsigned char* data, std::size_t size) {
    if (data == nullptr || size == 0) {
        return 48;
    }
    if (size < 29) {
        return 27;
    }
    if (!std::equal(pngSignature.begin(), pngSignature.end(), data)) {
        return 28;
    }
    if (std::memcmp(data + 12, "IHDR", 4) != 0) {
        return 29;
    }
    info.width = readBigEndian32(data + 16);
    info.height = readBigEndian32(data + 20);
    info.bitDepth = data[24];
    info.colorType = data[25];
    info.compressionMethod = data[26];
    info.filterMethod = data[27];
    info.interlaceMethod = data[28];
    if (info.compressionMethod != 0) {
        return 32;
    }
    if (info.filterMethod != 0) {
        return 33;
    }
    if (info.interlaceMethod > 1) {
        return 34;
    }
    return checkColorTypeAndDepth(info.colorType, info.bitDepth);
}

unsigned readPalette(PngHeaderInfo& info, const unsigned char* chunk, std::uint32_t length) {
    const std::uint32_t entries = length / 3;
    if (entries > 256) {
        return 38;
    }
    info.palette.resize(std::size_t{entries} * 4);
    for (std::uint32_t i = 0; i < entries; ++i) {
        info.palette[4 * i + 0] = chunk[3 * i + 0];
        info.palette[4 * i + 1] = chunk[3 * i + 1];
        info.palette[4 * i + 2] = chunk[3 * i + 2];
        info.palette[4 * i + 3] = 255;
    }
    return 0;
}

unsigned readTransparency(PngHeaderInfo& info, const unsigned char* chunk, std::uint32_t length) {
    switch (info.colorType) {
    case 3:
        if (length > info.palette.size() / 4) {
            return 39;
        }
        for (std::uint32_t i = 0; i < length; ++i) {
            info.palette[4 * i + 3] = chunk[i];
        }
        return 0;
    case 0:
        if (length != 2) {
            return 40;
        }
        info.keyRed = info.keyGreen = info.keyBlue = readBigEndian16(chunk);
        info.keyDefined = true;
        return 0;
    case 2:
        if (length != 6) {
            return 41;
        }
        info.keyRed = readBigEndian16(chunk);
        info.keyGreen = readBigEndian16(chunk + 2);
        info.keyBlue = readBigEndian16(chunk + 4);
        info.keyDefined = true;
        return 0;
    default:
        return 42;
    }
}

// Walks the chunks after IHDR up to IEND, joining the IDAT data and reading PLTE and tRNS.
unsigned walkChunks(PngHeaderInfo& info, std::vector<unsigned char>& idat,
                    const unsigned char* data, std::size_t size) {
    std::size_t pos = 33;
    for (;;) {
        if (pos + 8 >= size) {
            return 30;
        }
        const std::uint32_t length = readBigEndian32(data + pos);
        if ((length & 0x80000000u) != 0) {
            return 63;
        }
        // The second test keeps the chunk's data inside the file too: the first alone would
        // let its last bytes lie up to three bytes past the end.
        if (pos + 4 + length >= size || pos + 8 + length > size) {
            return 35;
        }
        const unsigned char* type = data + pos + 4;
        const unsigned char* chunk = data + pos + 8;
        bool lastChunk = false;
        unsigned error = 0;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            idat.insert(idat.end(), chunk, chunk + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            lastChunk = true;
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            error = readPalette(info, chunk, length);
        } else if (std::memcmp(type, "tRNS", 4) == 0) {
            error = readTransparency(info, chunk, length);
        } else if ((type[0] & 0x20) == 0) {
            error = 69;
        }
        if (error != 0) {
            return error;
        }
        pos += 12 + std::size_t{length}; // length, type, data and the CRC, which is not checked
        if (lastChunk) {
            return 0;
        }
    }
}

unsigned checkImageSize(const PngHeaderInfo& info) {
    const std::uint64_t pixels = std::uint64_t{info.width} * info.height;
    if (pixels > maxImagePixels || info.width > maxImagePixels || info.height > maxImagePixels) {
        return errorImageTooLarge;
    }
    return 0;
}

struct PassShape {
    std::size_t columns = 0;
    std::size_t rows = 0;
};

PassShape adam7PassShape(const PngHeaderInfo& info, unsigned pass) {
    PassShape shape;
    if (info.width > adam7XStart[pass]) {
        shape.columns = (info.width - adam7XStart[pass] + adam7XStep[pass] - 1) / adam7XStep[pass];
    }
    if (info.height > adam7YStart[pass]) {
        shape.rows = (info.height - adam7YStart[pass] + adam7YStep[pass] - 1) / adam7YStep[pass];
    }
    return shape;
}

std::size_t scanlineBytes(std::size_t columns, std::size_t bitsPerPixel) {
    return (columns * bitsPerPixel + 7) / 8;
}

// How many bytes of decompressed data the scanlines of the image take.
std::size_t scanlineDataSize(const PngHeaderInfo& info, std::size_t bitsPerPixel) {
    if (info.interlaceMethod == 0) {
        return std::size_t{info.height} * (1 + scanlineBytes(info.width, bitsPerPixel));
    }
    std::size_t total = 0;
    for (unsigned pass = 0; pass < 7; ++pass) {
        const PassShape shape = adam7PassShape(info, pass);
        if (shape.columns > 0) {
            total += shape.rows * (1 + scanlineBytes(shape.columns, bitsPerPixel));
        }
    }
    return total;
}

// Every scanline's filter type is checked before any row is converted, so that a bad filter
// type is the error reported even when a bad palette index comes first.
unsigned checkFilterTypes(const std::vector<unsigned char>& scanlines, std::size_t rows,
                          std::size_t rowBytes) {
    for (std::size_t row = 0; row < rows; ++row) {
        if (scanlines[row * (1 + rowBytes)] > 4) {
            return 36;
        }
    }
    return 0;
}

// A non-interlaced image, row by row: each scanline is unfiltered in place and converted at
// once, while it is still in the cache. 8-bit RGBA rows are unfiltered straight into the output.
unsigned decodeRows(std::vector<unsigned char>& out, const PngHeaderInfo& info,
                    std::vector<unsigned char>& scanlines, std::size_t bitsPerPixel) {
    const std::size_t rowBytes = scanlineBytes(info.width, bitsPerPixel);
    unsigned error = checkFilterTypes(scanlines, info.height, rowBytes);
    if (error != 0 || rowBytes == 0) {
        out.clear();
        return error;
    }
    const std::array<RowUnfilter, 5> unfilters = chooseRowUnfilters((bitsPerPixel + 7) / 8);
    const RowConverter convert = chooseRowConverter(info);
    const std::size_t outRowBytes = std::size_t{info.width} * 4;
    out.resize(outRowBytes * info.height);
    const unsigned char* previous = nullptr;
    for (std::size_t y = 0; y < info.height; ++y) {
        unsigned char* line = scanlines.data() + y * (1 + rowBytes);
        unsigned char* outRow = out.data() + y * outRowBytes;
        const RowUnfilter unfilter = unfilters[line[0]];
        if (convert == nullptr) {
            unfilter(outRow, line + 1, previous, rowBytes);
            previous = outRow;
            continue;
        }
        unfilter(line + 1, line + 1, previous, rowBytes);
        error = convert(outRow, line + 1, info.width, info);
        if (error != 0) {
            return error;
        }
        previous = line + 1;
    }
    return 0;
}

// Puts the `columns` pixels of one unfiltered pass row at columns xStart, xStart + xStep, ... of
// the image row `row`. Below 8 bits a pixel is a run of bits, most significant first; the row
// starts zero-filled, so bits are only ever set.
void placePassRow(unsigned char* row, const unsigned char* line, std::size_t columns,
                  std::size_t xStart, std::size_t xStep, std::size_t bitsPerPixel) {
    if (bitsPerPixel >= 8) {
        const std::size_t bytes = bitsPerPixel / 8;
        for (std::size_t column = 0; column < columns; ++column) {
            std::memcpy(row + (xStart + column * xStep) * bytes, line + column * bytes, bytes);
        }
        return;
    }
    for (std::size_t column = 0; column < columns; ++column) {
        for (std::size_t bit = 0; bit < bitsPerPixel; ++bit) {
            const std::size_t from = column * bitsPerPixel + bit;
            const std::size_t to = (xStart + column * xStep) * bitsPerPixel + bit;
            if (((line[from / 8] >> (7 - from % 8)) & 1u) != 0) {
                row[to / 8] |= static_cast<unsigned char>(0x80u >> (to % 8));
            }
        }
    }
}

// An Adam7 image: the seven passes are unfiltered in place and their pixels put together in
// rows of the image's own layout, which are then converted. 8-bit RGBA pixels go straight to
// the output.
unsigned decodeInterlaced(std::vector<unsigned char>& out, const PngHeaderInfo& info,
                          std::vector<unsigned char>& scanlines, std::size_t bitsPerPixel) {
    const std::array<RowUnfilter, 5> unfilters = chooseRowUnfilters((bitsPerPixel + 7) / 8);
    const RowConverter convert = chooseRowConverter(info);
    const std::size_t rowBytes = scanlineBytes(info.width, bitsPerPixel);
    std::vector<unsigned char> gathered;
    std::vector<unsigned char>& image = convert == nullptr ? out : gathered;
    image.assign(rowBytes * info.height, 0);
    std::size_t offset = 0;
    for (unsigned pass = 0; pass < 7; ++pass) {
        const PassShape shape = adam7PassShape(info, pass);
        if (shape.columns == 0) {
            continue;
        }
        const std::size_t passRowBytes = scanlineBytes(shape.columns, bitsPerPixel);
        const unsigned char* previous = nullptr;
        for (std::size_t row = 0; row < shape.rows; ++row) {
            unsigned char* line = scanlines.data() + offset;
            if (line[0] > 4) {
                return 36;
            }
            unfilters[line[0]](line + 1, line + 1, previous, passRowBytes);
            const std::size_t y = adam7YStart[pass] + row * adam7YStep[pass];
            placePassRow(image.data() + y * rowBytes, line + 1, shape.columns, adam7XStart[pass],
                         adam7XStep[pass], bitsPerPixel);
            previous = line + 1;
            offset += 1 + passRowBytes;
        }
    }
    if (convert == nullptr) {
        return 0;
    }
    const std::size_t outRowBytes = std::size_t{info.width} * 4;
    out.resize(outRowBytes * info.height);
    for (std::size_t y = 0; y < info.height; ++y) {
        const unsigned error =
            convert(out.data() + y * outRowBytes, gathered.data() + y * rowBytes, info.width, info);
        if (error != 0) {
            return error;
        }
    }
    return 0;
}

unsigned decodePng(std::vector<unsigned char>& out, PngHeaderInfo& info, const unsigned char* data,
                   std::size_t size) {
    std::vector<unsigned char> idat;
    unsigned error = walkChunks(info, idat, data, size);
    if (error == 0) {
        error = checkImageSize(info);
    }
    if (error != 0) {
        return error;
    }
    const std::size_t bitsPerPixel = info.bitDepth * channelCount(info.colorType);
    const std::size_t estimate =
        info.height + info.width * (std::size_t{info.height} * bitsPerPixel + 7) / 8;
    // The room past the estimate lets the inflater's fast loop run up to the last byte.
    std::vector<unsigned char> scanlines(std::min(estimate, idat.size() * maxInflateRatio) + 1024);
    error = inflateZlibStream(scanlines, idat);
    if (error != 0) {
        return error;
    }
    if (scanlines.size() < scanlineDataSize(info, bitsPerPixel)) {
        return errorScanlinesMissing;
    }
    if (info.interlaceMethod == 0) {
        return decodeRows(out, info, scanlines, bitsPerPixel);
    }
    return decodeInterlaced(out, info, scanlines, bitsPerPixel);
}

} // namespace

unsigned pngToRgba(std::vector<unsigned char>& pixels, std::uint32_t& width, std::uint32_t& height,
                   const unsigned char* data, std::size_t size, PngHeaderInfo& info) {
    info = PngHeaderInfo{};
    width = 0;
    height = 0;
    unsigned error = readHeader(info, data, size);
    width = info.width; // still 0 when the header could not be read
    height = info.height;
    if (error == 0) {
        error = decodePng(pixels, info, data, size);
    }
    return error;
}

unsigned pngToRgba(std::vector<unsigned char>& pixels, std::uint32_t& width, std::uint32_t& height,
                   const unsigned char* data, std::size_t size) {
    PngHeaderInfo info;
    return pngToRgba(pixels, width, height, data, size, info);
}

const char* decodeErrorText(unsigned code) {
    switch (code) {
    case 0:
        return "no error";
    case 10:
        return "the compressed data ended inside a Huffman code";
    case 11:
        return "a Huffman code led to a branch that no code uses";
    case 13:
        return "a repeat of the previous code length ran past the header's lengths";
    case 14:
        return "a run of zero code lengths ran past the header's lengths";
    case 15:
        return "a long run of zero code lengths ran past the header's lengths";
    case 16:
        return "a code-length symbol above 18";
    case 18:
        return "a distance symbol above 29";
    case 20:
        return "a compressed block of the invalid type 3";
    case 21:
        return "a stored block whose NLEN is not the one's complement of LEN";
    case 23:
        return "a stored block reaches past the compressed data";
    case 24:
        return "the zlib header check value is not a multiple of 31";
    case 25:
        return "the zlib compression method is not deflate or its window is too large";
    case 26:
        return "the zlib stream asks for a preset dictionary";
    case 27:
        return "the file is too short to hold a PNG header";
    case 28:
        return "the PNG signature does not match";
    case 29:
        return "the first chunk is not IHDR";
    case 30:
        return "the file ended before an IEND chunk";
    case 31:
        return "the colour type is not 0, 2, 3, 4 or 6";
    case 32:
        return "the compression method is not 0";
    case 33:
        return "the filter method is not 0";
    case 34:
        return "the interlace method is not 0 or 1";
    case 35:
        return "a chunk's length reaches the end of the file";
    case 36:
        return "a scanline's filter type is above 4";
    case 37:
        return "the bit depth is not allowed for the colour type";
    case 38:
        return "the palette has more than 256 entries";
    case 39:
        return "the tRNS chunk has more values than the palette has entries";
    case 40:
        return "the greyscale tRNS chunk is not 2 bytes long";
    case 41:
        return "the RGB tRNS chunk is not 6 bytes long";
    case 42:
        return "a tRNS chunk in an image that has an alpha channel";
    case 46:
        return "an 8-bit palette index outside the palette";
    case 47:
        return "a palette index below 8 bits outside the palette";
    case 48:
        return "the file is empty";
    case 49:
        return "a dynamic block header lies too near the end of the compressed data";
    case 50:
        return "the compressed data ended before the extra bits of a code-length repeat";
    case 51:
        return "the compressed data ended before the extra bits of a length or distance";
    case 52:
        return "the compressed data ended before a block header or stored block length";
    case 53:
        return "fewer than 2 bytes of zlib data";
    case 55:
        return "an over-subscribed Huffman code";
    case 63:
        return "a chunk length with its top bit set";
    case 64:
        return "the end-of-block symbol has no code";
    case 69:
        return "an unknown critical chunk";
    case 80:
        return "a back-reference distance reaches before the start of the output";
    case 81:
        return "a repeat of the previous code length where there is none";
    case 82:
        return "a code length above the tree's maximum";
    case 90:
        return "the image is too large";
    case 91:
        return "the decompressed data are too short for the image's scanlines";
    default:
        return "unknown error code";
    }
}
