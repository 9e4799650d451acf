#include "platform/key_state.h"
#include "platform/settings.h"
#include "platform/window.h"
#include "support/fake_platform.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        keyState.fill(0);
        gameSettings = GameSettings{50, 50, true, 600, 800};
        fake = &installFakePlatform();
    }
    FakePlatform* fake = nullptr;
};

TEST_F(WindowTest, FailuresShowTheirMessageAndEndWithStatusOne) {
    struct Case {
        WindowResult result;
        const char* text;
        BoxIcon icon;
    };
    const Case cases[] = {
        {WindowResult::displayModeRefused, "Program Will Now Close.", BoxIcon::stop},
        {WindowResult::windowFailed, "Window Creation Error.", BoxIcon::exclamation},
        {WindowResult::contextFailed, "Can't Create A GL Rendering Context.", BoxIcon::exclamation},
        {WindowResult::activateFailed, "Can't Activate The GL Rendering Context.",
         BoxIcon::exclamation},
    };
    for (const Case& c : cases) {
        fake = &installFakePlatform();
        fake->windowResult = c.result;
        int status = -1;
        try {
            createGameWindow();
        } catch (const ProcessExit& exit) {
            status = exit.status;
        }
        EXPECT_EQ(status, 1) << c.text;
        ASSERT_EQ(fake->boxes.size(), 1u) << c.text;
        EXPECT_EQ(fake->boxes[0].text, c.text);
        EXPECT_EQ(fake->boxes[0].caption, "ERROR");
        EXPECT_EQ(fake->boxes[0].icon, c.icon);
    }
}

TEST_F(WindowTest, WindowHasTheConfiguredSizeAndTheFixedGlState) {
    gameSettings.screenWidth = 1280;
    gameSettings.screenHeight = 800;
    createGameWindow();
    EXPECT_EQ(fake->windowWidth, 1280);
    EXPECT_EQ(fake->windowHeight, 800);
    EXPECT_TRUE(fake->windowFullScreen);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1280);
    EXPECT_EQ(viewport[3], 800);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    EXPECT_NEAR(projection[5], f, 1e-5);
    EXPECT_NEAR(projection[0], f / 1.6, 1e-5) << "aspect follows the configured size";
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LEQUAL);
    GLint alphaFunc = 0;
    float alphaRef = 0;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunc);
    glGetFloatv(GL_ALPHA_TEST_REF, &alphaRef);
    EXPECT_EQ(alphaFunc, GL_GREATER);
    EXPECT_NEAR(alphaRef, 0.1f, 1e-6);
}

TEST_F(WindowTest, ShutDownRestoresTheModeSetAtStartUp) {
    createGameWindow();
    gameSettings.fullScreen = false; // changed on the settings screen meanwhile
    destroyGameWindow();
    EXPECT_TRUE(fake->displayRestored);

    fake = &installFakePlatform();
    gameSettings.fullScreen = false;
    createGameWindow();
    gameSettings.fullScreen = true;
    destroyGameWindow();
    EXPECT_FALSE(fake->displayRestored);
}

TEST_F(WindowTest, WindowProcKeepsKeyStateAndTurnsCloseIntoQuit) {
    windowProc(WindowMessage{MessageKind::keyDown, vkUp});
    EXPECT_EQ(keyState[vkUp], 1);
    keyState[vkUp] = 0;                                    // a reader marks the press as used
    windowProc(WindowMessage{MessageKind::keyDown, vkUp}); // auto-repeat sets it again
    EXPECT_EQ(keyState[vkUp], 1);
    windowProc(WindowMessage{MessageKind::keyUp, vkUp});
    EXPECT_EQ(keyState[vkUp], 0);

    windowProc(WindowMessage{MessageKind::close, 0});
    ASSERT_EQ(fake->queue.size(), 1u);
    EXPECT_EQ(fake->queue.front().kind, MessageKind::quit);
    EXPECT_EQ(fake->queue.front().wParam, 0u);
}

} // namespace
