#include "deflate.h"

#include "media/deflate_format.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace {

constexpr int windowSize = 32768;
constexpr int minMatch = 3;
constexpr int maxMatch = 258;
constexpr int hashBits = 15;
constexpr int maxChain = 48;
constexpr std::size_t tokensPerBlock = 32768;

// A literal (length 0, value = the byte) or a match (length 3..258, value = the distance).
struct Token {
    std::uint16_t length;
    std::uint16_t value;
};

struct BitWriter {
    std::vector<std::uint8_t>& out;
    std::uint32_t buffer = 0;
    int count = 0;
};

void putBits(BitWriter& writer, std::uint32_t bits, int count) {
    writer.buffer |= bits << writer.count;
    writer.count += count;
    while (writer.count >= 8) {
        writer.out.push_back(static_cast<std::uint8_t>(writer.buffer & 0xFF));
        writer.buffer >>= 8;
        writer.count -= 8;
    }
}

void flushBits(BitWriter& writer) {
    if (writer.count > 0) {
        writer.out.push_back(static_cast<std::uint8_t>(writer.buffer & 0xFF));
    }
    writer.buffer = 0;
    writer.count = 0;
}

int lengthCode(int length) {
    int code = 0;
    while (code < 28 && lengthBase[code + 1] <= length) {
        ++code;
    }
    return code;
}

int distanceCode(int distance) {
    int code = 0;
    while (code < 29 && distanceBase[code + 1] <= distance) {
        ++code;
    }
    return code;
}

std::uint32_t hashAt(std::span<const std::uint8_t> data, std::size_t pos) {
    const std::uint32_t v =
        (std::uint32_t{data[pos]} << 16) | (std::uint32_t{data[pos + 1]} << 8) | data[pos + 2];
    return (v * 2654435761u) >> (32 - hashBits);
}

struct Match {
    int length = 0;
    int distance = 0;
};

struct MatchFinder {
    std::vector<std::int32_t> head = std::vector<std::int32_t>(1 << hashBits, -1);
    std::vector<std::int32_t> previous = std::vector<std::int32_t>(windowSize, -1);
};

void insertPosition(MatchFinder& finder, std::span<const std::uint8_t> data, std::size_t pos) {
    if (pos + minMatch > data.size()) {
        return;
    }
    const std::uint32_t hash = hashAt(data, pos);
    finder.previous[pos % windowSize] = finder.head[hash];
    finder.head[hash] = static_cast<std::int32_t>(pos);
}

Match findMatch(const MatchFinder& finder, std::span<const std::uint8_t> data, std::size_t pos) {
    Match best;
    if (pos + minMatch > data.size()) {
        return best;
    }
    const int limit = static_cast<int>(std::min<std::size_t>(maxMatch, data.size() - pos));
    std::int32_t candidate = finder.head[hashAt(data, pos)];
    for (int chain = 0; chain < maxChain && candidate >= 0; ++chain) {
        const std::size_t from = static_cast<std::size_t>(candidate);
        if (pos - from > windowSize - 1 || from >= pos) {
            break;
        }
        if (data[from + best.length] == data[pos + best.length]) {
            int length = 0;
            while (length < limit && data[from + length] == data[pos + length]) {
                ++length;
            }
            if (length > best.length) {
                best = Match{length, static_cast<int>(pos - from)};
                if (length == limit) {
                    break;
                }
            }
        }
        const std::int32_t next = finder.previous[from % windowSize];
        if (next >= candidate) {
            break;
        }
        candidate = next;
    }
    if (best.length < minMatch) {
        return Match{};
    }
    return best;
}

// Greedy matching with one step of lazy evaluation: a literal is emitted when the next position
// holds a longer match.
std::vector<Token> tokenize(std::span<const std::uint8_t> data) {
    std::vector<Token> tokens;
    tokens.reserve(data.size() / 2 + 16);
    MatchFinder finder;
    std::size_t pos = 0;
    while (pos < data.size()) {
        Match match = findMatch(finder, data, pos);
        insertPosition(finder, data, pos);
        if (match.length >= minMatch && match.length < 32 && pos + 1 < data.size()) {
            const Match next = findMatch(finder, data, pos + 1);
            if (next.length > match.length) {
                tokens.push_back(Token{0, data[pos]});
                ++pos;
                continue;
            }
        }
        if (match.length >= minMatch) {
            tokens.push_back(Token{static_cast<std::uint16_t>(match.length),
                                   static_cast<std::uint16_t>(match.distance)});
            for (int i = 1; i < match.length; ++i) {
                insertPosition(finder, data, pos + i);
            }
            pos += match.length;
        } else {
            tokens.push_back(Token{0, data[pos]});
            ++pos;
        }
    }
    return tokens;
}

// Huffman code lengths no longer than `limit`. Over-long trees are rebuilt from halved counts,
// which flattens them; every used symbol keeps a code.
std::vector<std::uint8_t> buildCodeLengths(const std::vector<std::uint32_t>& counts, int limit) {
    std::vector<std::uint8_t> lengths(counts.size(), 0);
    std::vector<std::uint32_t> weights = counts;
    std::vector<int> used;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (counts[i] > 0) {
            used.push_back(static_cast<int>(i));
        }
    }
    if (used.empty()) {
        return lengths;
    }
    if (used.size() == 1) {
        lengths[used[0]] = 1;
        return lengths;
    }
    for (;;) {
        std::vector<int> leaves = used;
        std::stable_sort(leaves.begin(), leaves.end(),
                         [&](int a, int b) { return weights[a] < weights[b]; });
        const std::size_t leafCount = leaves.size();
        // Nodes 0..leafCount-1 are leaves in sorted order, then the internal nodes in creation
        // order.
        std::vector<std::uint64_t> nodeWeight(2 * leafCount, 0);
        std::vector<int> parent(2 * leafCount, -1);
        for (std::size_t i = 0; i < leafCount; ++i) {
            nodeWeight[i] = weights[leaves[i]];
        }
        std::size_t nextLeaf = 0;
        std::size_t nextInternal = leafCount;
        std::size_t created = leafCount;
        auto takeSmallest = [&]() {
            if (nextLeaf < leafCount &&
                (nextInternal >= created || nodeWeight[nextLeaf] <= nodeWeight[nextInternal])) {
                return nextLeaf++;
            }
            return nextInternal++;
        };
        while (created < 2 * leafCount - 1) {
            const std::size_t a = takeSmallest();
            const std::size_t b = takeSmallest();
            nodeWeight[created] = nodeWeight[a] + nodeWeight[b];
            parent[a] = static_cast<int>(created);
            parent[b] = static_cast<int>(created);
            ++created;
        }
        int longest = 0;
        for (std::size_t i = 0; i < leafCount; ++i) {
            int depth = 0;
            for (int node = static_cast<int>(i); parent[node] >= 0; node = parent[node]) {
                ++depth;
            }
            lengths[leaves[i]] = static_cast<std::uint8_t>(depth);
            longest = std::max(longest, depth);
        }
        if (longest <= limit) {
            return lengths;
        }
        for (int symbol : used) {
            weights[symbol] = (weights[symbol] >> 1) | 1;
        }
    }
}

// Canonical codes, already bit-reversed for the LSB-first stream.
std::vector<std::uint16_t> buildCodes(const std::vector<std::uint8_t>& lengths) {
    std::array<int, 16> lengthCount{};
    for (std::uint8_t length : lengths) {
        ++lengthCount[length];
    }
    lengthCount[0] = 0;
    std::array<int, 16> nextCode{};
    int code = 0;
    for (int bits = 1; bits < 16; ++bits) {
        code = (code + lengthCount[bits - 1]) << 1;
        nextCode[bits] = code;
    }
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
        const int length = lengths[symbol];
        if (length == 0) {
            continue;
        }
        int value = nextCode[length]++;
        int reversed = 0;
        for (int i = 0; i < length; ++i) {
            reversed = (reversed << 1) | (value & 1);
            value >>= 1;
        }
        codes[symbol] = static_cast<std::uint16_t>(reversed);
    }
    return codes;
}

struct CodeLengthSymbol {
    std::uint8_t symbol;
    std::uint8_t extra;
};

// Run-length codes 16, 17 and 18 over the concatenated literal and distance code lengths.
std::vector<CodeLengthSymbol> encodeCodeLengths(const std::vector<std::uint8_t>& lengths) {
    std::vector<CodeLengthSymbol> out;
    std::size_t i = 0;
    while (i < lengths.size()) {
        const std::uint8_t value = lengths[i];
        std::size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == value) {
            ++run;
        }
        if (value == 0 && run >= 3) {
            const std::size_t take = std::min<std::size_t>(run, 138);
            if (take >= 11) {
                out.push_back({18, static_cast<std::uint8_t>(take - 11)});
            } else {
                out.push_back({17, static_cast<std::uint8_t>(take - 3)});
            }
            i += take;
        } else if (value != 0 && run >= 4) {
            out.push_back({value, 0});
            const std::size_t take = std::min<std::size_t>(run - 1, 6);
            out.push_back({16, static_cast<std::uint8_t>(take - 3)});
            i += 1 + take;
        } else {
            out.push_back({value, 0});
            ++i;
        }
    }
    return out;
}

struct BlockCodes {
    std::vector<std::uint8_t> literalLengths;
    std::vector<std::uint8_t> distanceLengths;
};

BlockCodes fixedCodes() {
    BlockCodes codes{std::vector<std::uint8_t>(288), std::vector<std::uint8_t>(30, 5)};
    for (int i = 0; i < 288; ++i) {
        codes.literalLengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    }
    return codes;
}

std::uint64_t payloadBits(const BlockCodes& codes, const std::vector<std::uint32_t>& literalCounts,
                          const std::vector<std::uint32_t>& distanceCounts) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < literalCounts.size(); ++i) {
        bits += std::uint64_t{literalCounts[i]} * codes.literalLengths[i];
        if (i >= 257 && i - 257 < lengthExtra.size()) {
            bits += std::uint64_t{literalCounts[i]} * lengthExtra[i - 257];
        }
    }
    for (std::size_t i = 0; i < distanceCounts.size(); ++i) {
        bits += std::uint64_t{distanceCounts[i]} * (codes.distanceLengths[i] + distanceExtra[i]);
    }
    return bits;
}

struct DynamicHeader {
    int literalCount;
    int distanceCount;
    int codeLengthCount;
    std::vector<std::uint8_t> codeLengthLengths;
    std::vector<CodeLengthSymbol> symbols;
    std::uint64_t bits;
};

DynamicHeader makeDynamicHeader(const BlockCodes& codes) {
    DynamicHeader header{};
    header.literalCount = 286;
    while (header.literalCount > 257 && codes.literalLengths[header.literalCount - 1] == 0) {
        --header.literalCount;
    }
    header.distanceCount = 30;
    while (header.distanceCount > 1 && codes.distanceLengths[header.distanceCount - 1] == 0) {
        --header.distanceCount;
    }
    std::vector<std::uint8_t> all(codes.literalLengths.begin(),
                                  codes.literalLengths.begin() + header.literalCount);
    all.insert(all.end(), codes.distanceLengths.begin(),
               codes.distanceLengths.begin() + header.distanceCount);
    header.symbols = encodeCodeLengths(all);
    std::vector<std::uint32_t> counts(19, 0);
    for (const CodeLengthSymbol& s : header.symbols) {
        ++counts[s.symbol];
    }
    header.codeLengthLengths = buildCodeLengths(counts, 7);
    header.codeLengthCount = 19;
    while (header.codeLengthCount > 4 &&
           header.codeLengthLengths[codeLengthOrder[header.codeLengthCount - 1]] == 0) {
        --header.codeLengthCount;
    }
    header.bits = 5 + 5 + 4 + 3 * header.codeLengthCount;
    for (const CodeLengthSymbol& s : header.symbols) {
        header.bits += header.codeLengthLengths[s.symbol];
        header.bits += s.symbol == 16 ? 2 : s.symbol == 17 ? 3 : s.symbol == 18 ? 7 : 0;
    }
    return header;
}

void writeDynamicHeader(BitWriter& writer, const DynamicHeader& header) {
    putBits(writer, static_cast<std::uint32_t>(header.literalCount - 257), 5);
    putBits(writer, static_cast<std::uint32_t>(header.distanceCount - 1), 5);
    putBits(writer, static_cast<std::uint32_t>(header.codeLengthCount - 4), 4);
    for (int i = 0; i < header.codeLengthCount; ++i) {
        putBits(writer, header.codeLengthLengths[codeLengthOrder[i]], 3);
    }
    const std::vector<std::uint16_t> codes = buildCodes(header.codeLengthLengths);
    for (const CodeLengthSymbol& s : header.symbols) {
        putBits(writer, codes[s.symbol], header.codeLengthLengths[s.symbol]);
        if (s.symbol == 16) {
            putBits(writer, s.extra, 2);
        } else if (s.symbol == 17) {
            putBits(writer, s.extra, 3);
        } else if (s.symbol == 18) {
            putBits(writer, s.extra, 7);
        }
    }
}

void writeTokens(BitWriter& writer, std::span<const Token> tokens, const BlockCodes& lengths) {
    const std::vector<std::uint16_t> literalCodes = buildCodes(lengths.literalLengths);
    const std::vector<std::uint16_t> distanceCodes = buildCodes(lengths.distanceLengths);
    for (const Token& token : tokens) {
        if (token.length == 0) {
            putBits(writer, literalCodes[token.value], lengths.literalLengths[token.value]);
            continue;
        }
        const int lc = lengthCode(token.length);
        putBits(writer, literalCodes[257 + lc], lengths.literalLengths[257 + lc]);
        putBits(writer, static_cast<std::uint32_t>(token.length - lengthBase[lc]), lengthExtra[lc]);
        const int dc = distanceCode(token.value);
        putBits(writer, distanceCodes[dc], lengths.distanceLengths[dc]);
        putBits(writer, static_cast<std::uint32_t>(token.value - distanceBase[dc]),
                distanceExtra[dc]);
    }
    putBits(writer, literalCodes[256], lengths.literalLengths[256]);
}

void writeBlock(BitWriter& writer, std::span<const Token> tokens, bool last) {
    std::vector<std::uint32_t> literalCounts(286, 0);
    std::vector<std::uint32_t> distanceCounts(30, 0);
    for (const Token& token : tokens) {
        if (token.length == 0) {
            ++literalCounts[token.value];
        } else {
            ++literalCounts[257 + lengthCode(token.length)];
            ++distanceCounts[distanceCode(token.value)];
        }
    }
    literalCounts[256] = 1;
    // Two distance codes at least, so that the distance code is always complete.
    int usedDistances = 0;
    for (std::uint32_t count : distanceCounts) {
        usedDistances += count > 0 ? 1 : 0;
    }
    for (int i = 0; usedDistances < 2 && i < 2; ++i) {
        if (distanceCounts[i] == 0) {
            distanceCounts[i] = 1;
            ++usedDistances;
        }
    }
    BlockCodes dynamic{buildCodeLengths(literalCounts, 15), buildCodeLengths(distanceCounts, 15)};
    const DynamicHeader header = makeDynamicHeader(dynamic);
    BlockCodes fixed = fixedCodes();
    std::vector<std::uint32_t> fixedLiteralCounts = literalCounts;
    fixedLiteralCounts.resize(288, 0);
    const std::uint64_t dynamicBits =
        header.bits + payloadBits(dynamic, literalCounts, distanceCounts);
    const std::uint64_t fixedBits = payloadBits(fixed, fixedLiteralCounts, distanceCounts);
    putBits(writer, last ? 1 : 0, 1);
    if (dynamicBits < fixedBits) {
        putBits(writer, 2, 2);
        writeDynamicHeader(writer, header);
        writeTokens(writer, tokens, dynamic);
    } else {
        putBits(writer, 1, 2);
        writeTokens(writer, tokens, fixed);
    }
}

} // namespace

std::uint32_t adler32(std::span<const std::uint8_t> data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> compressZlib(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out = {0x78, 0x9C};
    const std::vector<Token> tokens = tokenize(data);
    BitWriter writer{out};
    if (tokens.empty()) {
        writeBlock(writer, {}, true);
    }
    for (std::size_t start = 0; start < tokens.size(); start += tokensPerBlock) {
        const std::size_t count = std::min(tokensPerBlock, tokens.size() - start);
        writeBlock(writer, std::span<const Token>(tokens).subspan(start, count),
                   start + count == tokens.size());
    }
    flushBits(writer);
    const std::uint32_t check = adler32(data);
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((check >> shift) & 0xFF));
    }
    return out;
}
