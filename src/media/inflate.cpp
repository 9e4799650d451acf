#include "media/inflate.h"

#include "media/deflate_format.h"
#include "media/inflate_tables.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// The order in which a dynamic header lists the lengths of the code-length code.

// --- Bit input -------------------------------------------------------------------------------

// The deflate data after the two zlib header bytes. `buffer` holds the next `count` bits, first
// bit lowest; bytes before `pos` are in it or used. Bits above `count` are either zero or the
// input's own next bits, so loading a byte again over them changes nothing.
struct BitInput {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
    std::uint64_t buffer = 0;
    unsigned count = 0;
};

std::uint64_t loadWord(const unsigned char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

std::size_t bitPosition(const BitInput& bits) {
    return bits.pos * 8 - bits.count;
}

std::size_t remainingBits(const BitInput& bits) {
    return (bits.size - bits.pos) * 8 + bits.count;
}

// Tops the buffer up byte by byte: afterwards it holds 56 to 63 bits, or all that is left.
void refillSlowly(BitInput& bits) {
    while (bits.count < 56 && bits.pos < bits.size) {
        bits.buffer |= std::uint64_t{bits.data[bits.pos]} << bits.count;
        ++bits.pos;
        bits.count += 8;
    }
}

void dropBits(BitInput& bits, unsigned count) {
    bits.buffer >>= count;
    bits.count -= count;
}

// Takes count (at most 32) bits that the caller knows to lie inside the input.
std::uint32_t takeBits(BitInput& bits, unsigned count) {
    refillSlowly(bits);
    const auto value = static_cast<std::uint32_t>(bits.buffer & ((std::uint64_t{1} << count) - 1));
    dropBits(bits, count);
    return value;
}

// --- Inflater state and output ---------------------------------------------------------------

// The tree a code's table is made from, with room for the largest alphabet.
struct CodeTreeSpace {
    std::array<std::uint32_t, 2 * 288> branches;
};

// `promisedSize` is the size the output would have now had it grown exactly by the growth rule
// below; only after an error is that size seen, and the output is then brought to it. Until
// then the vector's own size is just the room there is to write in.
struct Inflater {
    BitInput bits;
    std::vector<unsigned char>& out;
    std::size_t outPos = 0;
    std::size_t promisedSize = 0;
    std::size_t firstGuess = 0;
    // Bytes from outPos up to here may hold what an overrunning copy wrote past a match. They
    // all lie past the first guess, where the output would otherwise hold zeros.
    std::size_t overrunEnd = 0;
    unsigned error = 0;
    Tables& tables;
    const std::uint32_t* literalTable = nullptr;
    const std::uint32_t* distanceTable = nullptr;
};

// Codes of our own; the whole table of codes is in media/png.h.
constexpr unsigned errorDistanceBeforeStart = 80;
constexpr unsigned errorRepeatWithoutPrevious = 81;
constexpr unsigned errorLengthAboveMaximum = 82;

// The room the fast loop needs after the output position: the longest match and the 7 bytes an
// overrunning copy may write past it.
constexpr std::size_t fastOutputRoom = 258 + 7;

// The output grows to twice the needed end whenever that end reaches its size, so the caller
// sees the same sizes whichever path decoded the data. The vector itself grows when the bytes do
// not fit, or, once it is past the caller's first guess, when the fast loop runs short of room;
// a first guess of the exact size is thus never doubled at its last byte, and a small one takes
// few steps.
void growTo(Inflater& state, std::size_t end) {
    const std::size_t room = state.out.size();
    const bool early =
        end + fastOutputRoom >= room && (state.promisedSize > room || room > state.firstGuess);
    if (end > room || early) {
        state.out.resize(std::max(
            {state.promisedSize, 4 * state.bits.size, 2 * room, end + 2 * fastOutputRoom}));
    }
}

void growFor(Inflater& state, std::size_t end) {
    if (end >= state.promisedSize) {
        state.promisedSize = end * 2;
    }
    growTo(state, end);
}

template <std::size_t count> void copyBytes(unsigned char* to, const unsigned char* from) {
    std::array<unsigned char, count> bytes;
    std::memcpy(bytes.data(), from, count);
    std::memcpy(to, bytes.data(), count);
}

// Writes exactly `length` bytes at `to`, each the byte `distance` before it, a few bytes per
// store; pieces may overlap, writing a byte twice with the same value. With a distance of eight
// or more each piece read lies before the piece written, already final. A shorter distance
// repeats a pattern: eight bytes of it fit every position a whole number of patterns further on.
void copyMatchFast(unsigned char* to, unsigned length, unsigned distance) {
    const unsigned char* from = to - distance;
    if (distance >= 8) {
        if (length > 8) {
            unsigned i = 0;
            do {
                copyBytes<8>(to + i, from + i);
                i += 8;
            } while (i + 8 < length);
            copyBytes<8>(to + length - 8, from + length - 8);
        } else {
            // Lengths 3 to 8 without a branch: four two-byte pieces, the later ones moved back
            // to end inside the match.
            const unsigned last = length - 2;
            copyBytes<2>(to, from);
            copyBytes<2>(to + std::min(2u, last), from + std::min(2u, last));
            copyBytes<2>(to + std::min(4u, last), from + std::min(4u, last));
            copyBytes<2>(to + last, from + last);
        }
        return;
    }
    std::array<unsigned char, 8> pattern;
    for (unsigned k = 0; k < 8; ++k) {
        pattern[k] = k < distance ? from[k] : pattern[k - distance];
    }
    static constexpr std::array<unsigned char, 8> wholePatterns = {0, 8, 8, 6, 8, 5, 6, 7};
    const unsigned step = wholePatterns[distance];
    unsigned i = 0;
    for (; i + 8 <= length; i += step) {
        std::memcpy(to + i, pattern.data(), 8);
    }
    // The last 0 to 7 bytes, in pieces of 4, 2 and 1.
    unsigned k = 0;
    const unsigned rest = length - i;
    if ((rest & 4) != 0) {
        std::memcpy(to + i, pattern.data(), 4);
        k = 4;
    }
    if ((rest & 2) != 0) {
        std::memcpy(to + i + k, pattern.data() + k, 2);
        k += 2;
    }
    if ((rest & 1) != 0) {
        to[i + k] = pattern[k];
    }
}

// Like copyMatchFast, but in whole eight-byte pieces only, writing up to 7 bytes past the end of
// the match; for output whose bytes after the match are of no account yet.
void copyMatchOverrunning(unsigned char* to, unsigned length, unsigned distance) {
    const unsigned char* from = to - distance;
    if (distance >= 8) {
        unsigned i = 0;
        do {
            copyBytes<8>(to + i, from + i);
            i += 8;
        } while (i < length);
        return;
    }
    std::array<unsigned char, 8> pattern;
    for (unsigned k = 0; k < 8; ++k) {
        pattern[k] = k < distance ? from[k] : pattern[k - distance];
    }
    static constexpr std::array<unsigned char, 8> wholePatterns = {0, 8, 8, 6, 8, 5, 6, 7};
    const unsigned step = wholePatterns[distance];
    unsigned i = 0;
    do {
        std::memcpy(to + i, pattern.data(), 8);
        i += step;
    } while (i < length);
}

// Byte by byte, so a distance shorter than the length repeats its pattern; needs no room after.
void copyMatchCarefully(unsigned char* to, unsigned length, unsigned distance) {
    const unsigned char* from = to - distance;
    for (unsigned i = 0; i < length; ++i) {
        to[i] = from[i];
    }
}

// --- Decoding --------------------------------------------------------------------------------

// Decodes one code with every end-of-input check: error 10 when the input ends inside the code
// or right after a branch no code uses, 11 when such a branch is followed by more input.
bool decodeCarefully(Inflater& state, const std::uint32_t* table, unsigned tableBits,
                     std::uint32_t& entry) {
    BitInput& bits = state.bits;
    refillSlowly(bits);
    const std::size_t remaining = remainingBits(bits);
    entry = table[bits.buffer & ((1u << tableBits) - 1)];
    unsigned depth = entryCodeBits(entry);
    if (entryKind(entry) == kindLink) {
        const std::uint64_t rest = bits.buffer >> tableBits;
        entry = table[entryValue(entry) + (rest & ((1u << entryCodeBits(entry)) - 1))];
        depth = tableBits + entryCodeBits(entry);
    }
    const bool unused = entryKind(entry) == kindUnused;
    if (depth > remaining || (unused && depth == remaining)) {
        state.error = 10;
        return false;
    }
    if (unused) {
        state.error = 11;
        return false;
    }
    dropBits(bits, depth);
    return true;
}

// The check before a field of extra bits: none may be read once the input has ended, not even
// an empty field, and the field must not reach past the end.
bool requireBits(Inflater& state, unsigned count, unsigned error) {
    const std::size_t remaining = remainingBits(state.bits);
    if (remaining == 0 || remaining < count) {
        state.error = error;
        return false;
    }
    return true;
}

// Decodes one literal, match, end of block or passed-over symbol near the ends of the input or
// the output. Returns false when the block ends or an error stops it.
bool decodeSymbolCarefully(Inflater& state) {
    std::uint32_t entry = 0;
    if (!decodeCarefully(state, state.literalTable, literalTableBits, entry)) {
        return false;
    }
    const std::uint32_t kind = entryKind(entry);
    if (kind == kindLiteral) {
        growFor(state, state.outPos + 1);
        state.out[state.outPos] = static_cast<unsigned char>(entryValue(entry));
        ++state.outPos;
        return true;
    }
    if (kind != kindMatch) {
        return kind == kindPassOver;
    }
    if (!requireBits(state, entryExtra(entry), 51)) {
        return false;
    }
    const unsigned length = entryValue(entry) + takeBits(state.bits, entryExtra(entry));
    if (!decodeCarefully(state, state.distanceTable, distanceTableBits, entry)) {
        return false;
    }
    if (entryKind(entry) == kindBadDistance) {
        state.error = 18;
        return false;
    }
    if (!requireBits(state, entryExtra(entry), 51)) {
        return false;
    }
    const unsigned distance = entryValue(entry) + takeBits(state.bits, entryExtra(entry));
    growFor(state, state.outPos + length);
    if (distance > state.outPos) {
        state.error = errorDistanceBeforeStart;
        return false;
    }
    copyMatchCarefully(state.out.data() + state.outPos, length, distance);
    state.outPos += length;
    return true;
}

// The hot loop: while at least eight unread input bytes remain and the output has room for the
// longest match, a refill gives 56 bits or more, enough for a whole symbol with its distance
// (48 bits at most), so no end-of-input check is needed. The size the output would have grown
// to is kept up to date at the top of each round, for the symbol before.
// Returns false when the block ends or an error stops it, true when it is the careful path's turn.
bool decodeSymbolsFast(Inflater& state) {
    const unsigned char* const data = state.bits.data;
    const std::size_t size = state.bits.size;
    std::size_t pos = state.bits.pos;
    std::uint64_t buffer = state.bits.buffer;
    unsigned count = state.bits.count;
    unsigned char* const out = state.out.data();
    const std::size_t outSize = state.out.size();
    std::size_t outPos = state.outPos;
    const std::size_t startPos = outPos;
    // Past the first guess the bytes after a match may be written over before their turn.
    const bool overrun = startPos >= state.firstGuess;
    std::size_t promised = state.promisedSize;
    // Below this output position neither the room nor the promised size needs a look.
    const std::size_t roomLimit = outSize > fastOutputRoom ? outSize - fastOutputRoom : 0;
    std::size_t fastLimit = std::min(roomLimit, promised);
    const std::uint32_t* const literalTable = state.literalTable;
    const std::uint32_t* const distanceTable = state.distanceTable;
    constexpr std::uint64_t literalMask = (1u << literalTableBits) - 1;
    constexpr std::uint64_t distanceMask = (1u << distanceTableBits) - 1;
    bool goOn = true;
    if (pos + 8 > size) {
        return true;
    }
    // After a refill from a whole word, all 64 bits of the buffer are input bits, even above
    // `count`; a symbol with its distance takes at most 48, so the next symbol's first 10 bits
    // are there before the next refill and its entry can be looked up early.
    buffer |= loadWord(data + pos) << count;
    std::uint32_t entry = literalTable[buffer & literalMask];

    while (pos + 8 <= size) {
        if (outPos >= fastLimit) {
            // After each symbol's output promised > outPos, so this is the symbol before
            // reaching the promised size. A stored block may have left them equal, with no
            // symbol of this call written yet.
            if (outPos >= promised && outPos > startPos) {
                promised = outPos * 2;
            }
            if (outPos >= roomLimit) {
                break;
            }
            fastLimit = std::min(roomLimit, promised);
        }
        // Whole bytes only, so that pos and count keep the exact bit position. The bits an
        // early lookup used stay as they are.
        buffer |= loadWord(data + pos) << count;
        const unsigned loaded = (63 - count) >> 3;
        pos += loaded;
        count += loaded * 8;

        if (entryKind(entry) == kindLiteral) {
            buffer >>= entryTotalBits(entry);
            count -= entryTotalBits(entry);
            out[outPos++] = static_cast<unsigned char>(entryValue(entry));
            entry = literalTable[buffer & literalMask];
            // A second literal from the same refill (two take at most 20 of its 56 bits), when
            // the output needs no look before it.
            if (entryKind(entry) == kindLiteral && outPos < fastLimit) {
                buffer >>= entryTotalBits(entry);
                count -= entryTotalBits(entry);
                out[outPos++] = static_cast<unsigned char>(entryValue(entry));
                entry = literalTable[buffer & literalMask];
            }
            continue;
        }
        if (entryKind(entry) == kindLink) {
            buffer >>= literalTableBits;
            count -= literalTableBits;
            entry = literalTable[entryValue(entry) + (buffer & ((1u << entryCodeBits(entry)) - 1))];
        }
        std::uint32_t kind = entryKind(entry);
        if (kind != kindMatch) {
            buffer >>= entryTotalBits(entry);
            count -= entryTotalBits(entry);
            if (kind == kindLiteral) {
                out[outPos++] = static_cast<unsigned char>(entryValue(entry));
                entry = literalTable[buffer & literalMask];
                continue;
            }
            if (kind == kindPassOver) {
                entry = literalTable[buffer & literalMask];
                continue;
            }
            if (kind == kindUnused) {
                state.error = 11;
            }
            goOn = false;
            break;
        }
        // The code and its extra bits go in one shift.
        const unsigned length =
            entryValue(entry) +
            static_cast<unsigned>((buffer & ((std::uint64_t{1} << entryTotalBits(entry)) - 1)) >>
                                  entryCodeBits(entry));
        buffer >>= entryTotalBits(entry);
        count -= entryTotalBits(entry);

        entry = distanceTable[buffer & distanceMask];
        if (entryKind(entry) == kindLink) {
            buffer >>= distanceTableBits;
            count -= distanceTableBits;
            entry =
                distanceTable[entryValue(entry) + (buffer & ((1u << entryCodeBits(entry)) - 1))];
        }
        kind = entryKind(entry);
        if (kind != kindMatch) {
            state.error = kind == kindUnused ? 11 : 18;
            goOn = false;
            break;
        }
        const unsigned distance =
            entryValue(entry) +
            static_cast<unsigned>((buffer & ((std::uint64_t{1} << entryTotalBits(entry)) - 1)) >>
                                  entryCodeBits(entry));
        buffer >>= entryTotalBits(entry);
        count -= entryTotalBits(entry);
        if (distance > outPos) {
            // The output grows for the match before its distance is checked.
            if (outPos + length >= promised) {
                promised = (outPos + length) * 2;
            }
            state.error = errorDistanceBeforeStart;
            goOn = false;
            break;
        }
        entry = literalTable[buffer & literalMask];
        if (overrun) {
            copyMatchOverrunning(out + outPos, length, distance);
        } else {
            copyMatchFast(out + outPos, length, distance);
        }
        outPos += length;
    }

    if (outPos >= promised && outPos > startPos) {
        promised = outPos * 2;
    }
    state.bits.pos = pos;
    state.bits.buffer = buffer;
    state.bits.count = count;
    state.outPos = outPos;
    state.promisedSize = promised;
    if (overrun) {
        state.overrunEnd = std::max(state.overrunEnd, outPos + 7);
    }
    return goOn;
}

void inflateBlockBody(Inflater& state) {
    while (decodeSymbolsFast(state) && decodeSymbolCarefully(state)) {
    }
}

void inflateStoredBlock(Inflater& state) {
    BitInput& bits = state.bits;
    // Back to the byte after the header bits; the buffer starts afresh there.
    const std::size_t p = (bitPosition(bits) + 7) / 8;
    bits.pos = p;
    bits.buffer = 0;
    bits.count = 0;
    if (p + 4 >= bits.size) {
        state.error = 52;
        return;
    }
    const unsigned length = bits.data[p] | (bits.data[p + 1] << 8);
    const unsigned lengthComplement = bits.data[p + 2] | (bits.data[p + 3] << 8);
    if (length + lengthComplement != 65535) {
        state.error = 21;
        return;
    }
    if (state.outPos + length >= state.promisedSize) {
        state.promisedSize = state.outPos + length;
    }
    growTo(state, state.outPos + length);
    if (p + 4 + length > bits.size) {
        state.error = 23;
        return;
    }
    if (length > 0) {
        std::memcpy(state.out.data() + state.outPos, bits.data + p + 4, length);
    }
    state.outPos += length;
    bits.pos = p + 4 + length;
}

unsigned buildBranches(std::uint32_t* branches, const unsigned* lengths, std::size_t symbolCount,
                       unsigned maxLength);

// Builds the tree of the given lengths and the table made from it.
bool loadCode(Inflater& state, const unsigned* lengths, std::size_t symbolCount, unsigned maxLength,
              std::uint32_t* table, unsigned tableBits, Alphabet alphabet) {
    if (buildCompleteTable(table, tableBits, lengths, static_cast<std::uint32_t>(symbolCount),
                           maxLength, alphabet)) {
        return true;
    }
    CodeTreeSpace tree;
    state.error = buildBranches(tree.branches.data(), lengths, symbolCount, maxLength);
    if (state.error != 0) {
        return false;
    }
    buildTable(table, tableBits, tree.branches.data(), static_cast<std::uint32_t>(symbolCount),
               alphabet);
    return true;
}

// The fixed code's tables, the same for every stream; its codes are at most 9 bits, so the
// primary tables hold them all.
struct FixedTables {
    std::array<std::uint32_t, 1u << literalTableBits> literal;
    std::array<std::uint32_t, 1u << distanceTableBits> distance;
};

FixedTables makeFixedTables() {
    std::array<unsigned, 288> literalLengths;
    literalLengths.fill(8);
    std::fill(literalLengths.begin() + 144, literalLengths.begin() + 256, 9u);
    std::fill(literalLengths.begin() + 256, literalLengths.begin() + 280, 7u);
    std::array<unsigned, 32> distanceLengths;
    distanceLengths.fill(5);
    FixedTables tables;
    CodeTreeSpace tree;
    // Complete codes of lengths below 16: no error can come of them.
    buildBranches(tree.branches.data(), literalLengths.data(), literalLengths.size(), 15);
    buildTable(tables.literal.data(), literalTableBits, tree.branches.data(), literalLengths.size(),
               Alphabet::literalLength);
    buildBranches(tree.branches.data(), distanceLengths.data(), distanceLengths.size(), 15);
    buildTable(tables.distance.data(), distanceTableBits, tree.branches.data(),
               distanceLengths.size(), Alphabet::distance);
    return tables;
}

void inflateFixedBlock(Inflater& state) {
    static const FixedTables fixed = makeFixedTables();
    state.literalTable = fixed.literal.data();
    state.distanceTable = fixed.distance.data();
    inflateBlockBody(state);
}

// One symbol of the code-length code. With eight input bytes or more still unread, a word refill
// leaves more bits than any code takes, so only a branch no code uses can stop it.
bool decodeCodeLengthSymbol(Inflater& state, std::uint32_t& entry) {
    BitInput& bits = state.bits;
    if (bits.pos + 8 > bits.size) {
        return decodeCarefully(state, state.tables.codeLength.data(), codeLengthTableBits, entry);
    }
    bits.buffer |= loadWord(bits.data + bits.pos) << bits.count;
    const unsigned loaded = (63 - bits.count) >> 3;
    bits.pos += loaded;
    bits.count += loaded * 8;
    entry = state.tables.codeLength[bits.buffer & ((1u << codeLengthTableBits) - 1)];
    if (entryKind(entry) == kindUnused) {
        state.error = 11;
        return false;
    }
    dropBits(bits, entryCodeBits(entry));
    return true;
}

// Reads the literal/length and distance code lengths of a dynamic header with the code-length
// code. Entry i belongs to the literal/length list below literalCount, else to the distance list.
void readCodeLengths(Inflater& state, unsigned literalCount, unsigned distanceCount,
                     std::array<unsigned, 288>& literalLengths,
                     std::array<unsigned, 32>& distanceLengths) {
    const unsigned total = literalCount + distanceCount;
    auto lengthAt = [&](unsigned i) -> unsigned& {
        return i < literalCount ? literalLengths[i] : distanceLengths[i - literalCount];
    };
    unsigned i = 0;
    while (i < total) {
        std::uint32_t entry = 0;
        if (!decodeCodeLengthSymbol(state, entry)) {
            return;
        }
        const unsigned symbol = entryValue(entry);
        if (symbol <= 15) {
            lengthAt(i) = symbol;
            ++i;
            continue;
        }
        // Symbols 16, 17 and 18: 2, 3 or 7 extra bits.
        const unsigned extraBits = symbol == 16 ? 2 : symbol == 17 ? 3 : 7;
        if (!requireBits(state, extraBits, 50)) {
            return;
        }
        if (symbol == 16 && i == 0) {
            state.error = errorRepeatWithoutPrevious;
            return;
        }
        const unsigned repeat = (symbol == 18 ? 11 : 3) + takeBits(state.bits, extraBits);
        const unsigned value = symbol == 16 ? lengthAt(i - 1) : 0;
        if (i + repeat > total) {
            state.error = 13 + (symbol - 16);
            return;
        }
        for (unsigned k = 0; k < repeat; ++k) {
            lengthAt(i) = value;
            ++i;
        }
    }
}

void inflateDynamicBlock(Inflater& state) {
    BitInput& bits = state.bits;
    if (bitPosition(bits) / 8 + 2 >= bits.size) {
        state.error = 49;
        return;
    }
    const unsigned literalCount = takeBits(bits, 5) + 257;
    const unsigned distanceCount = takeBits(bits, 5) + 1;
    const unsigned codeLengthCount = takeBits(bits, 4) + 4;
    // The lengths of the code-length code still belong to the block header.
    if (remainingBits(bits) < codeLengthCount * 3) {
        state.error = 49;
        return;
    }
    std::array<unsigned, 19> codeLengthLengths{};
    for (unsigned k = 0; k < codeLengthCount; ++k) {
        codeLengthLengths[codeLengthOrder[k]] = takeBits(bits, 3);
    }
    if (!loadCode(state, codeLengthLengths.data(), codeLengthLengths.size(), 7,
                  state.tables.codeLength.data(), codeLengthTableBits, Alphabet::codeLength)) {
        return;
    }

    std::array<unsigned, 288> literalLengths{};
    std::array<unsigned, 32> distanceLengths{};
    readCodeLengths(state, literalCount, distanceCount, literalLengths, distanceLengths);
    if (state.error != 0) {
        return;
    }
    if (literalLengths[256] == 0) {
        state.error = 64;
        return;
    }
    state.literalTable = state.tables.literal.data();
    state.distanceTable = state.tables.distance.data();
    if (loadCode(state, literalLengths.data(), literalLengths.size(), 15,
                 state.tables.literal.data(), literalTableBits, Alphabet::literalLength) &&
        loadCode(state, distanceLengths.data(), distanceLengths.size(), 15,
                 state.tables.distance.data(), distanceTableBits, Alphabet::distance)) {
        inflateBlockBody(state);
    }
}

void inflateBlocks(Inflater& state) {
    bool finalBlock = false;
    while (!finalBlock) {
        // The three header bits must lie inside the input, also in its last byte.
        if (remainingBits(state.bits) < 3) {
            state.error = 52;
            return;
        }
        finalBlock = takeBits(state.bits, 1) != 0;
        const unsigned blockType = takeBits(state.bits, 2);
        if (blockType == 0) {
            inflateStoredBlock(state);
        } else if (blockType == 1) {
            inflateFixedBlock(state);
        } else if (blockType == 2) {
            inflateDynamicBlock(state);
        } else {
            state.error = 20;
        }
        if (state.error != 0) {
            return;
        }
    }
}

unsigned buildBranches(std::uint32_t* branches, const unsigned* lengths, std::size_t symbolCount,
                       unsigned maxLength) {
    // Symbol numbers must stay apart from the unused-branch mark, and lengths fit the counts.
    if (maxLength > 15 || symbolCount >= unusedBranch) {
        return errorLengthAboveMaximum;
    }
    std::array<std::uint32_t, 16> lengthCount{};
    for (std::size_t symbol = 0; symbol < symbolCount; ++symbol) {
        const unsigned length = lengths[symbol];
        if (length > maxLength) {
            return errorLengthAboveMaximum;
        }
        if (length > 0) {
            ++lengthCount[length];
        }
    }
    std::array<std::uint32_t, 16> nextCode{};
    std::uint32_t code = 0;
    for (unsigned bits = 1; bits <= maxLength; ++bits) {
        code = (code + lengthCount[bits - 1]) << 1;
        nextCode[bits] = code;
    }

    std::fill_n(branches, 2 * symbolCount, unusedBranch);
    std::uint32_t nextFreeNode = 1;
    for (std::size_t symbol = 0; symbol < symbolCount; ++symbol) {
        const unsigned length = lengths[symbol];
        if (length == 0) {
            continue;
        }
        const std::uint32_t symbolCode = nextCode[length]++;
        // An over-subscribed code can lead through a leaf; (leaf - N) then wraps to a huge node
        // number, which the check on the next bit refuses.
        std::uint32_t node = 0;
        for (unsigned i = 0; i < length; ++i) {
            if (static_cast<std::int64_t>(node) > static_cast<std::int64_t>(symbolCount) - 2) {
                return 55;
            }
            const std::uint32_t bit = (symbolCode >> (length - 1 - i)) & 1u;
            std::uint32_t& branch = branches[2 * node + bit];
            if (branch == unusedBranch) {
                if (i + 1 == length) {
                    branch = static_cast<std::uint32_t>(symbol);
                    node = 0;
                } else {
                    branch = nextFreeNode + static_cast<std::uint32_t>(symbolCount);
                    node = nextFreeNode;
                    ++nextFreeNode;
                }
            } else {
                node = branch - static_cast<std::uint32_t>(symbolCount);
            }
        }
    }
    return 0;
}

} // namespace

unsigned buildCodeTree(CodeTree& tree, const std::vector<unsigned>& lengths, unsigned maxLength) {
    // The size checks come before any room is made for the branches.
    if (maxLength > 15 || lengths.size() >= unusedBranch) {
        return errorLengthAboveMaximum;
    }
    tree.branches.assign(2 * lengths.size(), unusedBranch);
    return buildBranches(tree.branches.data(), lengths.data(), lengths.size(), maxLength);
}

unsigned inflateZlibStream(std::vector<unsigned char>& out, const std::vector<unsigned char>& in) {
    if (in.size() < 2) {
        return 53;
    }
    if ((in[0] * 256u + in[1]) % 31 != 0) {
        return 24;
    }
    if ((in[0] & 15) != 8 || (in[0] >> 4) > 7) {
        return 25;
    }
    if ((in[1] & 0x20) != 0) {
        return 26;
    }
    // The dynamic codes' tables fill only what each code uses; a stream of fixed and stored
    // blocks leaves them untouched.
    Tables tables;
    Inflater state{BitInput{in.data() + 2, in.size() - 2, 0, 0, 0},
                   out,
                   0,
                   out.size(),
                   out.size(),
                   0,
                   0,
                   tables,
                   nullptr,
                   nullptr};
    inflateBlocks(state);
    if (state.error == 0) {
        out.resize(state.outPos);
    } else {
        if (state.overrunEnd > state.outPos) {
            std::fill(out.begin() + static_cast<std::ptrdiff_t>(state.outPos),
                      out.begin() +
                          static_cast<std::ptrdiff_t>(std::min(state.overrunEnd, out.size())),
                      0);
        }
        out.resize(state.promisedSize);
    }
    return state.error;
}
