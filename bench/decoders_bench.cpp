// Our inflate against zlib's uncompress, and our PNG decoder against libpng set up for the same
// RGBA8 output, on identical inputs: 1 MiB streams, the whole PngSuite, a 1024 x 1024 photo-like
// picture and a 512 x 512 sprite sheet with large transparent areas.
#include "media/inflate.h"
#include "media/png.h"
#include "png_oracle.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

struct Stream {
    Bytes compressed;
    std::size_t originalSize = 0;
};

Stream compressed(const Bytes& data) {
    uLongf size = compressBound(data.size());
    Stream stream{Bytes(size), data.size()};
    compress2(stream.compressed.data(), &size, data.data(), data.size(), 6);
    stream.compressed.resize(size);
    return stream;
}

// Text-like data: words from a small vocabulary, long repeats and literals mixed.
const Stream& textStream() {
    static const Stream stream = [] {
        std::mt19937 random(1);
        const std::vector<std::string> words = {"virus ",  "vessel ",  "white ", "cell ",
                                                "bubble ", "syringe ", "oil ",   "score ",
                                                "level ",  "blood "};
        Bytes data;
        while (data.size() < (1u << 20)) {
            const std::string& word = words[random() % words.size()];
            data.insert(data.end(), word.begin(), word.end());
        }
        data.resize(1u << 20);
        return compressed(data);
    }();
    return stream;
}

// Noisy bytes of low entropy, which leave mostly literals.
const Stream& noisyStream() {
    static const Stream stream = [] {
        std::mt19937 random(2);
        Bytes data(1u << 20);
        for (unsigned char& byte : data) {
            byte = static_cast<unsigned char>(random() % 16);
        }
        return compressed(data);
    }();
    return stream;
}

void runOurInflate(benchmark::State& state, const Stream& stream) {
    Bytes out;
    for (auto _ : state) {
        out.clear();
        const unsigned error = inflateZlibStream(out, stream.compressed);
        benchmark::DoNotOptimize(error);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.originalSize));
}

void runZlibUncompress(benchmark::State& state, const Stream& stream) {
    Bytes out(stream.originalSize);
    for (auto _ : state) {
        uLongf size = out.size();
        const int result =
            uncompress(out.data(), &size, stream.compressed.data(), stream.compressed.size());
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.originalSize));
}

void BM_InflateText_Ours(benchmark::State& state) {
    runOurInflate(state, textStream());
}
void BM_InflateText_Zlib(benchmark::State& state) {
    runZlibUncompress(state, textStream());
}
void BM_InflateNoisy_Ours(benchmark::State& state) {
    runOurInflate(state, noisyStream());
}
void BM_InflateNoisy_Zlib(benchmark::State& state) {
    runZlibUncompress(state, noisyStream());
}
BENCHMARK(BM_InflateText_Ours);
BENCHMARK(BM_InflateText_Zlib);
BENCHMARK(BM_InflateNoisy_Ours);
BENCHMARK(BM_InflateNoisy_Zlib);

// --- PNG ------------------------------------------------------------------------------------

const std::vector<Bytes>& pngSuite() {
    static const std::vector<Bytes> files = [] {
        std::vector<Bytes> good;
        for (const std::string& path : pngSuiteFiles()) {
            Bytes file = readFileBytes(path);
            OraclePicture picture;
            if (decodeWithLibpng(file, picture)) {
                good.push_back(std::move(file));
            }
        }
        return good;
    }();
    return files;
}

// Smooth gradients with grain, as a photograph compresses.
const std::vector<Bytes>& photo() {
    static const std::vector<Bytes> files = [] {
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
                image.rows.push_back(255);
            }
        }
        return std::vector<Bytes>{encodeWithLibpng(image)};
    }();
    return files;
}

// Sprites: filled circles of a few flat colours on a transparent background.
const std::vector<Bytes>& sprites() {
    static const std::vector<Bytes> files = [] {
        OracleImage image{512, 512, 8, 6, false, Bytes(512 * 512 * 4, 0), {}, {}};
        for (int sprite = 0; sprite < 16; ++sprite) {
            const int centreX = 64 + 128 * (sprite % 4);
            const int centreY = 64 + 128 * (sprite / 4);
            const int radius = 20 + 2 * sprite;
            for (int y = centreY - radius; y <= centreY + radius; ++y) {
                for (int x = centreX - radius; x <= centreX + radius; ++x) {
                    if ((x - centreX) * (x - centreX) + (y - centreY) * (y - centreY) >
                        radius * radius) {
                        continue;
                    }
                    unsigned char* pixel = &image.rows[(static_cast<std::size_t>(y) * 512 + x) * 4];
                    pixel[0] = static_cast<unsigned char>(40 * (sprite % 6));
                    pixel[1] = static_cast<unsigned char>(200 - 10 * sprite);
                    pixel[2] = static_cast<unsigned char>(x ^ y);
                    pixel[3] = 255;
                }
            }
        }
        return std::vector<Bytes>{encodeWithLibpng(image)};
    }();
    return files;
}

void runOurPng(benchmark::State& state, const std::vector<Bytes>& files) {
    Bytes pixels;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        for (const Bytes& file : files) {
            std::uint32_t width = 0;
            std::uint32_t height = 0;
            const unsigned error = pngToRgba(pixels, width, height, file.data(), file.size());
            benchmark::DoNotOptimize(error);
            bytes += static_cast<std::int64_t>(pixels.size());
        }
    }
    state.SetBytesProcessed(bytes);
}

void runLibpng(benchmark::State& state, const std::vector<Bytes>& files) {
    OraclePicture picture;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        for (const Bytes& file : files) {
            const bool decoded = decodeWithLibpng(file, picture);
            benchmark::DoNotOptimize(decoded);
            bytes += static_cast<std::int64_t>(picture.rgba.size());
        }
    }
    state.SetBytesProcessed(bytes);
}

void BM_PngSuite_Ours(benchmark::State& state) {
    runOurPng(state, pngSuite());
}
void BM_PngSuite_Libpng(benchmark::State& state) {
    runLibpng(state, pngSuite());
}
void BM_PngPhoto1024_Ours(benchmark::State& state) {
    runOurPng(state, photo());
}
void BM_PngPhoto1024_Libpng(benchmark::State& state) {
    runLibpng(state, photo());
}
void BM_PngSprites512_Ours(benchmark::State& state) {
    runOurPng(state, sprites());
}
void BM_PngSprites512_Libpng(benchmark::State& state) {
    runLibpng(state, sprites());
}
BENCHMARK(BM_PngSuite_Ours);
BENCHMARK(BM_PngSuite_Libpng);
BENCHMARK(BM_PngPhoto1024_Ours);
BENCHMARK(BM_PngPhoto1024_Libpng);
BENCHMARK(BM_PngSprites512_Ours);
BENCHMARK(BM_PngSprites512_Libpng);

} // namespace

BENCHMARK_MAIN();
