// Our own zlib stream writer (RFC 1950/1951): LZ77 over a 32 KiB window, each block coded with
// its own dynamic Huffman codes or the fixed ones, whichever is shorter.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

std::vector<std::uint8_t> compressZlib(std::span<const std::uint8_t> data);

std::uint32_t adler32(std::span<const std::uint8_t> data);
