// The icon's scaler: area-weighted, premultiplied averaging, and the icon it makes at each size.
#include "icon.h"
#include "pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Pixel = std::vector<int>; // r, g, b, a

Image imageOf(int width, int height, const std::vector<Pixel>& pixels) {
    Image image;
    image.width = width;
    image.height = height;
    for (const Pixel& pixel : pixels) {
        for (int channel : pixel) {
            image.rgba.push_back(static_cast<std::uint8_t>(channel));
        }
    }
    return image;
}

Pixel pixelAt(const Image& image, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 4;
    return {image.rgba[at], image.rgba[at + 1], image.rgba[at + 2], image.rgba[at + 3]};
}

double alphaSum(const Image& image) {
    double sum = 0.0;
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
        sum += image.rgba[i];
    }
    return sum;
}

struct ScaleCase {
    const char* name;
    Image source;
    int width;
    int height;
    std::vector<Pixel> expected; // row by row
};

TEST(ScaleImage, AveragesCoveredAreaWithColoursWeightedByAlpha) {
    const Pixel red{255, 0, 0, 255};
    const Pixel clearGreen{0, 255, 0, 0}; // a bled edge colour that must not show
    const Pixel blue{0, 0, 255, 255};
    const std::vector<ScaleCase> cases = {
        {"halving a checker keeps only the opaque colour",
         imageOf(2, 2, {red, clearGreen, clearGreen, red}),
         1,
         1,
         {{255, 0, 0, 128}}},
        {"wholly transparent keeps the bled colour",
         imageOf(2, 1, {clearGreen, {0, 0, 255, 0}}),
         1,
         1,
         {{0, 128, 128, 0}}},
        {"a uniform picture stays uniform",
         imageOf(2, 2, {blue, blue, blue, blue}),
         1,
         1,
         {{0, 0, 255, 255}}},
        {"opaque colours mix evenly", imageOf(2, 1, {red, blue}), 1, 1, {{128, 0, 128, 255}}},
        {"a fractional step shares the middle pixel",
         imageOf(3, 1, {red, blue, clearGreen}),
         2,
         1,
         // [0, 1.5): all of red, half of blue; [1.5, 3): half of blue, all of the clear pixel
         {{170, 0, 85, 255}, {0, 0, 255, 85}}},
        {"the same size copies", imageOf(2, 1, {red, blue}), 2, 1, {red, blue}},
        {"enlarging repeats pixels", imageOf(1, 1, {blue}), 2, 2, {blue, blue, blue, blue}},
    };
    for (const ScaleCase& test : cases) {
        const Image scaled = scaleImage(test.source, test.width, test.height);
        ASSERT_EQ(scaled.width, test.width) << test.name;
        ASSERT_EQ(scaled.height, test.height) << test.name;
        ASSERT_EQ(scaled.rgba.size(), static_cast<std::size_t>(test.width) * test.height * 4)
            << test.name;
        for (int y = 0; y < test.height; ++y) {
            for (int x = 0; x < test.width; ++x) {
                EXPECT_EQ(pixelAt(scaled, x, y), test.expected[y * test.width + x])
                    << test.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(MakeIcon, IsTheRestingVirusAtEverySize) {
    const Image virus = makeVirus(VirusLook::resting);
    ASSERT_EQ(virus.width, virus.height);
    EXPECT_EQ(makeIcon(virus.width).rgba, virus.rgba);
    for (int size : {16, 32, 48, 64, 128}) {
        const Image icon = makeIcon(size);
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        // The virus covers the same share of the square at every size.
        const double share = alphaSum(icon) / (size * size);
        const double sourceShare = alphaSum(virus) / (virus.width * virus.height);
        EXPECT_NEAR(share, sourceShare, 0.01 * sourceShare) << size;
        // The corners are background.
        EXPECT_EQ(pixelAt(icon, 0, 0)[3], 0) << size;
        EXPECT_EQ(pixelAt(icon, size - 1, size - 1)[3], 0) << size;
    }
}

} // namespace
