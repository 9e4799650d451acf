// The lookup tables the inflate decoder (media/inflate.cpp) decodes Huffman codes with, made from
// the code lengths or the code trees of media/inflate.h.
#pragma once

#include "media/inflate.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Each code is decoded by one lookup of its first tableBits bits (two for longer codes: the
// first entry then links to a sub-table indexed by the following bits). The tables of complete
// codes are made straight from the lengths; all others from the CodeTree, so every quirk of the
// tree (codes an over-subscribed set drops, branches no code uses) decodes exactly as a walk of
// the tree would.
//
// An entry: bits 0-7 the bits the fast loop takes for it (the code's bits within its table plus
// a length's or distance's extra bits), bits 8-11 the code's bits within its table (a link's
// sub-table bits), bits 12-15 the kind, bits 16-31 the value (literal byte, length or distance
// base, code-length symbol, or a link's sub-table start).
constexpr std::uint32_t kindLiteral = 0;     // a byte to write, or a code-length symbol
constexpr std::uint32_t kindMatch = 1;       // a length or distance: base and extra bits
constexpr std::uint32_t kindEndOfBlock = 2;  // symbol 256
constexpr std::uint32_t kindPassOver = 3;    // symbols 286 and 287, which mean nothing
constexpr std::uint32_t kindBadDistance = 4; // distance symbols 30 and 31
constexpr std::uint32_t kindLink = 5;        // the code goes on in a sub-table
constexpr std::uint32_t kindUnused = 6;      // a branch that no code uses

constexpr unsigned literalTableBits = 10;
constexpr unsigned distanceTableBits = 8;
constexpr unsigned codeLengthTableBits = 7;

// A primary table plus one sub-table of at most 2^(15 - bits) entries per internal node of the
// code (at most N - 1 of them).
constexpr std::size_t literalTableSize =
    (1u << literalTableBits) + 287 * (1u << (15 - literalTableBits));
constexpr std::size_t distanceTableSize =
    (1u << distanceTableBits) + 31 * (1u << (15 - distanceTableBits));
constexpr std::size_t codeLengthTableSize = 1u << codeLengthTableBits;

// What a leaf means depends on the alphabet its table decodes.
enum class Alphabet { literalLength, distance, codeLength };

struct Tables {
    std::array<std::uint32_t, literalTableSize> literal;
    std::array<std::uint32_t, distanceTableSize> distance;
    std::array<std::uint32_t, codeLengthTableSize> codeLength;
};

constexpr std::uint32_t makeEntry(std::uint32_t kind, std::uint32_t value, unsigned extra,
                                  unsigned codeBits) {
    return value << 16 | kind << 12 | codeBits << 8 | (codeBits + extra);
}

constexpr std::uint32_t makeLink(std::uint32_t subTableStart, unsigned subTableBits,
                                 unsigned tableBits) {
    return subTableStart << 16 | kindLink << 12 | subTableBits << 8 | tableBits;
}

constexpr unsigned entryTotalBits(std::uint32_t entry) {
    return entry & 0xFF;
}
constexpr unsigned entryCodeBits(std::uint32_t entry) {
    return (entry >> 8) & 0xF;
}
constexpr unsigned entryExtra(std::uint32_t entry) {
    return entryTotalBits(entry) - entryCodeBits(entry);
}
constexpr std::uint32_t entryKind(std::uint32_t entry) {
    return (entry >> 12) & 0xF;
}
constexpr std::uint32_t entryValue(std::uint32_t entry) {
    return entry >> 16;
}

// The same tables straight from the lengths, for the common case of a complete code (every
// branch leads to a symbol): its tree then holds nothing unexpected. Returns false, touching
// nothing, for any other list of lengths (or one with a length above maxLength), which must go
// through the tree.
bool buildCompleteTable(std::uint32_t* entries, unsigned tableBits, const unsigned* lengths,
                        std::uint32_t symbolCount, unsigned maxLength, Alphabet alphabet);

// Fills `entries` (room for one table of the alphabet's size) with the primary table of
// 2^tableBits entries for the tree of `symbolCount` symbols whose branches are laid out as in
// CodeTree, followed by the sub-tables its longer codes need.
void buildTable(std::uint32_t* entries, unsigned tableBits, const std::uint32_t* branches,
                std::uint32_t symbolCount, Alphabet alphabet);
