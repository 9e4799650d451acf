#include "deflate_writer.h"

#include <algorithm>
#include <array>

void writeBits(BitWriter& writer, std::uint32_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        if (writer.bitCount % 8 == 0) {
            writer.bytes.push_back(0);
        }
        writer.bytes.back() |=
            static_cast<unsigned char>(((value >> i) & 1u) << (writer.bitCount % 8));
        ++writer.bitCount;
    }
}

void writeCode(BitWriter& writer, std::uint32_t code, unsigned length) {
    for (unsigned i = 0; i < length; ++i) {
        writeBits(writer, (code >> (length - 1 - i)) & 1u, 1);
    }
}

void alignToByte(BitWriter& writer) {
    writer.bitCount = writer.bytes.size() * 8;
}

std::vector<std::uint32_t> canonicalCodes(const std::vector<unsigned>& lengths) {
    std::array<std::uint32_t, 16> count{};
    for (const unsigned length : lengths) {
        if (length > 0) {
            ++count[length];
        }
    }
    std::array<std::uint32_t, 16> next{};
    std::uint32_t code = 0;
    for (unsigned bits = 1; bits < 16; ++bits) {
        code = (code + count[bits - 1]) << 1;
        next[bits] = code;
    }
    std::vector<std::uint32_t> codes(lengths.size(), 0);
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        if (lengths[i] > 0) {
            codes[i] = next[lengths[i]]++;
        }
    }
    return codes;
}

Code makeCode(const std::vector<unsigned>& lengths) {
    return Code{lengths, canonicalCodes(lengths)};
}

Code fixedLiteralCode() {
    std::vector<unsigned> lengths(288, 8);
    std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
    std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
    return makeCode(lengths);
}

Code fixedDistanceCode() {
    return makeCode(std::vector<unsigned>(32, 5));
}

void writeSymbol(BitWriter& writer, const Code& code, unsigned symbol) {
    writeCode(writer, code.codes.at(symbol), code.lengths.at(symbol));
}

void writeMatch(BitWriter& writer, const Code& literals, const Code& distances, unsigned length,
                unsigned distance) {
    static constexpr std::array<unsigned, 29> lengthBase = {
        3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
        31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr std::array<unsigned, 30> distanceBase = {
        1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    unsigned lengthSymbol = 28;
    while (lengthBase[lengthSymbol] > length) {
        --lengthSymbol;
    }
    const unsigned lengthExtra =
        lengthSymbol < 8 || lengthSymbol == 28 ? 0 : (lengthSymbol - 4) / 4;
    writeSymbol(writer, literals, 257 + lengthSymbol);
    writeBits(writer, length - lengthBase[lengthSymbol], lengthExtra);
    unsigned distanceSymbol = 29;
    while (distanceBase[distanceSymbol] > distance) {
        --distanceSymbol;
    }
    const unsigned distanceExtra = distanceSymbol < 4 ? 0 : (distanceSymbol - 2) / 2;
    writeSymbol(writer, distances, distanceSymbol);
    writeBits(writer, distance - distanceBase[distanceSymbol], distanceExtra);
}

void writeBlockHeader(BitWriter& writer, bool final, unsigned type) {
    writeBits(writer, final ? 1 : 0, 1);
    writeBits(writer, type, 2);
}

void writeStoredBlock(BitWriter& writer, bool final, const Bytes& bytes) {
    writeBlockHeader(writer, final, 0);
    alignToByte(writer);
    const auto length = static_cast<std::uint32_t>(bytes.size());
    writeBits(writer, length, 16);
    writeBits(writer, ~length & 0xFFFF, 16);
    for (const unsigned char byte : bytes) {
        writeBits(writer, byte, 8);
    }
}

namespace {

unsigned extraBitCount(unsigned symbol) {
    return symbol == 16 ? 2 : symbol == 17 ? 3 : symbol == 18 ? 7 : 0;
}

} // namespace

void writeDynamicLengths(BitWriter& writer, unsigned literalCount, unsigned distanceCount,
                         const std::vector<LengthSymbol>& symbols) {
    static constexpr std::array<unsigned, 19> order = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                       11, 4,  12, 3, 13, 2, 14, 1, 15};
    std::vector<unsigned> lengths(19, 4);
    std::fill(lengths.begin() + 13, lengths.end(), 5);
    const Code code = makeCode(lengths);
    writeBits(writer, literalCount - 257, 5);
    writeBits(writer, distanceCount - 1, 5);
    writeBits(writer, 19 - 4, 4);
    for (const unsigned symbol : order) {
        writeBits(writer, lengths[symbol], 3);
    }
    for (const LengthSymbol& entry : symbols) {
        writeSymbol(writer, code, entry.symbol);
        writeBits(writer, entry.extra, extraBitCount(entry.symbol));
    }
}

void writeDynamicHeader(BitWriter& writer, bool final, const std::vector<unsigned>& literalLengths,
                        const std::vector<unsigned>& distanceLengths) {
    writeBlockHeader(writer, final, 2);
    std::vector<LengthSymbol> symbols;
    for (const unsigned length : literalLengths) {
        symbols.push_back(LengthSymbol{length});
    }
    for (const unsigned length : distanceLengths) {
        symbols.push_back(LengthSymbol{length});
    }
    writeDynamicLengths(writer, static_cast<unsigned>(literalLengths.size()),
                        static_cast<unsigned>(distanceLengths.size()), symbols);
}

Bytes zlibWrap(const BitWriter& writer, std::size_t tail) {
    Bytes stream(2 + writer.bytes.size() + tail, 0);
    stream[0] = 0x78;
    stream[1] = 0x01;
    std::copy(writer.bytes.begin(), writer.bytes.end(), stream.begin() + 2);
    return stream;
}
