// Our PNG and zlib writers against the reference decoders (libpng and zlib as black boxes).
#include "canvas.h"
#include "deflate.h"
#include "noise.h"
#include "png_writer.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> inflateWithZlib(const std::vector<std::uint8_t>& stream,
                                          std::size_t expectedSize) {
    std::vector<std::uint8_t> out(expectedSize + 1);
    uLongf size = static_cast<uLongf>(out.size());
    const int status =
        uncompress(out.data(), &size, stream.data(), static_cast<uLong>(stream.size()));
    EXPECT_EQ(status, Z_OK);
    out.resize(status == Z_OK ? size : 0);
    return out;
}

// Decodes with libpng's simplified API into 8-bit RGBA; empty on failure.
Image decodeWithLibpng(const std::vector<std::uint8_t>& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, file.data(), file.size()) == 0) {
        ADD_FAILURE() << image.message;
        return {};
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        ADD_FAILURE() << image.message;
        return {};
    }
    return Image{static_cast<int>(image.width), static_cast<int>(image.height), pixels};
}

Image makeImage(int width, int height, const std::function<std::uint32_t(int, int)>& pixel) {
    Image image{width, height,
                std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixel(x, y);
            std::uint8_t* p = &image.rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            p[0] = static_cast<std::uint8_t>(v >> 24);
            p[1] = static_cast<std::uint8_t>(v >> 16);
            p[2] = static_cast<std::uint8_t>(v >> 8);
            p[3] = static_cast<std::uint8_t>(v);
        }
    }
    return image;
}

struct ImageCase {
    const char* name;
    Image image;
};

std::vector<ImageCase> imageCases() {
    Random random{99};
    std::vector<ImageCase> cases;
    cases.push_back({"one pixel", makeImage(1, 1, [](int, int) { return 0x12345678u; })});
    cases.push_back({"odd sizes", makeImage(3, 7, [](int x, int y) {
                         return 0x01020300u * (x + 3 * y) + 255u;
                     })});
    cases.push_back(
        {"flat colour (long matches)", makeImage(300, 200, [](int, int) { return 0xC0102AFFu; })});
    cases.push_back({"gradient", makeImage(257, 129, [](int x, int y) {
                         return (static_cast<std::uint32_t>(x) << 24) |
                                (static_cast<std::uint32_t>(y * 2) << 16) |
                                (static_cast<std::uint32_t>((x + y) & 0xFF) << 8) | 0xFFu;
                     })});
    cases.push_back({"noise (literals, many blocks)",
                     makeImage(200, 180, [&](int, int) { return nextRandom(random); })});
    cases.push_back({"sprite with clear border", makeImage(96, 96, [](int x, int y) {
                         const int dx = x - 48;
                         const int dy = y - 48;
                         return dx * dx + dy * dy < 1600 ? 0xE0303AFFu : 0x00000000u;
                     })});
    cases.push_back({"repeating tiles (far matches)", makeImage(1024, 64, [](int x, int y) {
                         return hashCoordinates(x % 97, y % 13, 5) | 0xFFu;
                     })});
    return cases;
}

TEST(PngEncoder, DecodesByteExactWithLibpng) {
    for (const ImageCase& c : imageCases()) {
        SCOPED_TRACE(c.name);
        const Image decoded = decodeWithLibpng(encodePng(c.image));
        EXPECT_EQ(decoded.width, c.image.width);
        EXPECT_EQ(decoded.height, c.image.height);
        EXPECT_TRUE(decoded.rgba == c.image.rgba);
    }
}

TEST(ZlibWriter, InflatesToTheInputWithZlib) {
    Random random{7};
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"one byte", {42}});
    cases.push_back({"zeros across many blocks", std::vector<std::uint8_t>(300000, 0)});
    std::vector<std::uint8_t> noise(100000);
    for (std::uint8_t& b : noise) {
        b = static_cast<std::uint8_t>(nextRandom(random));
    }
    cases.push_back({"random bytes", noise});
    std::string text;
    for (int i = 0; i < 4000; ++i) {
        text += "white cell " + std::to_string(i % 37) + " drifts down the vessel; ";
    }
    cases.push_back({"text", std::vector<std::uint8_t>(text.begin(), text.end())});
    // A period just under the window, so matches reach back the full 32 KiB.
    std::vector<std::uint8_t> far(32767 * 3);
    for (std::size_t i = 0; i < far.size(); ++i) {
        far[i] = static_cast<std::uint8_t>(hashCoordinates(static_cast<int>(i % 32767), 0, 3));
    }
    cases.push_back({"repeats 32767 bytes back", far});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> stream = compressZlib(c.data);
        EXPECT_TRUE(inflateWithZlib(stream, c.data.size()) == c.data);
        EXPECT_EQ(adler32(c.data), ::adler32(::adler32(0, nullptr, 0), c.data.data(),
                                             static_cast<uInt>(c.data.size())));
    }
}

TEST(ZlibWriter, CompressesWhatRepeats) {
    const std::vector<std::uint8_t> zeros(100000, 0);
    EXPECT_LT(compressZlib(zeros).size(), 1000u);
}

TEST(SpriteFinish, ClearPixelsTakeTheColourOfTheNearestOpaqueOnes) {
    Canvas canvas = makeCanvas(9, 9);
    blendPixel(canvas, 4, 4, rgb(0xE0203A), 1.0f);
    blendPixel(canvas, 0, 0, rgb(0x20E040), 0.4f); // under half covered: becomes clear
    const Image sprite = finishSprite(canvas);
    for (int i = 0; i < 81; ++i) {
        const std::uint8_t* p = &sprite.rgba[static_cast<std::size_t>(i) * 4];
        SCOPED_TRACE(i);
        EXPECT_EQ(p[3], i == 40 ? 255 : 0);
        EXPECT_EQ(p[0], 0xE0);
        EXPECT_EQ(p[1], 0x20);
        EXPECT_EQ(p[2], 0x3A);
    }
}

} // namespace
