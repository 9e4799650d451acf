// The game's first inflate decoder, kept as the reference for the fast one in media/inflate.cpp:
// it walks a binary tree one bit at a time, which makes every end-of-input and bad-code case easy
// to follow. The differential tests and the differential fuzzer hold the two to the same output,
// output size and error code for every input.
#include "reference_inflate.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

// Marks a branch of a ReferenceTree that no code uses.
constexpr std::uint32_t referenceUnusedBranch = 32767;

// A canonical Huffman code as a binary tree of N symbols. Entry 2 * node + bit is the branch
// taken from that node on that bit: a value below N is a leaf (the decoded symbol), a value of N
// or more leads to internal node (value - N), referenceUnusedBranch marks a branch no code uses.
struct ReferenceTree {
    std::vector<std::uint32_t> branches;
};

unsigned buildReferenceTree(ReferenceTree& tree, const std::vector<unsigned>& lengths,
                            unsigned maxLength);

// The deflate data after the two zlib header bytes, read bit by bit, lowest bit of each byte first.
struct BitReader {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t bitPos = 0;
};

struct Inflater {
    BitReader bits;
    std::vector<unsigned char>& out;
    std::size_t outPos = 0;
    unsigned error = 0;
    ReferenceTree literalTree;
    ReferenceTree distanceTree;
    ReferenceTree codeLengthTree;
};

// Codes of our own; the whole table of codes is in media/png.h.
constexpr unsigned errorDistanceBeforeStart = 80;
constexpr unsigned errorRepeatWithoutPrevious = 81;
constexpr unsigned errorLengthAboveMaximum = 82;

constexpr std::array<unsigned, 29> lengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                 15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<unsigned, 29> lengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<unsigned, 30> distanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<unsigned, 30> distanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                    4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                    9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic header lists the lengths of the code-length code.
constexpr std::array<unsigned, 19> codeLengthOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                      11, 4,  12, 3, 13, 2, 14, 1, 15};

std::size_t bytePosition(const BitReader& reader) {
    return reader.bitPos / 8;
}

bool bitsLeft(const BitReader& reader, unsigned count) {
    return reader.bitPos + count <= reader.size * 8;
}

// Reads count bits, the first one read being the lowest of the value. The caller has made sure
// they lie inside the input.
std::uint32_t readBits(BitReader& reader, unsigned count) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i) {
        const std::uint32_t bit = (reader.data[reader.bitPos / 8] >> (reader.bitPos % 8)) & 1u;
        value |= bit << i;
        ++reader.bitPos;
    }
    return value;
}

// The check before a field of extra bits: none may be read once the byte position has reached
// the end, and the field's last bits must not lie beyond it either.
bool requireBits(Inflater& state, unsigned count, unsigned error) {
    if (bytePosition(state.bits) >= state.bits.size || !bitsLeft(state.bits, count)) {
        state.error = error;
        return false;
    }
    return true;
}

unsigned decodeSymbol(Inflater& state, const ReferenceTree& tree) {
    const std::size_t symbolCount = tree.branches.size() / 2;
    std::size_t node = 0;
    for (;;) {
        if (bytePosition(state.bits) >= state.bits.size) {
            state.error = 10;
            return 0;
        }
        if (node >= symbolCount) {
            state.error = 11;
            return 0;
        }
        const std::uint32_t branch = tree.branches[2 * node + readBits(state.bits, 1)];
        if (branch < symbolCount) {
            return branch;
        }
        node = branch - symbolCount;
    }
}

void growFor(std::vector<unsigned char>& out, std::size_t end) {
    if (end >= out.size()) {
        out.resize(end * 2);
    }
}

void copyMatch(Inflater& state, unsigned length, unsigned distance) {
    growFor(state.out, state.outPos + length);
    if (distance > state.outPos) {
        state.error = errorDistanceBeforeStart;
        return;
    }
    // Byte by byte, so a distance shorter than the length repeats its pattern.
    for (unsigned i = 0; i < length; ++i) {
        state.out[state.outPos] = state.out[state.outPos - distance];
        ++state.outPos;
    }
}

void decodeLengthAndDistance(Inflater& state, unsigned symbol) {
    const unsigned index = symbol - 257;
    if (!requireBits(state, lengthExtra[index], 51)) {
        return;
    }
    const unsigned length = lengthBase[index] + readBits(state.bits, lengthExtra[index]);
    const unsigned distanceSymbol = decodeSymbol(state, state.distanceTree);
    if (state.error != 0) {
        return;
    }
    if (distanceSymbol > 29) {
        state.error = 18;
        return;
    }
    if (!requireBits(state, distanceExtra[distanceSymbol], 51)) {
        return;
    }
    const unsigned distance =
        distanceBase[distanceSymbol] + readBits(state.bits, distanceExtra[distanceSymbol]);
    copyMatch(state, length, distance);
}

void inflateBlockBody(Inflater& state) {
    for (;;) {
        const unsigned symbol = decodeSymbol(state, state.literalTree);
        if (state.error != 0 || symbol == 256) {
            return;
        }
        if (symbol < 256) {
            growFor(state.out, state.outPos + 1);
            state.out[state.outPos] = static_cast<unsigned char>(symbol);
            ++state.outPos;
        } else if (symbol <= 285) {
            decodeLengthAndDistance(state, symbol);
            if (state.error != 0) {
                return;
            }
        }
        // 286 and 287 have codes in a fixed block but mean nothing: they are passed over.
    }
}

void inflateStoredBlock(Inflater& state) {
    BitReader& bits = state.bits;
    bits.bitPos = (bits.bitPos + 7) / 8 * 8;
    const std::size_t p = bytePosition(bits);
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
    if (state.outPos + length >= state.out.size()) {
        state.out.resize(state.outPos + length);
    }
    if (p + 4 + length > bits.size) {
        state.error = 23;
        return;
    }
    for (unsigned i = 0; i < length; ++i) {
        state.out[state.outPos + i] = bits.data[p + 4 + i];
    }
    state.outPos += length;
    bits.bitPos = (p + 4 + length) * 8;
}

void inflateFixedBlock(Inflater& state) {
    std::vector<unsigned> literalLengths(288, 8);
    for (unsigned symbol = 144; symbol < 256; ++symbol) {
        literalLengths[symbol] = 9;
    }
    for (unsigned symbol = 256; symbol < 280; ++symbol) {
        literalLengths[symbol] = 7;
    }
    const std::vector<unsigned> distanceLengths(32, 5);
    state.error = buildReferenceTree(state.literalTree, literalLengths, 15);
    if (state.error == 0) {
        state.error = buildReferenceTree(state.distanceTree, distanceLengths, 15);
    }
    if (state.error == 0) {
        inflateBlockBody(state);
    }
}

// Reads the literal/length and distance code lengths of a dynamic header with the code-length
// tree. Entry i belongs to the literal/length list below literalCount, else to the distance list.
void readCodeLengths(Inflater& state, unsigned literalCount, unsigned distanceCount,
                     std::vector<unsigned>& literalLengths,
                     std::vector<unsigned>& distanceLengths) {
    const unsigned total = literalCount + distanceCount;
    auto lengthAt = [&](unsigned i) -> unsigned& {
        return i < literalCount ? literalLengths[i] : distanceLengths[i - literalCount];
    };
    unsigned i = 0;
    while (i < total) {
        const unsigned symbol = decodeSymbol(state, state.codeLengthTree);
        if (state.error != 0) {
            return;
        }
        if (symbol <= 15) {
            lengthAt(i) = symbol;
            ++i;
            continue;
        }
        unsigned repeat = 0;
        unsigned value = 0;
        unsigned overrunError = 0;
        if (symbol == 16) {
            if (!requireBits(state, 2, 50)) {
                return;
            }
            if (i == 0) {
                state.error = errorRepeatWithoutPrevious;
                return;
            }
            repeat = 3 + readBits(state.bits, 2);
            value = lengthAt(i - 1);
            overrunError = 13;
        } else if (symbol == 17) {
            if (!requireBits(state, 3, 50)) {
                return;
            }
            repeat = 3 + readBits(state.bits, 3);
            overrunError = 14;
        } else if (symbol == 18) {
            if (!requireBits(state, 7, 50)) {
                return;
            }
            repeat = 11 + readBits(state.bits, 7);
            overrunError = 15;
        } else {
            state.error = 16;
            return;
        }
        if (i + repeat > total) {
            state.error = overrunError;
            return;
        }
        for (unsigned k = 0; k < repeat; ++k) {
            lengthAt(i) = value;
            ++i;
        }
    }
}

void inflateDynamicBlock(Inflater& state) {
    BitReader& bits = state.bits;
    if (bytePosition(bits) + 2 >= bits.size) {
        state.error = 49;
        return;
    }
    const unsigned literalCount = readBits(bits, 5) + 257;
    const unsigned distanceCount = readBits(bits, 5) + 1;
    const unsigned codeLengthCount = readBits(bits, 4) + 4;
    // The lengths of the code-length code still belong to the block header.
    if (!bitsLeft(bits, codeLengthCount * 3)) {
        state.error = 49;
        return;
    }
    std::vector<unsigned> codeLengthLengths(19, 0);
    for (unsigned k = 0; k < codeLengthCount; ++k) {
        codeLengthLengths[codeLengthOrder[k]] = readBits(bits, 3);
    }
    state.error = buildReferenceTree(state.codeLengthTree, codeLengthLengths, 7);
    if (state.error != 0) {
        return;
    }

    std::vector<unsigned> literalLengths(288, 0);
    std::vector<unsigned> distanceLengths(32, 0);
    readCodeLengths(state, literalCount, distanceCount, literalLengths, distanceLengths);
    if (state.error != 0) {
        return;
    }
    if (literalLengths[256] == 0) {
        state.error = 64;
        return;
    }
    state.error = buildReferenceTree(state.literalTree, literalLengths, 15);
    if (state.error == 0) {
        state.error = buildReferenceTree(state.distanceTree, distanceLengths, 15);
    }
    if (state.error == 0) {
        inflateBlockBody(state);
    }
}

void inflateBlocks(Inflater& state) {
    bool finalBlock = false;
    while (!finalBlock) {
        // The three header bits must lie inside the input, also in its last byte.
        if (bytePosition(state.bits) >= state.bits.size || !bitsLeft(state.bits, 3)) {
            state.error = 52;
            return;
        }
        finalBlock = readBits(state.bits, 1) != 0;
        const unsigned blockType = readBits(state.bits, 2);
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
    state.out.resize(state.outPos);
}

unsigned buildReferenceTree(ReferenceTree& tree, const std::vector<unsigned>& lengths,
                            unsigned maxLength) {
    const std::size_t symbolCount = lengths.size();
    // Symbol numbers must stay apart from the unused-branch mark, and lengths fit the counts.
    if (maxLength > 15 || symbolCount >= referenceUnusedBranch) {
        return errorLengthAboveMaximum;
    }
    std::array<std::uint32_t, 16> lengthCount{};
    for (const unsigned length : lengths) {
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

    tree.branches.assign(2 * symbolCount, referenceUnusedBranch);
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
            std::uint32_t& branch = tree.branches[2 * node + bit];
            if (branch == referenceUnusedBranch) {
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

unsigned inflateReference(std::vector<unsigned char>& out, const std::vector<unsigned char>& in) {
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
    Inflater state{BitReader{in.data() + 2, in.size() - 2, 0}, out, 0, 0, {}, {}, {}};
    inflateBlocks(state);
    return state.error;
}
