#include "media/inflate_tables.h"

#include <algorithm>

namespace {

constexpr std::array<std::uint16_t, 29> lengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                      15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                      67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> lengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> distanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> distanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                        4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                        9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

std::uint32_t leafEntry(Alphabet alphabet, std::uint32_t symbol, unsigned consumed) {
    if (alphabet == Alphabet::codeLength) {
        return makeEntry(kindLiteral, symbol, 0, consumed);
    }
    if (alphabet == Alphabet::distance) {
        if (symbol > 29) {
            return makeEntry(kindBadDistance, 0, 0, consumed);
        }
        return makeEntry(kindMatch, distanceBase[symbol], distanceExtra[symbol], consumed);
    }
    if (symbol < 256) {
        return makeEntry(kindLiteral, symbol, 0, consumed);
    }
    if (symbol == 256) {
        return makeEntry(kindEndOfBlock, 0, 0, consumed);
    }
    if (symbol > 285) {
        return makeEntry(kindPassOver, 0, 0, consumed);
    }
    return makeEntry(kindMatch, lengthBase[symbol - 257], lengthExtra[symbol - 257], consumed);
}

struct TableBuild {
    const std::uint32_t* branches;
    std::uint32_t symbolCount;
    Alphabet alphabet;
    std::uint32_t* entries;
    std::size_t used;
};

// The length of the longest path below an internal node.
unsigned subtreeDepth(const TableBuild& build, std::uint32_t node) {
    unsigned depth = 1;
    for (unsigned bit = 0; bit < 2; ++bit) {
        const std::uint32_t branch = build.branches[2 * node + bit];
        if (branch != unusedBranch && branch >= build.symbolCount) {
            depth = std::max(depth, 1 + subtreeDepth(build, branch - build.symbolCount));
        }
    }
    return depth;
}

// Sets every entry of a table whose index starts with the `depth` bits of `path`.
void fillPrefix(std::uint32_t* table, unsigned tableBits, std::uint32_t path, unsigned depth,
                std::uint32_t entry) {
    for (std::uint32_t high = 0; high < (1u << (tableBits - depth)); ++high) {
        table[path | high << depth] = entry;
    }
}

// Fills the table at `tableStart` below `node`, reached by the `depth` bits of `path` (first bit
// read lowest, as the bit buffer holds them).
void fillBelow(TableBuild& build, std::size_t tableStart, unsigned tableBits, std::uint32_t node,
               unsigned depth, std::uint32_t path) {
    std::uint32_t* table = build.entries + tableStart;
    for (std::uint32_t bit = 0; bit < 2; ++bit) {
        const std::uint32_t branch = build.branches[2 * node + bit];
        const std::uint32_t childPath = path | bit << depth;
        const unsigned childDepth = depth + 1;
        if (branch == unusedBranch) {
            fillPrefix(table, tableBits, childPath, childDepth,
                       makeEntry(kindUnused, 0, 0, childDepth));
        } else if (branch < build.symbolCount) {
            fillPrefix(table, tableBits, childPath, childDepth,
                       leafEntry(build.alphabet, branch, childDepth));
        } else if (childDepth < tableBits) {
            fillBelow(build, tableStart, tableBits, branch - build.symbolCount, childDepth,
                      childPath);
        } else {
            const std::uint32_t child = branch - build.symbolCount;
            const unsigned subBits = subtreeDepth(build, child);
            const std::size_t subStart = build.used;
            build.used += std::size_t{1} << subBits;
            table[childPath] = makeLink(static_cast<std::uint32_t>(subStart), subBits, tableBits);
            fillBelow(build, subStart, subBits, child, 0, 0);
        }
    }
}

} // namespace

void buildTable(std::uint32_t* entries, unsigned tableBits, const std::uint32_t* branches,
                std::uint32_t symbolCount, Alphabet alphabet) {
    TableBuild build{branches, symbolCount, alphabet, entries, std::size_t{1} << tableBits};
    fillBelow(build, 0, tableBits, 0, 0, 0);
}
