#include "media/sound.h"
#include "platform/key_state.h"
#include "platform/main_loop.h"
#include "platform/settings.h"
#include "platform/window.h"
#include "support/fake_platform.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

// The whole program runs from the generated run directory, as the real one does.
class LoopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousDirectory = std::filesystem::current_path();
        std::filesystem::current_path(HEMORUNE_RUN_DIR);
        keyState.fill(0);
        gameSettings = GameSettings{50, 50, true, 600, 800};
        fake = &installFakePlatform();
        state = std::make_unique<GameState>();
        state->world.player.health = 100; // a healthy player: no frame here ends a game
    }

    // Runs the whole program; returns its exit status, whether it returned or exited.
    int runToEnd() {
        try {
            return runProgram(*state);
        } catch (const ProcessExit& exit) {
            return exit.status;
        }
    }

    void TearDown() override {
        shutDownSound(); // a run that ended by exit skipped the shut-down
        std::filesystem::current_path(previousDirectory);
    }

    std::filesystem::path previousDirectory;
    FakePlatform* fake = nullptr;
    std::unique_ptr<GameState> state;
};

TEST_F(LoopTest, FramePacingSleepsTheRestOfSixteenMilliseconds) {
    struct Case {
        std::uint32_t work;
        std::uint32_t expectedSleep;
    };
    for (const Case& c : {Case{0, 16}, Case{10, 6}, Case{15, 1}, Case{16, 0}, Case{40, 0}}) {
        fake->sleptTotal = 0;
        const std::uint32_t start = fake->now;
        fake->now += c.work;
        paceFrame(start);
        EXPECT_EQ(fake->sleptTotal, c.expectedSleep) << "work " << c.work;
    }
}

TEST_F(LoopTest, ClockDifferencesWrapAround) {
    fake->now = 0xFFFFFFF8u;
    const std::uint32_t start = fake->now;
    fake->now += 10; // wraps past zero
    fake->sleptTotal = 0;
    paceFrame(start);
    EXPECT_EQ(fake->sleptTotal, 6u);
}

TEST_F(LoopTest, CloseInTheMenuEndsWithStatusZeroWithoutAnotherFrame) {
    fake->onSwap = [](FakePlatform& platform) {
        if (platform.swaps == 3) {
            closeWindow(platform);
        }
    };
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_EQ(fake->swaps, 3u);
    EXPECT_FALSE(fake->windowOpen);
    EXPECT_TRUE(fake->displayRestored);
}

TEST_F(LoopTest, EscapeInTheMenuDoesNothing) {
    fake->onSwap = [](FakePlatform& platform) {
        if (platform.swaps == 1) {
            pressKey(platform, vkEscape);
        }
        if (platform.swaps == 5) {
            closeWindow(platform);
        }
    };
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_EQ(fake->swaps, 5u);
}

TEST_F(LoopTest, EnterOnPlayStartsAGameAndEscapeEndsWithStatusOne) {
    std::uint64_t gameStartSwap = 0;
    fake->onSwap = [&](FakePlatform& platform) {
        if (platform.swaps == 2) {
            pressKey(platform, vkReturn);
        }
        if (state->loop.gameInProgress && gameStartSwap == 0) {
            gameStartSwap = platform.swaps;
            pressKey(platform, vkEscape);
        }
    };
    EXPECT_EQ(runToEnd(), 1);
    EXPECT_TRUE(state->loop.gameInProgress);
    EXPECT_EQ(keyState[vkReturn], 0) << "the start test consumes Enter";
    EXPECT_TRUE(fake->windowOpen) << "Escape skips the shut-down";
}

TEST_F(LoopTest, CloseDuringPlayReturnsToTheMenuWithTheGameKept) {
    int phase = 0;
    fake->onSwap = [&](FakePlatform& platform) {
        if (phase == 0 && platform.swaps == 2) {
            pressKey(platform, vkReturn);
            phase = 1;
        } else if (phase == 1 && state->loop.gameInProgress) {
            closeWindow(platform); // during play: back to the menu
            phase = 2;
        } else if (phase == 2 && state->loop.leaveGame == 1) {
            phase = 3; // this swap is the menu's first frame after the game
            closeWindow(platform);
        }
    };
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_EQ(phase, 3);
    EXPECT_TRUE(state->loop.gameInProgress) << "the game can be resumed";
}

TEST_F(LoopTest, GameLoopDrawsOnlyWhenTheQueueIsEmpty) {
    state->loop.gameInProgress = true;
    pressKey(*fake, vkLeft);
    pressKey(*fake, vkRight);
    runGameIteration(*state);
    runGameIteration(*state);
    EXPECT_EQ(fake->swaps, 0u);
    EXPECT_EQ(keyState[vkLeft], 1);
    EXPECT_EQ(keyState[vkRight], 1);
    runGameIteration(*state);
    EXPECT_EQ(fake->swaps, 1u);
}

TEST_F(LoopTest, OneF1PressGivesOneBoxWithTheRateOfBothLoops) {
    LoopState& loop = state->loop;
    loop.countStart = fake->now;
    // 30 menu frames and 20 game frames at 16 ms each: 50 frames in 800 ms = 62 per second.
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(runMenuIteration(*state));
    }
    state->loop.gameInProgress = true;
    for (int i = 0; i < 19; ++i) {
        runGameIteration(*state);
    }
    pressKey(*fake, vkF1);
    runGameIteration(*state); // takes the key, draws nothing
    runGameIteration(*state); // the 50th frame shows the box before its swap
    ASSERT_EQ(fake->boxes.size(), 1u);
    EXPECT_EQ(fake->boxes[0].text, "62");
    EXPECT_EQ(fake->boxes[0].caption, "FPS-o-meter");
    EXPECT_EQ(fake->boxes[0].icon, BoxIcon::exclamation);
    EXPECT_EQ(keyState[vkF1], 0);
    runGameIteration(*state);
    EXPECT_EQ(fake->boxes.size(), 1u) << "a single press shows a single box";
    EXPECT_EQ(loop.frameCount, 2u) << "the meter restarts when the box closes";
}

TEST_F(LoopTest, FrameRateMeterShowsZeroWhenNoMillisecondPassed) {
    state->loop.countStart = fake->now;
    state->loop.frameCount = 5;
    showFrameRateMeter(state->loop);
    ASSERT_EQ(fake->boxes.size(), 1u);
    EXPECT_EQ(fake->boxes[0].text, "0");
}

TEST_F(LoopTest, ShakeOffsetsAreZeroOrPlusMinusTheAmplitude) {
    ensureGlContext();
    glMatrixMode(GL_MODELVIEW);
    bool seen[2][3] = {};
    for (int i = 0; i < 400; ++i) {
        glLoadIdentity();
        applyScreenShake(0.03f);
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        for (int axis = 0; axis < 2; ++axis) {
            const float offset = m[12 + axis];
            const int index = offset == 0.0f ? 1 : offset == 0.03f ? 2 : offset == -0.03f ? 0 : -1;
            ASSERT_NE(index, -1) << offset;
            seen[axis][index] = true;
        }
        EXPECT_EQ(m[14], 0.0f);
    }
    for (auto& axis : seen) {
        EXPECT_TRUE(axis[0] && axis[1] && axis[2]);
    }
}

TEST_F(LoopTest, ExitEntryQuitsAfterOneMoreFrame) {
    state->loop.menuScreen = 5;
    ASSERT_TRUE(runMenuIteration(*state));
    EXPECT_EQ(fake->swaps, 1u);
    EXPECT_FALSE(runMenuIteration(*state));
    EXPECT_EQ(fake->swaps, 1u);
}

} // namespace
