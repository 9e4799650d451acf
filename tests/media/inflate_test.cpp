// The inflate decoder against zlib (an oracle only), and hand-made streams for every error code.
#include "media/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(count);
    for (unsigned char& byte : bytes) {
        byte = static_cast<unsigned char>(random());
    }
    return bytes;
}

// Runs of repeated bytes and repeated phrases at various distances, as in pictures and text.
Bytes repetitiveBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        const unsigned kind = random() % 3;
        const std::size_t run = 1 + random() % 300;
        if (kind == 0 || bytes.empty()) {
            bytes.insert(bytes.end(), run, static_cast<unsigned char>(random() % 4));
        } else if (kind == 1) {
            const std::size_t distance = 1 + random() % std::min<std::size_t>(bytes.size(), 40000);
            for (std::size_t i = 0; i < run; ++i) {
                bytes.push_back(bytes[bytes.size() - distance]);
            }
        } else {
            bytes.push_back(static_cast<unsigned char>('a' + random() % 26));
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

// Writes deflate bits: fields lowest bit first, Huffman codes most significant bit first.
struct BitWriter {
    Bytes bytes;
    unsigned bitCount = 0;
};

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

void alignToByte(BitWriter& writer) {
    writer.bitCount = static_cast<unsigned>(writer.bytes.size() * 8);
}

void writeCode(BitWriter& writer, std::uint32_t code, unsigned length) {
    for (unsigned i = 0; i < length; ++i) {
        writeBits(writer, (code >> (length - 1 - i)) & 1u, 1);
    }
}

// The fixed literal/length code of RFC 1951, section 3.2.6.
void writeFixedLiteral(BitWriter& writer, unsigned symbol) {
    if (symbol < 144) {
        writeCode(writer, 0x30 + symbol, 8);
    } else if (symbol < 256) {
        writeCode(writer, 0x190 + symbol - 144, 9);
    } else if (symbol < 280) {
        writeCode(writer, symbol - 256, 7);
    } else {
        writeCode(writer, 0xC0 + symbol - 280, 8);
    }
}

// Canonical codes for a list of lengths, as an encoder computes them.
std::vector<std::uint32_t> canonicalCodes(const std::vector<unsigned>& lengths) {
    std::vector<std::uint32_t> count(16, 0);
    for (const unsigned length : lengths) {
        if (length > 0) {
            ++count[length];
        }
    }
    std::vector<std::uint32_t> next(16, 0);
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

// One symbol of the code-length alphabet with its extra bits.
struct LengthSymbol {
    unsigned symbol;
    unsigned extra = 0;
};

unsigned extraBitCount(unsigned symbol) {
    return symbol == 16 ? 2 : symbol == 17 ? 3 : symbol == 18 ? 7 : 0;
}

// The code-length code of every hand-made dynamic header: complete, symbols 0 to 12 with 4 bits,
// 13 to 18 with 5.
std::vector<unsigned> codeLengthCodeLengths() {
    std::vector<unsigned> lengths(19, 4);
    for (unsigned symbol = 13; symbol < 19; ++symbol) {
        lengths[symbol] = 5;
    }
    return lengths;
}

// A dynamic block header (74 bits) followed by the given code-length symbols.
void writeDynamicHeader(BitWriter& writer, bool final, unsigned literalCount,
                        unsigned distanceCount, const std::vector<LengthSymbol>& symbols) {
    static constexpr unsigned order[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                           11, 4,  12, 3, 13, 2, 14, 1, 15};
    const std::vector<unsigned> lengths = codeLengthCodeLengths();
    const std::vector<std::uint32_t> codes = canonicalCodes(lengths);
    writeBits(writer, final ? 1 : 0, 1);
    writeBits(writer, 2, 2);
    writeBits(writer, literalCount - 257, 5);
    writeBits(writer, distanceCount - 1, 5);
    writeBits(writer, 19 - 4, 4);
    for (const unsigned symbol : order) {
        writeBits(writer, lengths[symbol], 3);
    }
    for (const LengthSymbol& entry : symbols) {
        writeCode(writer, codes[entry.symbol], lengths[entry.symbol]);
        writeBits(writer, entry.extra, extraBitCount(entry.symbol));
    }
}

std::vector<LengthSymbol> plainLengths(const std::vector<unsigned>& lengths) {
    std::vector<LengthSymbol> symbols;
    for (const unsigned length : lengths) {
        symbols.push_back(LengthSymbol{length});
    }
    return symbols;
}

// A zlib stream around the writer's deflate bits, with `tail` extra bytes after them.
Bytes zlibStream(const BitWriter& writer, std::size_t tail = 4) {
    Bytes stream(2 + writer.bytes.size() + tail, 0);
    stream[0] = 0x78;
    stream[1] = 0x01;
    std::copy(writer.bytes.begin(), writer.bytes.end(), stream.begin() + 2);
    return stream;
}

Bytes inflateOrFail(const Bytes& stream, unsigned expectedError, std::size_t firstGuess = 0) {
    Bytes out(firstGuess, 0xEE);
    EXPECT_EQ(inflateZlibStream(out, stream), expectedError);
    return out;
}

std::string bytesText(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// --- The code tree -------------------------------------------------------------------------

TEST(BuildCodeTree, LaysOutTheNodesOfTheRfcExample) {
    // RFC 1951, 3.2.2: A=10, B=0, C=110, D=111. Leaves are symbols, N+k leads to node k.
    CodeTree tree;
    ASSERT_EQ(buildCodeTree(tree, {2, 1, 3, 3}, 15), 0u);
    const std::vector<std::uint32_t> expected = {1, 5, 0, 6, 2, 3, unusedBranch, unusedBranch};
    EXPECT_EQ(tree.branches, expected);
}

TEST(BuildCodeTree, LeavesUnusedBranchesOfAnIncompleteCode) {
    CodeTree tree;
    ASSERT_EQ(buildCodeTree(tree, {0, 2, 0, 2}, 7), 0u);
    const std::vector<std::uint32_t> expected = {
        4 + 1, unusedBranch, 1, 3, unusedBranch, unusedBranch, unusedBranch, unusedBranch};
    EXPECT_EQ(tree.branches, expected);
}

TEST(BuildCodeTree, RefusesBadLengthLists) {
    struct Case {
        const char* name;
        std::vector<unsigned> lengths;
        unsigned maxLength;
        unsigned error;
    };
    const std::vector<Case> cases = {
        {"a code through a leaf", {1, 1, 2, 0}, 7, 55},
        {"one symbol, no room for a node", {1}, 15, 55},
        {"length above the maximum", {8, 1, 1}, 7, 82},
        {"maximum above 15", {1, 1}, 16, 82},
    };
    for (const Case& c : cases) {
        CodeTree tree;
        EXPECT_EQ(buildCodeTree(tree, c.lengths, c.maxLength), c.error) << c.name;
    }
}

// --- Differential against zlib -------------------------------------------------------------

struct Setting {
    int level;
    int strategy;
};

std::vector<Setting> everySetting() {
    std::vector<Setting> settings;
    for (int level = 0; level <= 9; ++level) {
        for (const int strategy :
             {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
            settings.push_back(Setting{level, strategy});
        }
    }
    return settings;
}

void expectRoundTrip(const Bytes& data, const Setting& setting, const std::string& what) {
    const Bytes stream = zlibCompress(data, setting.level, setting.strategy);
    // A first guess of nothing, of too little and of too much must all end at the exact size.
    for (const std::size_t guess : {std::size_t{0}, data.size() / 3, data.size() + 1000}) {
        Bytes out(guess, 0xEE);
        ASSERT_EQ(inflateZlibStream(out, stream), 0u)
            << what << " level " << setting.level << " strategy " << setting.strategy;
        ASSERT_EQ(out.size(), data.size()) << what << " guess " << guess;
        ASSERT_TRUE(out == data) << what << " level " << setting.level << " strategy "
                                 << setting.strategy;
    }
}

TEST(InflateAgainstZlib, EveryLevelAndStrategyOnSmallAndMediumData) {
    for (const Setting& setting : everySetting()) {
        for (const std::size_t size : {0, 1, 2, 257, 1000, 70000}) {
            expectRoundTrip(randomBytes(size, 7 + size), setting, "random " + std::to_string(size));
            expectRoundTrip(repetitiveBytes(size, 11 + size), setting,
                            "repetitive " + std::to_string(size));
        }
    }
}

TEST(InflateAgainstZlib, OneMebibyteWithEachStrategyAndTheExtremeLevels) {
    const Bytes random = randomBytes(1 << 20, 3);
    const Bytes repetitive = repetitiveBytes(1 << 20, 5);
    const std::vector<Setting> settings = {{0, Z_DEFAULT_STRATEGY},
                                           {1, Z_DEFAULT_STRATEGY},
                                           {9, Z_DEFAULT_STRATEGY},
                                           {6, Z_FILTERED},
                                           {6, Z_HUFFMAN_ONLY},
                                           {6, Z_RLE},
                                           {6, Z_FIXED}};
    for (const Setting& setting : settings) {
        expectRoundTrip(random, setting, "random 1 MiB");
        expectRoundTrip(repetitive, setting, "repetitive 1 MiB");
    }
}

// --- Streams as zlib leaves them, changed ---------------------------------------------------

TEST(InflateStream, StoredBlocksOnlyReproduceTheirBytes) {
    const Bytes data = randomBytes(200000, 21); // more than three stored blocks
    const Bytes stream = zlibCompress(data, 0, Z_DEFAULT_STRATEGY);
    EXPECT_EQ(inflateOrFail(stream, 0), data);
}

TEST(InflateStream, IgnoresTheAdlerTrailerAndWhatFollows) {
    const Bytes data = repetitiveBytes(5000, 2);
    const Bytes stream = zlibCompress(data, 6, Z_DEFAULT_STRATEGY);
    Bytes wrong = stream;
    wrong[wrong.size() - 1] ^= 0x55;
    wrong[wrong.size() - 3] ^= 0xAA;
    EXPECT_EQ(inflateOrFail(wrong, 0), data);
    const Bytes missing(stream.begin(), stream.end() - 4);
    EXPECT_EQ(inflateOrFail(missing, 0), data);
    Bytes extra = stream;
    extra.insert(extra.end(), 100, 0xFF);
    EXPECT_EQ(inflateOrFail(extra, 0), data);
}

TEST(InflateStream, RefusesAPresetDictionary) {
    z_stream stream{};
    ASSERT_EQ(deflateInit(&stream, 6), Z_OK);
    const Bytes dictionary = {'h', 'e', 'm', 'o'};
    ASSERT_EQ(deflateSetDictionary(&stream, dictionary.data(), 4), Z_OK);
    Bytes data = {'h', 'e', 'm', 'o', 'r', 'u', 'n', 'e'};
    Bytes out(100);
    stream.next_in = data.data();
    stream.avail_in = 8;
    stream.next_out = out.data();
    stream.avail_out = 100;
    ASSERT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    inflateOrFail(out, 26);
}

// A zlib header with the given first byte and flags, its check bits made right.
Bytes headerWith(unsigned char first, unsigned char flags) {
    const unsigned check = 31 - (first * 256u + flags) % 31;
    return {first, static_cast<unsigned char>(flags + check % 31), 0x03, 0x00};
}

TEST(InflateStream, ChecksTheHeaderInOrder) {
    struct Case {
        const char* name;
        Bytes stream;
        unsigned error;
    };
    const std::vector<Case> cases = {
        {"no byte", {}, 53},
        {"one byte", {0x78}, 53},
        {"check value off by one", {0x78, 0x9D, 0x03, 0x00}, 24},
        {"check value wrong and method wrong", {0x77, 0x9D, 0x03, 0x00}, 24},
        {"method 7", headerWith(0x77, 0x00), 25},
        {"method 15", headerWith(0x7F, 0x00), 25},
        {"window field 8", headerWith(0x88, 0x00), 25},
        {"window field 15 and a dictionary", headerWith(0xF8, 0x20), 25},
        {"preset dictionary", headerWith(0x78, 0x20), 26},
        {"smallest window is fine", headerWith(0x08, 0x00), 0},
        {"largest window is fine", headerWith(0x78, 0xC0), 0},
    };
    for (const Case& c : cases) {
        Bytes out;
        EXPECT_EQ(inflateZlibStream(out, c.stream), c.error) << c.name;
    }
}

TEST(InflateStream, EveryCutGivesAnEndOfInputErrorAndNeverReadsPastIt) {
    struct Source {
        const char* name;
        Bytes data;
        Setting setting;
    };
    const std::vector<Source> sources = {
        {"dynamic", repetitiveBytes(6000, 8), {9, Z_DEFAULT_STRATEGY}},
        {"dynamic, random", randomBytes(1500, 9), {6, Z_DEFAULT_STRATEGY}},
        {"fixed", repetitiveBytes(3000, 10), {6, Z_FIXED}},
        {"stored", randomBytes(3000, 12), {0, Z_DEFAULT_STRATEGY}},
        {"huffman only", repetitiveBytes(2000, 13), {6, Z_HUFFMAN_ONLY}},
    };
    for (const Source& source : sources) {
        const Bytes stream =
            zlibCompress(source.data, source.setting.level, source.setting.strategy);
        const std::size_t deflateEnd = stream.size() - 4;
        for (std::size_t cut = 2; cut <= stream.size(); ++cut) {
            // Exactly `cut` bytes on the heap, so the sanitizer build sees any read beyond.
            const Bytes shortened(stream.begin(), stream.begin() + static_cast<long>(cut));
            Bytes out;
            const unsigned error = inflateZlibStream(out, shortened);
            if (cut >= deflateEnd) {
                ASSERT_EQ(error, 0u) << source.name << " cut at " << cut;
                ASSERT_TRUE(out == source.data) << source.name << " cut at " << cut;
            } else {
                ASSERT_TRUE(error == 10 || error == 23 || error == 49 || error == 50 ||
                            error == 51 || error == 52)
                    << source.name << " cut at " << cut << " gave " << error;
            }
        }
    }
}

// --- Hand-made streams ----------------------------------------------------------------------

TEST(InflateFixedBlock, DistanceOneLength258RepeatsThePreviousByte) {
    BitWriter writer;
    writeBits(writer, 1, 1);
    writeBits(writer, 1, 2);
    writeFixedLiteral(writer, 'q');
    writeFixedLiteral(writer, 285); // length 258, no extra bits
    writeCode(writer, 0, 5);        // distance 1
    writeFixedLiteral(writer, 256);
    const Bytes out = inflateOrFail(zlibStream(writer), 0, 3);
    EXPECT_EQ(bytesText(out), std::string(259, 'q'));
}

TEST(InflateFixedBlock, ShortDistanceRepeatsItsPattern) {
    BitWriter writer;
    writeBits(writer, 1, 1);
    writeBits(writer, 1, 2);
    for (const char c : std::string("abc")) {
        writeFixedLiteral(writer, static_cast<unsigned>(c));
    }
    writeFixedLiteral(writer, 266); // lengths 13 and 14: one extra bit
    writeBits(writer, 1, 1);
    writeCode(writer, 2, 5); // distance 3
    writeFixedLiteral(writer, 256);
    EXPECT_EQ(bytesText(inflateOrFail(zlibStream(writer), 0)), "abcabcabcabcabcab");
}

TEST(InflateFixedBlock, Symbols286And287WriteNothing) {
    BitWriter writer;
    writeBits(writer, 1, 1);
    writeBits(writer, 1, 2);
    writeFixedLiteral(writer, 'x');
    writeFixedLiteral(writer, 286);
    writeFixedLiteral(writer, 287);
    writeFixedLiteral(writer, 'y');
    writeFixedLiteral(writer, 256);
    EXPECT_EQ(bytesText(inflateOrFail(zlibStream(writer), 0)), "xy");
}

TEST(InflateBlocks, StoredFixedAndDynamicBlocksFollowEachOther) {
    BitWriter writer;
    writeBits(writer, 0, 1); // stored, not final
    writeBits(writer, 0, 2);
    alignToByte(writer);
    for (const unsigned char byte : Bytes{3, 0, 0xFC, 0xFF, 'o', 'n', 'e'}) {
        writeBits(writer, byte, 8);
    }
    writeBits(writer, 0, 1); // fixed, not final
    writeBits(writer, 1, 2);
    writeFixedLiteral(writer, '-');
    writeFixedLiteral(writer, 256);
    // Dynamic, final: literals 'A' and 'B' and end of block, one distance code.
    std::vector<unsigned> literalLengths(257, 0);
    literalLengths['A'] = 2;
    literalLengths['B'] = 2;
    literalLengths[256] = 1;
    std::vector<unsigned> lengths = literalLengths;
    lengths.push_back(1);
    writeDynamicHeader(writer, true, 257, 1, plainLengths(lengths));
    const std::vector<std::uint32_t> codes = canonicalCodes(literalLengths);
    const std::vector<unsigned> body = {'A', 'B', 'B', 'A', 256};
    for (const unsigned symbol : body) {
        writeCode(writer, codes[symbol], literalLengths[symbol]);
    }
    EXPECT_EQ(bytesText(inflateOrFail(zlibStream(writer), 0, 1)), "one-ABBA");
}

struct ErrorCase {
    const char* name;
    Bytes stream;
    unsigned error;
};

BitWriter fixedBlockStart() {
    BitWriter writer;
    writeBits(writer, 1, 1);
    writeBits(writer, 1, 2);
    return writer;
}

// A final dynamic block whose 258 lengths (257 literal/length, 1 distance) are given as
// code-length symbols, and whose body is the bits `body`.
Bytes dynamicStream(const std::vector<LengthSymbol>& symbols, std::size_t tail = 4) {
    BitWriter writer;
    writeDynamicHeader(writer, true, 257, 1, symbols);
    return zlibStream(writer, tail);
}

std::vector<ErrorCase> handMadeErrorCases() {
    std::vector<ErrorCase> cases;
    {
        BitWriter writer;
        writeBits(writer, 1, 1);
        writeBits(writer, 3, 2);
        cases.push_back({"block type 3", zlibStream(writer), 20});
    }
    {
        BitWriter writer;
        writeBits(writer, 1, 3);
        alignToByte(writer);
        for (const unsigned char byte : Bytes{5, 0, 0xFA, 0xFE, 1, 2, 3, 4, 5}) {
            writeBits(writer, byte, 8);
        }
        cases.push_back({"stored NLEN not the complement", zlibStream(writer), 21});
    }
    {
        BitWriter writer;
        writeBits(writer, 1, 3);
        alignToByte(writer);
        for (const unsigned char byte : Bytes{9, 0, 0xF6, 0xFF, 1, 2, 3}) {
            writeBits(writer, byte, 8);
        }
        cases.push_back({"stored bytes past the input", zlibStream(writer, 0), 23});
    }
    {
        BitWriter writer;
        writeBits(writer, 1, 3);
        alignToByte(writer);
        writeBits(writer, 4, 8);
        writeBits(writer, 0, 8);
        cases.push_back({"stored LEN and NLEN cut", zlibStream(writer, 0), 52});
    }
    cases.push_back({"no deflate data", {0x78, 0x01}, 52});
    {
        BitWriter writer;
        writeBits(writer, 0, 1); // a stored block that is not final, then nothing
        writeBits(writer, 0, 2);
        alignToByte(writer);
        for (const unsigned char byte : Bytes{1, 0, 0xFE, 0xFF, 'z'}) {
            writeBits(writer, byte, 8);
        }
        cases.push_back({"input ends before the next block", zlibStream(writer, 0), 52});
    }
    {
        BitWriter writer = fixedBlockStart();
        writeFixedLiteral(writer, 'a');
        writeFixedLiteral(writer, 257);
        writeCode(writer, 30, 5);
        writeFixedLiteral(writer, 256);
        cases.push_back({"distance symbol 30", zlibStream(writer), 18});
    }
    {
        BitWriter writer = fixedBlockStart();
        writeFixedLiteral(writer, 257);
        writeCode(writer, 0, 5);
        writeFixedLiteral(writer, 256);
        cases.push_back({"distance before any output", zlibStream(writer), 80});
    }
    {
        BitWriter writer = fixedBlockStart();
        writeFixedLiteral(writer, 'a');
        writeFixedLiteral(writer, 'b');
        writeFixedLiteral(writer, 257);
        writeCode(writer, 2, 5); // distance 3, one byte before the start
        writeFixedLiteral(writer, 256);
        cases.push_back({"distance one past the start", zlibStream(writer), 80});
    }
    // Length symbol 284 has 5 extra bits: after five 9-bit literals they would start right at
    // the end of the input, after one they would start 4 bits before it.
    for (const unsigned literals : {5u, 1u}) {
        BitWriter writer = fixedBlockStart();
        for (unsigned i = 0; i < literals; ++i) {
            writeFixedLiteral(writer, 200);
        }
        writeFixedLiteral(writer, 284);
        cases.push_back({"length extra bits cut", zlibStream(writer, 0), 51});
    }
    {
        BitWriter writer = fixedBlockStart();
        writeFixedLiteral(writer, 'a');
        writeFixedLiteral(writer, 257);
        writeCode(writer, 29, 5); // 13 extra bits, 4 of them left
        cases.push_back({"distance extra bits cut", zlibStream(writer, 0), 51});
    }
    {
        BitWriter writer = fixedBlockStart();
        writeFixedLiteral(writer, 'a');
        writeFixedLiteral(writer, 'b');
        cases.push_back({"input ends inside the body", zlibStream(writer, 0), 10});
    }
    {
        BitWriter writer;
        writeBits(writer, 1, 1);
        writeBits(writer, 2, 2);
        cases.push_back({"dynamic header at the end", zlibStream(writer, 1), 49});
    }
    {
        BitWriter writer;
        writeBits(writer, 1, 1);
        writeBits(writer, 2, 2);
        writeBits(writer, 0, 14);
        writeBits(writer, 0, 3 * 2);
        cases.push_back({"code-length lengths cut", zlibStream(writer, 0), 49});
    }
    {
        BitWriter writer;
        writeBits(writer, 1, 1);
        writeBits(writer, 2, 2);
        writeBits(writer, 0, 10);
        writeBits(writer, 0, 4); // HCLEN 4: lengths of 16, 17, 18 and 0
        for (const unsigned length : {1, 1, 2, 0}) {
            writeBits(writer, length, 3);
        }
        cases.push_back({"over-subscribed code-length code", zlibStream(writer), 55});
    }
    cases.push_back({"repeat as the first length", dynamicStream({{16, 0}}), 81});
    cases.push_back(
        {"repeat past the lengths", dynamicStream({{18, 127}, {18, 108}, {16, 0}}), 13});
    cases.push_back(
        {"zero run past the lengths", dynamicStream({{18, 127}, {18, 108}, {17, 0}}), 14});
    cases.push_back({"long zero run past the lengths", dynamicStream({{18, 127}, {18, 127}}), 15});
    {
        // The header takes 74 bits and symbols 13 and 16 take 5: after five lengths of 13 the
        // repeat's extra bits would start right at the end of the input.
        BitWriter writer;
        writeDynamicHeader(writer, true, 257, 1, {{13}, {13}, {13}, {13}, {13}, {16}});
        writer.bytes.pop_back(); // the repeat's two zero extra bits began a byte of their own
        writer.bitCount -= 8;
        cases.push_back({"repeat extra bits at the end", zlibStream(writer, 0), 50});
    }
    {
        // After one length of 13, the 7 extra bits of symbol 18 would start 4 bits before the end.
        BitWriter writer;
        writeDynamicHeader(writer, true, 257, 1, {{13}, {18}});
        writer.bytes.pop_back(); // drop the byte holding the last 3 extra bits
        writer.bitCount -= 8;
        cases.push_back({"zero run extra bits cut", zlibStream(writer, 0), 50});
    }
    cases.push_back(
        {"no code for end of block", dynamicStream({{1}, {1}, {18, 127}, {18, 106}, {1}}), 64});
    {
        // Literal/length code: 'A' = 00, end of block = 01; the branch 1 is used by no code.
        std::vector<unsigned> lengths(258, 0);
        lengths['A'] = 2;
        lengths[256] = 2;
        lengths[257] = 1;
        BitWriter writer;
        writeDynamicHeader(writer, true, 257, 1, plainLengths(lengths));
        writeCode(writer, 0, 2);
        writeCode(writer, 1, 1);
        cases.push_back({"code into an unused branch", zlibStream(writer, 4), 11});
    }
    return cases;
}

TEST(InflateErrors, HandMadeStreamsGiveTheirCodes) {
    for (const ErrorCase& c : handMadeErrorCases()) {
        Bytes out;
        EXPECT_EQ(inflateZlibStream(out, c.stream), c.error) << c.name;
    }
}

} // namespace
