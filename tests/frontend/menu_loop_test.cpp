#include "menu_fixtures.h"

#include "platform/key_state.h"
#include "platform/main_loop.h"
#include "platform/settings.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

ALint sourceState(const SoundClip& clip) {
    ALint playing = 0;
    alGetSourcei(clip.source, AL_SOURCE_STATE, &playing);
    return playing;
}

ALint sampleOffset(const SoundClip& clip) {
    ALint offset = 0;
    alGetSourcei(clip.source, AL_SAMPLE_OFFSET, &offset);
    return offset;
}

// The whole program on the fake platform, with the fixture menu in place of the loaded one.
class MenuLoopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        keyState.fill(0);
        gameSettings = GameSettings{50, 50, true, 600, 800};
        fake = &installFakePlatform();
        // A loop that misses its way out fails fast with status 99.
        fake->swapLimit = 100;
        state = std::make_unique<GameState>();
        state->menu = loadedMenu();
    }
    void TearDown() override {
        stopMenuMusic();
        keyState.fill(0);
    }

    int runToEnd() {
        WorkingDirectory inScratch(scratch.path());
        try {
            return runProgram(*state);
        } catch (const ProcessExit& exit) {
            return exit.status;
        }
    }

    const SoundClip& music() { return state->menu.background.sounds[0]; }
    void stopMenuMusic() { alSourceStop(music().source); }

    ScratchDirectory scratch;
    FakePlatform* fake = nullptr;
    std::unique_ptr<GameState> state;
};

TEST_F(MenuLoopTest, EnterOnPlayActsOnlyAfterTheFrameWasShownAndPaced) {
    std::uint64_t enterFrame = 0;
    std::uint64_t sleepsAtEnterSwap = 0;
    bool startedBeforeSwap = true;
    bool playShown = false;
    std::uint64_t sleepsAtGameStart = 0;
    fake->onSwap = [&](FakePlatform& platform) {
        if (platform.swaps == 2) {
            pressKey(platform, vkReturn);
            platform.drawLogOn = true;
            platform.drawLog.clear();
        } else if (platform.swaps == 3) {
            // The frame that handled Enter has been drawn; the game has not started yet.
            enterFrame = platform.swaps;
            sleepsAtEnterSwap = platform.sleeps;
            startedBeforeSwap = state->loop.gameInProgress;
            const std::vector<std::string> pictures = picturesDrawn(platform.drawLog);
            playShown = pictures.size() == 7 && pictures[1] == "IMGS/play1.png";
            platform.drawLogOn = false;
        } else if (state->loop.gameInProgress && sleepsAtGameStart == 0) {
            sleepsAtGameStart = platform.sleeps;
            pressKey(platform, vkEscape);
        }
    };
    EXPECT_EQ(runToEnd(), 1);
    EXPECT_EQ(enterFrame, 3u);
    EXPECT_FALSE(startedBeforeSwap);
    EXPECT_TRUE(playShown) << "the frame shows Play highlighted";
    // The Enter frame was paced (one sleep after its swap) before the game's first frame.
    EXPECT_EQ(sleepsAtGameStart, sleepsAtEnterSwap + 1);
    EXPECT_EQ(state->loop.menuScreen, 0);
    EXPECT_EQ(state->loop.menuSelection, 0) << "the highlight stays on Play";
    EXPECT_EQ(keyState[vkReturn], 0) << "the start test consumed Enter";
}

TEST_F(MenuLoopTest, ReturningFromAGameThroughACloseRestartsTheMenuMusicFromItsBeginning) {
    // Halfway through the fixture music: a resumed clip would go on from here.
    const ALint halfway = fixtureMusicRate * fixtureMusicSeconds / 2;
    int phase = 0;
    ALint playingInMenu = 0;
    ALint stateInGame = 0;
    ALint stateBackInMenu = 0;
    ALint offsetBackInMenu = -1;
    fake->onSwap = [&](FakePlatform& platform) {
        if (phase == 0) {
            playingInMenu = sourceState(music());
            alSourcei(music().source, AL_SAMPLE_OFFSET, halfway);
            pressKey(platform, vkReturn);
            phase = 1;
        } else if (phase == 1 && state->loop.gameInProgress) {
            stateInGame = sourceState(music());
            closeWindow(platform);
            phase = 2;
        } else if (phase == 2 && state->loop.leaveGame == 1) {
            stateBackInMenu = sourceState(music());
            offsetBackInMenu = sampleOffset(music());
            closeWindow(platform);
            phase = 3;
        }
    };
    EXPECT_EQ(runToEnd(), 0);
    ASSERT_EQ(phase, 3);
    EXPECT_EQ(playingInMenu, AL_PLAYING);
    EXPECT_EQ(stateInGame, AL_STOPPED) << "a game stops the menu music";
    EXPECT_EQ(stateBackInMenu, AL_PLAYING);
    EXPECT_LT(offsetBackInMenu, halfway) << "played from its beginning, not resumed";
    EXPECT_EQ(state->loop.menuScreen, 0);
    EXPECT_EQ(state->loop.menuSelection, 0);
    EXPECT_TRUE(state->loop.gameInProgress);
}

TEST_F(MenuLoopTest, ChoosingExitDrawsOneFrameOfBackgroundThenShutsDown) {
    std::vector<std::string> lastFrame;
    fake->onSwap = [&](FakePlatform& platform) {
        lastFrame = picturesDrawn(platform.drawLog);
        platform.drawLog.clear();
        platform.drawLogOn = true;
        if (platform.swaps == 1) {
            pressKey(platform, vkUp);
        } else if (platform.swaps == 2) {
            pressKey(platform, vkReturn);
        }
    };
    runToEnd();
    EXPECT_EQ(fake->swaps, 4u) << "Up, Enter on Exit, then one frame of the exit screen";
    EXPECT_EQ(lastFrame, std::vector<std::string>{"IMGS/back.png"});
    EXPECT_FALSE(fake->windowOpen);
}

} // namespace
