#include "media/inflate_tables.h"

#include "media/deflate_format.h"

#include <algorithm>
#include <cstring>

namespace {

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

constexpr std::array<std::uint8_t, 256> makeByteReversal() {
    std::array<std::uint8_t, 256> reversed{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned value = 0;
        for (unsigned bit = 0; bit < 8; ++bit) {
            value |= ((byte >> bit) & 1u) << (7 - bit);
        }
        reversed[byte] = static_cast<std::uint8_t>(value);
    }
    return reversed;
}

constexpr std::array<std::uint8_t, 256> byteReversal = makeByteReversal();

// The `bits` (at most 16) low bits of `code` in reverse order: a code's first bit, its highest,
// is the lowest of a table index.
std::uint32_t reverseBits(std::uint32_t code, unsigned bits) {
    const std::uint32_t reversed16 = static_cast<std::uint32_t>(byteReversal[code & 0xFF]) << 8 |
                                     byteReversal[(code >> 8) & 0xFF];
    return reversed16 >> (16 - bits);
}

// Sets every entry of a table of 2^tableBits entries whose index ends in the `bits` of `path`.
void fillEvery(std::uint32_t* table, unsigned tableBits, std::uint32_t path, unsigned bits,
               std::uint32_t entry) {
    for (std::uint32_t index = path; index < (1u << tableBits); index += 1u << bits) {
        table[index] = entry;
    }
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

bool buildCompleteTable(std::uint32_t* entries, unsigned tableBits, const unsigned* lengths,
                        std::uint32_t symbolCount, unsigned maxLength, Alphabet alphabet) {
    constexpr unsigned longest = 15;
    // Two counts, for odd and even symbols, so that runs of one length do not wait on each
    // other's increments.
    std::array<std::array<std::uint32_t, 16>, 2> counts{};
    unsigned largest = 0;
    for (std::uint32_t symbol = 0; symbol < symbolCount; ++symbol) {
        largest = std::max(largest, lengths[symbol]);
        ++counts[symbol & 1][lengths[symbol] & 15];
    }
    if (largest > maxLength || largest > longest) {
        return false;
    }
    std::array<std::uint32_t, longest + 1> lengthCount;
    for (unsigned length = 0; length <= longest; ++length) {
        lengthCount[length] = counts[0][length] + counts[1][length];
    }
    // The codes still free at each length: below zero the set is over-subscribed, above zero at
    // the end it is incomplete.
    std::int64_t free = 1;
    for (unsigned length = 1; length <= longest; ++length) {
        free = free * 2 - lengthCount[length];
        if (free < 0) {
            return false;
        }
    }
    if (free != 0) {
        return false;
    }

    // The symbols in the order of their codes: by length, then by symbol.
    std::array<std::uint32_t, longest + 2> start{};
    for (unsigned length = 1; length <= longest; ++length) {
        start[length + 1] = start[length] + lengthCount[length];
    }
    std::array<std::uint16_t, 288> ordered;
    std::array<std::uint32_t, longest + 2> next = start;
    for (std::uint32_t symbol = 0; symbol < symbolCount; ++symbol) {
        if (lengths[symbol] != 0) {
            ordered[next[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
        }
    }

    // The longest code behind each first tableBits bits that lead to a sub-table: codes come in
    // rising order and rising length, so the last one seen is the longest.
    std::array<std::uint8_t, 1u << 10> subTableLength;
    std::uint32_t code = 0;
    for (unsigned length = 1; length <= longest; ++length) {
        for (std::uint32_t k = start[length]; k < start[length + 1]; ++k) {
            if (length > tableBits) {
                subTableLength[code >> (length - tableBits)] = static_cast<std::uint8_t>(length);
            }
            ++code;
        }
        code <<= 1;
    }

    std::size_t used = std::size_t{1} << tableBits;
    std::uint32_t subPrefix = ~0u;
    std::size_t subStart = 0;
    unsigned subBits = 0;
    code = 0;
    for (unsigned length = 1; length <= longest; ++length) {
        // The primary table grows by doubling: the first 2^length entries hold every code up to
        // this length, each as often as its index's low bits allow; the gaps are for longer codes.
        if (length > 1 && length <= tableBits) {
            std::memcpy(entries + (std::size_t{1} << (length - 1)), entries,
                        sizeof(std::uint32_t) << (length - 1));
        }
        for (std::uint32_t k = start[length]; k < start[length + 1]; ++k) {
            const std::uint32_t symbol = ordered[k];
            if (length <= tableBits) {
                entries[reverseBits(code, length)] = leafEntry(alphabet, symbol, length);
            } else {
                const unsigned restBits = length - tableBits;
                const std::uint32_t prefix = code >> restBits;
                if (prefix != subPrefix) {
                    subPrefix = prefix;
                    subBits = subTableLength[prefix] - tableBits;
                    subStart = used;
                    used += std::size_t{1} << subBits;
                    entries[reverseBits(prefix, tableBits)] =
                        makeLink(static_cast<std::uint32_t>(subStart), subBits, tableBits);
                }
                fillEvery(entries + subStart, subBits,
                          reverseBits(code & ((1u << restBits) - 1), restBits), restBits,
                          leafEntry(alphabet, symbol, restBits));
            }
            ++code;
        }
        code <<= 1;
    }
    return true;
}
