// The table-driven inflate decoder against the bit-at-a-time reference: the same error code, the
// same output size and the same bytes in `out`, after an error too, for crafted streams of every
// block type and error, for every cut of several streams and for many damaged streams.
#include "deflate_writer.h"
#include "media/inflate.h"
#include "reference_inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

struct Outcome {
    unsigned error;
    Bytes out;
};

// Both decoders start from the same first guess filled with a marker, so any byte one of them
// writes and the other does not shows up.
::testing::AssertionResult sameAsReference(const Bytes& stream, std::size_t guess) {
    Outcome fast{0, Bytes(guess, 0xEE)};
    Outcome reference{0, Bytes(guess, 0xEE)};
    fast.error = inflateZlibStream(fast.out, stream);
    reference.error = inflateReference(reference.out, stream);
    if (fast.error != reference.error) {
        return ::testing::AssertionFailure()
               << "error " << fast.error << ", reference " << reference.error;
    }
    if (fast.out.size() != reference.out.size()) {
        return ::testing::AssertionFailure()
               << "size " << fast.out.size() << ", reference " << reference.out.size();
    }
    const auto mismatch = std::mismatch(fast.out.begin(), fast.out.end(), reference.out.begin());
    if (mismatch.first != fast.out.end()) {
        return ::testing::AssertionFailure()
               << "first different byte at " << (mismatch.first - fast.out.begin());
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult sameForEveryGuess(const Bytes& stream) {
    for (const std::size_t guess : {std::size_t{0}, std::size_t{1}, std::size_t{300}}) {
        ::testing::AssertionResult result = sameAsReference(stream, guess);
        if (!result) {
            return result << " (first guess " << guess << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

Bytes randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(count);
    for (unsigned char& byte : bytes) {
        byte = static_cast<unsigned char>(random());
    }
    return bytes;
}

// Short words over a small alphabet: matches of every length at near and far distances.
Bytes wordyBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes;
    while (bytes.size() < count) {
        const unsigned kind = random() % 4;
        if (kind == 0 && bytes.size() > 300) {
            const std::size_t from =
                bytes.size() - 1 - random() % std::min<std::size_t>(bytes.size() - 1, 32767);
            const std::size_t run = 3 + random() % 300;
            for (std::size_t i = 0; i < run; ++i) {
                bytes.push_back(bytes[from + i]);
            }
        } else if (kind == 1) {
            bytes.insert(bytes.end(), 1 + random() % 40, static_cast<unsigned char>(random()));
        } else {
            bytes.push_back(static_cast<unsigned char>('a' + random() % (kind == 2 ? 4 : 26)));
        }
    }
    bytes.resize(count);
    return bytes;
}

Bytes zlibCompress(const Bytes& data, int level, int strategy) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, 15, 8, strategy), Z_OK);
    Bytes out(deflateBound(&stream, data.size()));
    stream.next_in = const_cast<unsigned char*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// Pads a fixed block with 9-bit literals until the bits written so far plus `following` end on
// a byte boundary, so that a stream cut there ends right after the next field.
void padToByteEnd(BitWriter& writer, const Code& literals, unsigned following) {
    while ((writer.bitCount + following) % 8 != 0) {
        writeSymbol(writer, literals, 200);
    }
}

// Bytes up to the last whole byte the writer has written.
Bytes cutAtWriter(const BitWriter& writer) {
    Bytes stream = zlibWrap(writer, 0);
    stream.resize(2 + writer.bitCount / 8);
    return stream;
}

struct CraftedCase {
    std::string name;
    Bytes stream;
    unsigned referenceError;
};

// A final dynamic block with the given lengths and body; the body writer gets both codes.
template <typename Body>
Bytes dynamicBlock(const std::vector<unsigned>& literalLengths,
                   const std::vector<unsigned>& distanceLengths, Body body, std::size_t tail = 4) {
    BitWriter writer;
    writeDynamicHeader(writer, true, literalLengths, distanceLengths);
    body(writer, makeCode(literalLengths), makeCode(distanceLengths));
    return zlibWrap(writer, tail);
}

std::vector<unsigned> literalLengthsWith(std::initializer_list<std::pair<unsigned, unsigned>> set,
                                         std::size_t count = 257) {
    std::vector<unsigned> lengths(count, 0);
    for (const auto& [symbol, length] : set) {
        lengths.at(symbol) = length;
    }
    return lengths;
}

// Lengths 1, 2, ..., 14, 15, 15 for the given symbols: a complete code down to 15 bits.
std::vector<unsigned> deepLengths(std::size_t count, const std::vector<unsigned>& symbols) {
    std::vector<unsigned> lengths(count, 0);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        lengths.at(symbols[i]) = static_cast<unsigned>(std::min<std::size_t>(i + 1, 15));
    }
    return lengths;
}

std::vector<CraftedCase> storedAndFixedCases() {
    const Code fixed = fixedLiteralCode();
    const Code fixedDistance = fixedDistanceCode();
    std::vector<CraftedCase> cases;
    {
        BitWriter writer;
        writeStoredBlock(writer, true, {});
        cases.push_back({"stored, empty", zlibWrap(writer), 0});
        cases.push_back({"stored, empty, LEN and NLEN the last bytes", zlibWrap(writer, 0), 52});
    }
    {
        BitWriter writer;
        writeStoredBlock(writer, false, randomBytes(65535, 1));
        writeStoredBlock(writer, false, randomBytes(1, 2));
        writeBlockHeader(writer, true, 1);
        writeMatch(writer, fixed, fixedDistance, 258, 32768);
        writeMatch(writer, fixed, fixedDistance, 3, 1);
        writeSymbol(writer, fixed, 256);
        cases.push_back({"stored blocks then fixed", zlibWrap(writer), 0});
    }
    {
        // Every literal, every length at several distances, the farthest distance and the
        // passed-over symbols 286 and 287.
        BitWriter writer;
        writeStoredBlock(writer, false, randomBytes(32768, 3));
        writeBlockHeader(writer, true, 1);
        for (unsigned symbol = 0; symbol < 256; ++symbol) {
            writeSymbol(writer, fixed, symbol);
        }
        for (unsigned length = 3; length <= 258; ++length) {
            for (const unsigned distance : {1u, 2u, 3u, 4u, 5u, 7u, 8u, 9u, 16u, 17u, 258u, 259u,
                                            1000u, 24577u, 32767u, 32768u}) {
                writeMatch(writer, fixed, fixedDistance, length, distance);
            }
            writeSymbol(writer, fixed, 286 + length % 2);
        }
        writeSymbol(writer, fixed, 256);
        cases.push_back({"fixed: every literal and length", zlibWrap(writer), 0});
    }
    for (const unsigned written : {32767u, 32768u}) {
        BitWriter writer;
        writeStoredBlock(writer, false, randomBytes(written, 4));
        writeBlockHeader(writer, true, 1);
        writeMatch(writer, fixed, fixedDistance, 258, 32768);
        writeSymbol(writer, fixed, 256);
        cases.push_back({"distance 32768 after " + std::to_string(written) + " bytes",
                         zlibWrap(writer), written == 32768 ? 0u : 80u});
    }
    {
        // A stored block that ends exactly at the first guess of 300 bytes leaves the output at
        // that size; the next byte written doubles it from there, a far match before it too.
        for (const bool farMatch : {false, true}) {
            BitWriter writer;
            writeStoredBlock(writer, false, randomBytes(300, 7));
            writeBlockHeader(writer, true, 1);
            if (farMatch) {
                writeMatch(writer, fixed, fixedDistance, 258, 32768);
            }
            for (int i = 0; i < 20; ++i) {
                writeSymbol(writer, fixed, 'a' + i);
            }
            writeMatch(writer, fixed, fixedDistance, 258, 10);
            writeSymbol(writer, fixed, 256);
            cases.push_back({farMatch ? "stored to the guess, far match" : "stored to the guess",
                             zlibWrap(writer), farMatch ? 80u : 0u});
        }
    }
    for (const unsigned symbol : {30u, 31u}) {
        BitWriter writer;
        writeBlockHeader(writer, true, 1);
        writeSymbol(writer, fixed, 'x');
        writeSymbol(writer, fixed, 260);
        writeSymbol(writer, fixedDistance, symbol);
        writeSymbol(writer, fixed, 256);
        cases.push_back({"fixed distance symbol " + std::to_string(symbol), zlibWrap(writer), 18});
    }
    {
        BitWriter writer;
        writeBlockHeader(writer, true, 3);
        cases.push_back({"block type 3", zlibWrap(writer), 20});
    }
    {
        BitWriter writer;
        writeStoredBlock(writer, true, {1, 2, 3});
        writer.bytes[3] ^= 1;
        cases.push_back({"stored NLEN wrong", zlibWrap(writer), 21});
    }
    {
        BitWriter writer;
        writeStoredBlock(writer, true, randomBytes(100, 5));
        Bytes stream = zlibWrap(writer, 0);
        stream.resize(stream.size() - 1);
        cases.push_back({"stored bytes one short", stream, 23});
    }
    // The input ending right where a field of extra bits would start, also an empty one, and
    // right after a code: the reference refuses an empty field at the very end.
    for (const unsigned lengthSymbol : {257u, 265u, 285u}) {
        BitWriter writer;
        writeBlockHeader(writer, true, 1);
        writeSymbol(writer, fixed, 'a');
        padToByteEnd(writer, fixed, 7 + (lengthSymbol == 285 ? 1 : 0));
        writeSymbol(writer, fixed, lengthSymbol);
        cases.push_back({"input ends after length symbol " + std::to_string(lengthSymbol),
                         cutAtWriter(writer), 51});
    }
    for (const unsigned distanceSymbol : {0u, 3u, 4u, 29u}) {
        BitWriter writer;
        writeBlockHeader(writer, true, 1);
        writeSymbol(writer, fixed, 'a');
        padToByteEnd(writer, fixed, 7 + 5);
        writeSymbol(writer, fixed, 257);
        writeSymbol(writer, fixedDistance, distanceSymbol);
        cases.push_back({"input ends after distance symbol " + std::to_string(distanceSymbol),
                         cutAtWriter(writer), 51});
    }
    {
        BitWriter writer;
        writeBlockHeader(writer, true, 1);
        padToByteEnd(writer, fixed, 8);
        writeSymbol(writer, fixed, 'a');
        cases.push_back({"input ends after a literal", cutAtWriter(writer), 10});
    }
    {
        // A fixed block that is not final ends with one or two bits left: too few for a header.
        for (const unsigned left : {1u, 2u, 3u}) {
            BitWriter writer;
            writeBlockHeader(writer, false, 1);
            writeSymbol(writer, fixed, 'a');
            padToByteEnd(writer, fixed, 7 + left);
            writeSymbol(writer, fixed, 256);
            writeBits(writer, left == 3 ? 7 : 0, left); // 7: final, type 3
            cases.push_back({"header with " + std::to_string(left) + " bits left",
                             cutAtWriter(writer), left == 3 ? 20u : 52u});
        }
    }
    cases.push_back({"no bytes", {}, 53});
    cases.push_back({"header only", {0x78, 0x01}, 52});
    cases.push_back({"check bits wrong", {0x78, 0x02, 0x03, 0x00}, 24});
    cases.push_back({"method 7", {0x77, 0x09, 0x03, 0x00}, 25});
    cases.push_back({"preset dictionary", {0x78, 0x20, 0x03, 0x00}, 26});
    return cases;
}

std::vector<CraftedCase> dynamicCases() {
    std::vector<CraftedCase> cases;
    const auto literalsAndEnd = [](BitWriter& writer, const Code& literals, const Code&) {
        for (const unsigned symbol : {65u, 66u, 65u, 65u, 256u}) { // A B A A, end
            writeSymbol(writer, literals, symbol);
        }
    };
    const std::vector<unsigned> abEnd = literalLengthsWith({{'A', 1}, {'B', 2}, {256, 2}});
    cases.push_back({"no distance code, literals only",
                     dynamicBlock(abEnd, std::vector<unsigned>(1, 0), literalsAndEnd), 0});
    {
        const std::vector<unsigned> lengths =
            literalLengthsWith({{'A', 1}, {256, 2}, {258, 2}}, 259);
        // 'A' is one bit: enough of them make the distance's first bit the input's last.
        const auto matchWithoutCode = [](BitWriter& writer, const Code& literals, const Code&) {
            do {
                writeSymbol(writer, literals, 'A');
            } while ((writer.bitCount + 3) % 8 != 0);
            writeSymbol(writer, literals, 258);
            writeBits(writer, 1, 1);
        };
        cases.push_back({"no distance code, a match",
                         dynamicBlock(lengths, std::vector<unsigned>(1, 0), matchWithoutCode), 11});
        cases.push_back({"no distance code, a match at the end",
                         dynamicBlock(lengths, std::vector<unsigned>(1, 0), matchWithoutCode, 0),
                         10});
        const auto oneDistance = [](BitWriter& writer, const Code& literals,
                                    const Code& distances) {
            writeSymbol(writer, literals, 'A');
            for (int i = 0; i < 40; ++i) {
                writeSymbol(writer, literals, 258);
                writeSymbol(writer, distances, 0);
            }
            writeSymbol(writer, literals, 256);
        };
        cases.push_back(
            {"one distance code", dynamicBlock(lengths, std::vector<unsigned>{1}, oneDistance), 0});
        const auto unusedDistance = [](BitWriter& writer, const Code& literals, const Code&) {
            writeSymbol(writer, literals, 'A');
            writeSymbol(writer, literals, 258);
            writeBits(writer, 1, 1);
            writeSymbol(writer, literals, 256);
        };
        cases.push_back({"one distance code, the other branch",
                         dynamicBlock(lengths, std::vector<unsigned>{1}, unusedDistance), 11});
    }
    {
        // 15-bit codes for literals, lengths, end of block and distances: sub-tables throughout.
        const std::vector<unsigned> literalOrder = {'e', 't', 'a', 'o', 'i', 'n', 's', 'h',
                                                    'r', 'd', 'l', 260, 285, 'u', 256, 'z'};
        const std::vector<unsigned> literals = deepLengths(286, literalOrder);
        const std::vector<unsigned> distances =
            deepLengths(30, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 29, 28});
        const auto body = [](BitWriter& writer, const Code& literalCode, const Code& distanceCode) {
            for (const unsigned symbol : {'z', 'u', 'e', 't', 'z', 'a'}) {
                writeSymbol(writer, literalCode, symbol);
            }
            for (const unsigned distance : {1u, 2u, 5u, 6u}) {
                writeMatch(writer, literalCode, distanceCode, 6, distance);
                writeMatch(writer, literalCode, distanceCode, 258, distance);
            }
            writeSymbol(writer, literalCode, 256);
        };
        cases.push_back({"15-bit codes", dynamicBlock(literals, distances, body), 0});
        const auto farDistance = [](BitWriter& writer, const Code& literalCode,
                                    const Code& distanceCode) {
            writeSymbol(writer, literalCode, 'z');
            writeSymbol(writer, literalCode, 285);
            writeSymbol(writer, distanceCode, 28);
            writeBits(writer, 0, 13);
            writeSymbol(writer, literalCode, 256);
        };
        cases.push_back(
            {"15-bit distance code too far", dynamicBlock(literals, distances, farDistance), 80});
    }
    {
        // An incomplete code down to 13 bits: the unused branches lie in sub-tables.
        std::vector<unsigned> lengths(257, 0);
        lengths['A'] = 1;
        lengths[256] = 2;
        lengths['B'] = 13;
        for (const unsigned depth : {3u, 12u, 13u}) {
            const auto unusedPath = [depth](BitWriter& writer, const Code& literals, const Code&) {
                writeSymbol(writer, literals, 'B');
                writeSymbol(writer, literals, 'A');
                // 'B' is 110 and ten zeros; 111 and 110, zeros, 1 are used by nobody.
                writeCode(writer, depth == 3 ? 7 : (6u << (depth - 3)) | 1, depth);
                writeBits(writer, 0, 16);
            };
            cases.push_back({"unused branch at depth " + std::to_string(depth),
                             dynamicBlock(lengths, {1}, unusedPath), 11});
        }
    }
    {
        // Over-subscribed without running through a leaf: the third length-1 code (2 = binary
        // 10, written as its low bit 0) falls on 'a' and the tree drops it.
        const std::vector<unsigned> lengths = literalLengthsWith({{'a', 1}, {'b', 1}, {256, 1}});
        const auto body = [](BitWriter& writer, const Code& literals, const Code&) {
            for (const unsigned symbol : {'a', 'b', 'b', 'a'}) {
                writeSymbol(writer, literals, symbol);
            }
        };
        cases.push_back({"over-subscribed, a dropped code", dynamicBlock(lengths, {1}, body), 10});
        cases.push_back(
            {"over-subscribed through a leaf",
             dynamicBlock(literalLengthsWith({{'a', 1}, {'b', 1}, {256, 2}}), {1}, body), 55});
        cases.push_back(
            {"over-subscribed distance code", dynamicBlock(abEnd, {1, 1, 2}, literalsAndEnd), 55});
        cases.push_back(
            {"no code for end of block",
             dynamicBlock(literalLengthsWith({{'A', 1}, {'B', 1}}), {1}, literalsAndEnd), 64});
    }
    const auto lengthsStream = [](const std::vector<LengthSymbol>& symbols, std::size_t tail) {
        BitWriter writer;
        writeBlockHeader(writer, true, 2);
        writeDynamicLengths(writer, 257, 1, symbols);
        return zlibWrap(writer, tail);
    };
    cases.push_back({"repeat first", lengthsStream({{16, 0}}, 4), 81});
    cases.push_back({"repeat past the end", lengthsStream({{18, 127}, {18, 108}, {16, 0}}, 4), 13});
    cases.push_back(
        {"zero run past the end", lengthsStream({{18, 127}, {18, 108}, {17, 0}}, 4), 14});
    cases.push_back({"long zero run past the end", lengthsStream({{18, 127}, {18, 127}}, 4), 15});
    cases.push_back({"lengths cut", lengthsStream({{18, 127}, {18, 50}}, 0), 10});
    // The header is 74 bits and symbols 0 to 12 take 4, 13 to 18 take 5: a cut after 88 bits
    // leaves none of the run's 7 extra bits after lengths 13 and 1, and one after lengths 1, 1.
    for (const unsigned first : {13u, 1u}) {
        BitWriter writer;
        writeBlockHeader(writer, true, 2);
        writeDynamicLengths(writer, 257, 1, {{first}, {1}, {18, 0}});
        writer.bitCount = 88;
        cases.push_back(
            {"run extra bits cut after length " + std::to_string(first), cutAtWriter(writer), 50});
    }
    {
        BitWriter writer;
        writeBlockHeader(writer, true, 2);
        writeBits(writer, 0, 10);
        writeBits(writer, 0, 4);
        for (const unsigned length : {1, 1, 2, 0}) {
            writeBits(writer, length, 3);
        }
        cases.push_back({"over-subscribed code-length code", zlibWrap(writer), 55});
        cases.push_back({"code-length lengths cut", cutAtWriter(writer), 49});
        BitWriter start;
        writeBlockHeader(start, true, 2);
        cases.push_back({"dynamic header at the end", zlibWrap(start, 1), 49});
    }
    return cases;
}

TEST(InflateMatchesReference, CraftedStreamsOfEveryBlockTypeAndError) {
    std::vector<CraftedCase> cases = storedAndFixedCases();
    const std::vector<CraftedCase> dynamic = dynamicCases();
    cases.insert(cases.end(), dynamic.begin(), dynamic.end());
    for (const CraftedCase& c : cases) {
        Bytes out;
        EXPECT_EQ(inflateReference(out, c.stream), c.referenceError) << c.name;
        EXPECT_TRUE(sameForEveryGuess(c.stream)) << c.name;
    }
}

TEST(InflateMatchesReference, EveryCutOfCraftedAndZlibStreams) {
    std::vector<Bytes> streams;
    for (const CraftedCase& c : dynamicCases()) {
        streams.push_back(c.stream);
    }
    const Bytes data = wordyBytes(3000, 1);
    for (const int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY, Z_RLE}) {
        streams.push_back(zlibCompress(data, 9, strategy));
    }
    streams.push_back(zlibCompress(randomBytes(700, 2), 0, Z_DEFAULT_STRATEGY));
    for (const Bytes& stream : streams) {
        for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
            // Exactly `cut` bytes on the heap, so the sanitizers see any read beyond.
            const Bytes shortened(stream.begin(), stream.begin() + static_cast<long>(cut));
            ASSERT_TRUE(sameAsReference(shortened, 0)) << "cut at " << cut;
            ASSERT_TRUE(sameAsReference(shortened, cut * 3)) << "cut at " << cut;
        }
    }
}

TEST(InflateMatchesReference, DamagedZlibStreams) {
    std::mt19937 random(17);
    std::vector<Bytes> sources;
    for (const int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY}) {
        sources.push_back(zlibCompress(wordyBytes(2000, 3), 6, strategy));
        sources.push_back(zlibCompress(randomBytes(300, 4), 6, strategy));
    }
    for (int round = 0; round < 20000; ++round) {
        Bytes stream = sources[random() % sources.size()];
        const unsigned changes = 1 + random() % 4;
        for (unsigned k = 0; k < changes; ++k) {
            // Past the zlib header, so the damage reaches the deflate data.
            const std::size_t at = 2 + random() % (stream.size() - 2);
            if (random() % 2 == 0) {
                stream[at] ^= static_cast<unsigned char>(1u << (random() % 8));
            } else {
                stream[at] = static_cast<unsigned char>(random());
            }
        }
        if (random() % 4 == 0) {
            stream.resize(2 + random() % (stream.size() - 2));
        }
        ASSERT_TRUE(sameAsReference(stream, random() % 2 == 0 ? 0 : stream.size())) << round;
    }
}

TEST(InflateMatchesReference, LongOutputsAtEveryStrategy) {
    const Bytes wordy = wordyBytes(1 << 20, 5);
    const Bytes noise = randomBytes(300000, 6);
    for (const int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
        for (const Bytes* data : {&wordy, &noise}) {
            const Bytes stream = zlibCompress(*data, 9, strategy);
            for (const std::size_t guess : {std::size_t{0}, data->size() / 3, data->size()}) {
                EXPECT_TRUE(sameAsReference(stream, guess)) << "strategy " << strategy;
            }
        }
    }
}

} // namespace
