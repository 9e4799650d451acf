// The game's own zlib decompressor (RFC 1950 wrapper around RFC 1951 deflate data). Its one
// caller is the PNG decoder, which hands it the joined IDAT data of an image. Whole buffers in
// one call: no streaming, no output limit. The error codes are listed, together with the PNG
// decoder's, in the one table of media/png.h.
#pragma once

#include <cstdint>
#include <vector>

// Marks a branch of a CodeTree that no code uses.
constexpr std::uint32_t unusedBranch = 32767;

// A canonical Huffman code as a binary tree of N symbols. Entry 2 * node + bit is the branch
// taken from that node on that bit: a value below N is a leaf (the decoded symbol), a value of N
// or more leads to internal node (value - N), unusedBranch marks a branch no code uses. Node 0 is
// the root.
struct CodeTree {
    std::vector<std::uint32_t> branches;
};

// Builds the tree of the canonical code given by one length per symbol (0 = no code), each at
// most maxLength (at most 15). Returns 0, or 55 when the code needs more nodes than the tree
// holds. An incomplete code leaves unused branches, which decoding reports as error 11.
unsigned buildCodeTree(CodeTree& tree, const std::vector<unsigned>& lengths, unsigned maxLength);

// Decompresses the zlib stream `in` (its two header bytes included) into `out`. Whatever size
// `out` comes with serves only as the first guess of the output size; on success its size is
// exactly the number of bytes produced, after an error its size and contents are unspecified.
// The Adler-32 trailer is never read; bytes after the final block are ignored. Returns 0 or an
// error code.
unsigned inflateZlibStream(std::vector<unsigned char>& out, const std::vector<unsigned char>& in);
