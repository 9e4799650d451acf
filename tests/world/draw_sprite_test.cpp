#include "support/fake_platform.h"
#include "world/game_object.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

class DrawSpriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fake = &installFakePlatform();
        ensureGlContext();
        fake->drawLogOn = true;
    }
    FakePlatform* fake = nullptr;
};

GameObject spriteRecord(std::int32_t type) {
    GameObject object;
    object.type = type;
    object.texture = 7;
    object.x = 1.5f;
    object.y = 0;
    object.z = -2.0f;
    object.width = 13.8f;
    object.height = 10.4f;
    object.angle = 30;
    object.visible = true;
    return object;
}

TEST_F(DrawSpriteTest, InvisibleRecordDrawsNothingAndDoesNotScroll) {
    for (std::int32_t type : {kindSway, kindScroll}) {
        SCOPED_TRACE(type);
        GameObject object = spriteRecord(type);
        object.visible = false;
        drawSprite(object);
        EXPECT_TRUE(fake->drawLog.empty());
        EXPECT_EQ(object.y, 0.0f);
    }
}

TEST_F(DrawSpriteTest, VisibleRecordDrawsOneQuadWhereItIs) {
    GameObject object = spriteRecord(kindStill);
    object.y = -2.8f;
    drawSprite(object);
    ASSERT_EQ(fake->drawLog.size(), 1u);
    const DrawRecord& quad = fake->drawLog[0];
    EXPECT_EQ(quad.kind, DrawRecord::Kind::sprite);
    EXPECT_EQ(quad.texture, 7u);
    EXPECT_EQ(quad.x, 1.5f);
    EXPECT_EQ(quad.y, -2.8f);
    EXPECT_EQ(quad.z, -2.0f);
    EXPECT_EQ(quad.width, 13.8f);
    EXPECT_EQ(quad.height, 10.4f);
    EXPECT_EQ(quad.angle, 30.0f);
    EXPECT_EQ(object.y, -2.8f);
}

TEST_F(DrawSpriteTest, ScrollRecordSlidesAndDrawsASecondCopyAbove) {
    GameObject object = spriteRecord(kindScroll);
    drawSprite(object);
    EXPECT_FLOAT_EQ(object.y, -0.05f);
    ASSERT_EQ(fake->drawLog.size(), 2u);
    EXPECT_EQ(fake->drawLog[0].y, 0.0f) << "the first copy is drawn before the slide";
    EXPECT_EQ(fake->drawLog[0].angle, 30.0f);
    EXPECT_NEAR(fake->drawLog[1].y, 10.35f, 1e-5);
    EXPECT_EQ(fake->drawLog[1].x, 1.5f);
    EXPECT_EQ(fake->drawLog[1].z, -2.0f);
    EXPECT_EQ(fake->drawLog[1].angle, 0.0f) << "the second copy is not rotated";
    EXPECT_EQ(fake->drawLog[1].texture, 7u);
}

TEST_F(DrawSpriteTest, ScrollRecordAboveZeroDrawsOnlyItself) {
    GameObject object = spriteRecord(kindScroll);
    object.y = 0.5f;
    drawSprite(object);
    EXPECT_FLOAT_EQ(object.y, 0.45f);
    EXPECT_EQ(fake->drawLog.size(), 1u);
}

TEST_F(DrawSpriteTest, ScrollRecordWrapsOnItsTwoHundredEighthFrame) {
    GameObject object = spriteRecord(kindScroll);
    for (int frame = 1; frame <= 207; ++frame) {
        drawSprite(object);
        ASSERT_LT(object.y, 0.0f) << "frame " << frame;
    }
    EXPECT_LT(object.y, -10.3f);
    fake->drawLog.clear();
    drawSprite(object);
    EXPECT_EQ(object.y, 0.0f);
    ASSERT_EQ(fake->drawLog.size(), 2u) << "both copies are drawn before the wrap";
    EXPECT_NEAR(fake->drawLog[1].y, 0.0f, 1e-4);

    // An invisible frame does not count.
    object.visible = false;
    drawSprite(object);
    EXPECT_EQ(object.y, 0.0f);
}

// The quad's orientation on screen: texture row 0 (the picture's top) at the top, column 0 at
// the left, and the rotation about the quad's centre.
struct PixelCase {
    std::string name;
    float angle;
    int topLeftRed; // which of the four texels shows in the screen's corners
    int bottomRightRed;
};

class DrawSpritePixels : public DrawSpriteTest {
  protected:
    void SetUp() override {
        DrawSpriteTest::SetUp();
        glViewport(0, 0, 64, 64);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, 1);
        // 2 x 2 texels, each with its own red: 10 20 on the first row, 30 40 on the second.
        const std::uint8_t texels[16] = {10, 0, 0, 255, 20, 0, 0, 255,
                                         30, 0, 0, 255, 40, 0, 0, 255};
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override { glDeleteTextures(1, &texture); }

    std::uint8_t redAt(int x, int y) {
        std::uint8_t pixel[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        return pixel[0];
    }
    GLuint texture = 0;
};

TEST_F(DrawSpritePixels, PictureTopIsDrawnAtTheQuadTopAndTurnsWithTheAngle) {
    const std::vector<PixelCase> cases = {
        {"upright", 0, 10, 40},
        {"a half turn", 180, 40, 10},
        {"a quarter turn counter-clockwise", 90, 20, 30},
    };
    for (const PixelCase& pixelCase : cases) {
        SCOPED_TRACE(pixelCase.name);
        glClear(GL_COLOR_BUFFER_BIT);
        GameObject object;
        object.type = kindStill;
        object.texture = texture;
        object.width = 2.0f;
        object.height = 2.0f;
        object.angle = pixelCase.angle;
        object.visible = true;
        drawSprite(object);
        glFinish();
        // glReadPixels counts rows from the bottom of the window.
        EXPECT_EQ(redAt(8, 56), pixelCase.topLeftRed);
        EXPECT_EQ(redAt(56, 8), pixelCase.bottomRightRed);
    }
}

} // namespace
