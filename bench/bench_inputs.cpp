#include "bench_inputs.h"

#include "media/inflate.h"
#include "media/png.h"
#include "png_oracle.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>

namespace {

std::uint32_t readBigEndian32(const unsigned char* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

// The data of all IDAT chunks of a well-formed PNG file, joined: the zlib stream both decoders
// decompress.
Bytes joinIdat(const Bytes& file) {
    Bytes stream;
    std::size_t pos = 8;
    while (pos + 12 <= file.size()) {
        const std::size_t length = readBigEndian32(file.data() + pos);
        if (pos + 12 + length > file.size()) {
            break;
        }
        if (std::memcmp(file.data() + pos + 4, "IDAT", 4) == 0) {
            const auto start = file.begin() + static_cast<std::ptrdiff_t>(pos + 8);
            stream.insert(stream.end(), start, start + static_cast<std::ptrdiff_t>(length));
        }
        pos += 12 + length;
    }
    return stream;
}

// zlib's whole output for a stream, or false when zlib refuses it.
bool inflateWithZlib(const Bytes& compressed, Bytes& out) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        return false;
    }
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    out.clear();
    unsigned char chunk[1 << 16];
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = chunk;
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        out.insert(out.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END;
}

void noteProblem(BenchInput& input, const std::string& what) {
    if (input.problem.empty()) {
        input.problem = what;
    }
}

// Adds a stream after checking that our inflate gives exactly zlib's output.
void addStream(BenchInput& input, Bytes compressed, const std::string& label) {
    Bytes expected;
    if (!inflateWithZlib(compressed, expected)) {
        noteProblem(input, label + ": zlib refuses the stream");
        return;
    }
    Bytes ours;
    if (inflateZlibStream(ours, compressed) != 0 || ours != expected) {
        noteProblem(input, label + ": our inflate differs from zlib");
    }
    input.inflatedBytes += expected.size();
    input.streams.push_back(ZlibStream{std::move(compressed), expected.size()});
}

// Adds a file libpng decodes, after checking that our decoder gives exactly libpng's pixels.
// Returns false, adding nothing, for a file libpng refuses.
bool addPngFile(BenchInput& input, Bytes file, const std::string& label) {
    OraclePicture expected;
    if (!decodeWithLibpng(file, expected)) {
        return false;
    }
    Bytes ours;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (pngToRgba(ours, width, height, file.data(), file.size()) != 0 || ours != expected.rgba) {
        noteProblem(input, label + ": our decoder differs from libpng");
    }
    addStream(input, joinIdat(file), label);
    input.rgbaBytes += expected.rgba.size();
    input.pngFiles.push_back(std::move(file));
    return true;
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

Bytes compressedAtLevel6(const Bytes& data) {
    uLongf size = compressBound(data.size());
    Bytes out(size);
    compress2(out.data(), &size, data.data(), data.size(), 6);
    out.resize(size);
    return out;
}

} // namespace

BenchInput pngSuiteInput() {
    BenchInput input{"PngSuite", {}, {}, 0, 0, {}};
    for (const std::string& path : pngSuiteFiles()) {
        addPngFile(input, readFileBytes(path), fileName(path));
    }
    if (input.pngFiles.empty()) {
        noteProblem(input, "no PngSuite in " + pngSuiteDirectory());
    }
    return input;
}

std::vector<BenchInput> pngSuiteFileInputs() {
    std::vector<BenchInput> inputs;
    for (const std::string& path : pngSuiteFiles()) {
        BenchInput input{"PngSuite/" + fileName(path), {}, {}, 0, 0, {}};
        if (addPngFile(input, readFileBytes(path), fileName(path))) {
            inputs.push_back(std::move(input));
        }
    }
    return inputs;
}

BenchInput runDirectoryInput(const std::string& directory) {
    BenchInput input{"RunDirectory", {}, {}, 0, 0, {}};
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".png") {
            paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) {
        if (!addPngFile(input, readFileBytes(path), path)) {
            noteProblem(input, path + ": libpng refuses it");
        }
    }
    if (paths.empty()) {
        noteProblem(input, "no pictures in " + directory + " (build the run-data target)");
    }
    return input;
}

BenchInput photoInput() {
    OracleImage image{1024, 1024, 8, 6, false, {}, {}, {}};
    std::mt19937 random(3);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        for (std::uint32_t x = 0; x < image.width; ++x) {
            const double shade = 0.5 + 0.5 * std::sin(x * 0.013) * std::cos(y * 0.021);
            const int grain = static_cast<int>(random() % 9) - 4;
            image.rows.push_back(static_cast<unsigned char>(
                std::clamp(static_cast<int>(200 * shade) + grain, 0, 255)));
            image.rows.push_back(static_cast<unsigned char>((x + y) / 8 + grain + 4));
            image.rows.push_back(static_cast<unsigned char>(255 - y / 4));
            image.rows.push_back(static_cast<unsigned char>(std::clamp(
                static_cast<int>(255 - std::hypot(x - 512.0, y - 512.0) / 4) + grain, 0, 255)));
        }
    }
    BenchInput input{"Photo1024", {}, {}, 0, 0, {}};
    addPngFile(input, encodeWithLibpng(image), "photo");
    return input;
}

BenchInput spriteSheetInput() {
    constexpr int side = 1024;
    constexpr int cell = 64;
    OracleImage image{side, side, 8, 6, false, Bytes(std::size_t{side} * side * 4, 0), {}, {}};
    for (int sprite = 0; sprite < (side / cell) * (side / cell); ++sprite) {
        const int centreX = cell / 2 + cell * (sprite % (side / cell));
        const int centreY = cell / 2 + cell * (sprite / (side / cell));
        const int radius = 10 + sprite % 21;
        for (int y = centreY - radius; y <= centreY + radius; ++y) {
            for (int x = centreX - radius; x <= centreX + radius; ++x) {
                const int distance2 = (x - centreX) * (x - centreX) + (y - centreY) * (y - centreY);
                if (distance2 > radius * radius) {
                    continue;
                }
                unsigned char* pixel = &image.rows[(static_cast<std::size_t>(y) * side + x) * 4];
                const bool rim = distance2 > (radius - 3) * (radius - 3);
                pixel[0] = static_cast<unsigned char>(rim ? 20 : 40 * (sprite % 6));
                pixel[1] = static_cast<unsigned char>(rim ? 10 : 200 - sprite % 150);
                pixel[2] = static_cast<unsigned char>(rim ? 30 : (sprite * 7) % 256);
                pixel[3] = static_cast<unsigned char>(rim ? 160 : 255);
            }
        }
    }
    BenchInput input{"Sprites1024", {}, {}, 0, 0, {}};
    addPngFile(input, encodeWithLibpng(image), "sprite sheet");
    return input;
}

BenchInput textStreamInput() {
    std::mt19937 random(1);
    const std::vector<std::string> words = {"virus ",   "vessel ", "white ", "cell ",  "bubble ",
                                            "syringe ", "oil ",    "score ", "level ", "blood "};
    Bytes data;
    while (data.size() < (1u << 20)) {
        const std::string& word = words[random() % words.size()];
        data.insert(data.end(), word.begin(), word.end());
    }
    data.resize(1u << 20);
    BenchInput input{"Text1M", {}, {}, 0, 0, {}};
    addStream(input, compressedAtLevel6(data), "text");
    return input;
}

BenchInput noisyStreamInput() {
    std::mt19937 random(2);
    Bytes data(1u << 20);
    for (unsigned char& byte : data) {
        byte = static_cast<unsigned char>(random() % 16);
    }
    BenchInput input{"Noisy1M", {}, {}, 0, 0, {}};
    addStream(input, compressedAtLevel6(data), "noisy");
    return input;
}
