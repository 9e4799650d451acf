#include "png_writer.h"

#include "deflate.h"

#include <array>
#include <cstdlib>

namespace {

constexpr std::size_t idatChunkSize = 65536;
constexpr int bytesPerPixel = 4;

const std::array<std::uint32_t, 256>& crcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void putUint32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

void writeChunk(std::vector<std::uint8_t>& out, const char (&type)[5],
                std::span<const std::uint8_t> payload) {
    putUint32(out, static_cast<std::uint32_t>(payload.size()));
    const std::size_t typeStart = out.size();
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(type[i]));
    }
    out.insert(out.end(), payload.begin(), payload.end());
    putUint32(out, crc32(std::span<const std::uint8_t>(out).subspan(typeStart)));
}

std::uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return static_cast<std::uint8_t>(a);
    }
    return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// Filters one scanline with filter `type` (0..4) into `out` (without the type byte).
void filterRow(int type, const std::uint8_t* row, const std::uint8_t* above, std::size_t length,
               std::uint8_t* out) {
    for (std::size_t i = 0; i < length; ++i) {
        const int a = i >= bytesPerPixel ? row[i - bytesPerPixel] : 0;
        const int b = above != nullptr ? above[i] : 0;
        const int c = (above != nullptr && i >= bytesPerPixel) ? above[i - bytesPerPixel] : 0;
        int predictor = 0;
        switch (type) {
        case 1:
            predictor = a;
            break;
        case 2:
            predictor = b;
            break;
        case 3:
            predictor = (a + b) / 2;
            break;
        case 4:
            predictor = paeth(a, b, c);
            break;
        default:
            break;
        }
        out[i] = static_cast<std::uint8_t>(row[i] - predictor);
    }
}

// Each row takes the filter whose output has the smallest sum of magnitudes (as signed bytes),
// the usual heuristic for well-compressing scanlines.
std::vector<std::uint8_t> filterImage(const Image& image) {
    const std::size_t stride = static_cast<std::size_t>(image.width) * bytesPerPixel;
    std::vector<std::uint8_t> filtered;
    filtered.reserve((stride + 1) * image.height);
    std::vector<std::uint8_t> candidate(stride);
    std::vector<std::uint8_t> best(stride);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.rgba.data() + stride * y;
        const std::uint8_t* above = y > 0 ? row - stride : nullptr;
        std::uint64_t bestCost = UINT64_MAX;
        int bestType = 0;
        for (int type = 0; type < 5; ++type) {
            filterRow(type, row, above, stride, candidate.data());
            std::uint64_t cost = 0;
            for (std::uint8_t v : candidate) {
                cost += static_cast<std::uint64_t>(std::abs(static_cast<std::int8_t>(v)));
            }
            if (cost < bestCost) {
                bestCost = cost;
                bestType = type;
                best.swap(candidate);
            }
        }
        filtered.push_back(static_cast<std::uint8_t>(bestType));
        filtered.insert(filtered.end(), best.begin(), best.end());
    }
    return filtered;
}

} // namespace

std::uint32_t crc32(std::span<const std::uint8_t> data) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t byte : data) {
        c = crcTable()[(c ^ byte) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::vector<std::uint8_t> encodePng(const Image& image) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putUint32(header, static_cast<std::uint32_t>(image.width));
    putUint32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(),
                  {8, 6, 0, 0, 0}); // 8-bit RGBA, deflate, adaptive filters, no interlace
    writeChunk(out, "IHDR", header);
    const std::vector<std::uint8_t> compressed = compressZlib(filterImage(image));
    for (std::size_t start = 0; start < compressed.size(); start += idatChunkSize) {
        const std::size_t count = std::min(idatChunkSize, compressed.size() - start);
        writeChunk(out, "IDAT", std::span<const std::uint8_t>(compressed).subspan(start, count));
    }
    writeChunk(out, "IEND", {});
    return out;
}
