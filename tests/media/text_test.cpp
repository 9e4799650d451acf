#include "media/media_fixtures.h"
#include "media/text.h"
#include "support/fake_platform.h"

#include <FTGL/ftgl.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace {

constexpr int viewWidth = 400;
constexpr int viewHeight = 200;

void setPixelProjection() {
    glViewport(0, 0, viewWidth, viewHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, viewWidth, 0, viewHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

struct Ink {
    int rows = 0;                       // height of the inked area in pixels
    float red = 0, green = 0, blue = 0; // colour of the brightest inked pixel
};

Ink readInk() {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(viewWidth * viewHeight * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, viewWidth, viewHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    Ink ink;
    int top = -1;
    int bottom = viewHeight;
    int brightest = 0;
    for (int y = 0; y < viewHeight; ++y) {
        for (int x = 0; x < viewWidth; ++x) {
            const unsigned char* p = &pixels[static_cast<std::size_t>((y * viewWidth + x) * 4)];
            const int sum = p[0] + p[1] + p[2];
            if (sum > 3 * 128) {
                top = std::max(top, y);
                bottom = std::min(bottom, y);
            }
            if (sum > brightest) {
                brightest = sum;
                ink.red = p[0] / 255.0f;
                ink.green = p[1] / 255.0f;
                ink.blue = p[2] / 255.0f;
            }
        }
    }
    ink.rows = top < 0 ? 0 : top - bottom + 1;
    return ink;
}

std::vector<float> currentColour() {
    float colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    return {colour[0], colour[1], colour[2], colour[3]};
}

const std::vector<float> white{1, 1, 1, 1};

// Runs in a child whose working directory holds "csnpwdt.ttf", since the game's font is made
// before any test code runs.
TEST(TextChild, DISABLED_DrawWithTheFont) {
    ASSERT_TRUE(std::filesystem::exists("csnpwdt.ttf"));
    installFakePlatform();
    ensureGlContext();
    FTPixmapFont reference("csnpwdt.ttf");
    ASSERT_EQ(reference.Error(), 0);
    // Back to a size drawn before, and the same size twice: each draw takes its own size.
    for (const int size : {0, 10, 0, 0}) {
        SCOPED_TRACE(size);
        setPixelProjection();
        drawText("H", 50, 50, 1, 1, 1, size);
        reference.FaceSize(static_cast<unsigned>(size + 20), 72);
        const FTBBox box = reference.BBox("H");
        const double expected = box.Upper().Yf() - box.Lower().Yf();
        EXPECT_NEAR(readInk().rows, expected, 1.5);
        EXPECT_EQ(currentColour(), white);
    }
    // FTGL's pixmap glyphs take the raster colour, latched when the position is set: the white
    // the previous call left, not the colour given, which is set after the position.
    setPixelProjection();
    drawText("HHH", 50, 50, 1, 0, 0, 10);
    const Ink ink = readInk();
    EXPECT_GT(ink.rows, 0);
    EXPECT_GT(ink.red + ink.green + ink.blue, 2.9f);
    EXPECT_EQ(currentColour(), white);

    setPixelProjection();
    glColor3f(0.2f, 0.3f, 0.4f);
    drawText("", 50, 50, 0, 0, 0, 0);
    EXPECT_EQ(readInk().rows, 0);
    EXPECT_EQ(currentColour(), white);
}

std::string fontForTests() {
    const std::filesystem::path runFont = std::filesystem::path(HEMORUNE_RUN_DIR) / "csnpwdt.ttf";
    if (std::filesystem::exists(runFont)) {
        return runFont.string();
    }
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
}

TEST(DrawText, DrawsAtSizePlusTwentyPixelsAndLeavesTheColourWhite) {
    const std::string font = fontForTests();
    ASSERT_TRUE(std::filesystem::exists(font)) << font;
    ScratchDir dir;
    std::filesystem::copy_file(font, dir.file("csnpwdt.ttf"));
    const ChildRun run = runChildTest("TextChild.DISABLED_DrawWithTheFont", dir.path.string(), {});
    EXPECT_EQ(run.status, 0) << run.output;
}

// This program's working directory has no "csnpwdt.ttf", so its font failed to load at start.
TEST(DrawText, WithoutTheFontNothingIsShownAndTheColourIsLeftWhite) {
    ASSERT_FALSE(std::filesystem::exists("csnpwdt.ttf"));
    FakePlatform& fake = installFakePlatform();
    fake.drawLogOn = true;
    ensureGlContext();
    setPixelProjection();
    drawText("Score", 10, 20, 0, 0, 0, 5);
    drawText("", 30, 40, 0, 0.5f, 0, 0);
    EXPECT_EQ(readInk().rows, 0);
    EXPECT_EQ(currentColour(), white);
    EXPECT_TRUE(fake.boxes.empty());
    ASSERT_EQ(fake.drawLog.size(), 2u);
    const DrawRecord& record = fake.drawLog[0];
    EXPECT_EQ(record.kind, DrawRecord::Kind::text);
    EXPECT_EQ(record.text, "Score");
    EXPECT_EQ(record.x, 10);
    EXPECT_EQ(record.y, 20);
    EXPECT_EQ(record.size, 5);
    EXPECT_EQ(record.red + record.green + record.blue, 0);
    EXPECT_EQ(fake.drawLog[1].green, 0.5f);
}

} // namespace
