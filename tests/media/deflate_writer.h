// Writes deflate streams bit by bit for tests: block headers, fixed and dynamic codes, literals
// and matches, wrapped in a zlib header. Nothing here checks that the stream makes sense, so
// tests can write broken ones on purpose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Fields go lowest bit first, Huffman codes most significant bit first (RFC 1951, 3.1.1).
struct BitWriter {
    Bytes bytes;
    std::size_t bitCount = 0;
};

void writeBits(BitWriter& writer, std::uint32_t value, unsigned count);
void writeCode(BitWriter& writer, std::uint32_t code, unsigned length);
void alignToByte(BitWriter& writer);

// The canonical codes of a list of lengths (0 = no code). For an over-subscribed list the codes
// run past their length; writeCode then writes their low bits, as a careless encoder would.
std::vector<std::uint32_t> canonicalCodes(const std::vector<unsigned>& lengths);

// A Huffman code given by its lengths, with its codes.
struct Code {
    std::vector<unsigned> lengths;
    std::vector<std::uint32_t> codes;
};

Code makeCode(const std::vector<unsigned>& lengths);
// The fixed literal/length and distance codes of RFC 1951, 3.2.6.
Code fixedLiteralCode();
Code fixedDistanceCode();

void writeSymbol(BitWriter& writer, const Code& code, unsigned symbol);

// A length of 3 to 258 and a distance of 1 to 32768, as symbols with their extra bits.
void writeMatch(BitWriter& writer, const Code& literals, const Code& distances, unsigned length,
                unsigned distance);

void writeBlockHeader(BitWriter& writer, bool final, unsigned type);

// A stored block: header, alignment, LEN, NLEN and the bytes.
void writeStoredBlock(BitWriter& writer, bool final, const Bytes& bytes);

// One symbol of the code-length alphabet with its extra bits.
struct LengthSymbol {
    unsigned symbol;
    unsigned extra = 0;
};

// The rest of a dynamic block header after its three header bits: HLIT, HDIST, HCLEN = 19 and a
// complete code-length code (symbols 0 to 12 with 4 bits, 13 to 18 with 5), then the symbols.
void writeDynamicLengths(BitWriter& writer, unsigned literalCount, unsigned distanceCount,
                         const std::vector<LengthSymbol>& symbols);

// A dynamic block header giving the two codes' lengths as plain code-length symbols.
void writeDynamicHeader(BitWriter& writer, bool final, const std::vector<unsigned>& literalLengths,
                        const std::vector<unsigned>& distanceLengths);

// The zlib header 78 01, the writer's bytes and `tail` zero bytes where the Adler-32 would be.
Bytes zlibWrap(const BitWriter& writer, std::size_t tail = 4);
