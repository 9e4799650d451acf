#include "menu_fixtures.h"

#include "media/sound.h"
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

ALint sampleCount(const SoundClip& clip) {
    ALint bytes = 0;
    ALint bits = 0;
    ALint channels = 0;
    alGetBufferi(clip.buffer, AL_SIZE, &bytes);
    alGetBufferi(clip.buffer, AL_BITS, &bits);
    alGetBufferi(clip.buffer, AL_CHANNELS, &channels);
    return bits > 0 && channels > 0 ? bytes / (bits / 8 * channels) : 0;
}

std::vector<std::uint32_t> spritesDrawn(const std::vector<DrawRecord>& log) {
    std::vector<std::uint32_t> textures;
    for (const DrawRecord& record : log) {
        if (record.kind == DrawRecord::Kind::sprite) {
            textures.push_back(record.texture);
        }
    }
    return textures;
}

// The whole program on the fake platform, in the generated run directory.
class MenuLoopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The program starts and ends the sound system itself.
        releaseLoadedMenu();
        keyState.fill(0);
        gameSettings = GameSettings{50, 50, true, 600, 800};
        fake = &installFakePlatform();
        // A loop that misses its way out fails fast with status 99.
        fake->swapLimit = 200;
        state = std::make_unique<GameState>();
    }
    void TearDown() override {
        shutDownSound(); // a run that ended by exit skipped the shut-down
        keyState.fill(0);
    }

    int runToEnd() {
        WorkingDirectory inRunDirectory(HEMORUNE_RUN_DIR);
        try {
            return runProgram(*state);
        } catch (const ProcessExit& exit) {
            return exit.status;
        }
    }

    const SoundClip& music() { return state->menu.background.sounds[0]; }
    const MenuButton& button(int entry) { return state->menu.mainButtons[entry]; }

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
            const std::vector<std::uint32_t> sprites = spritesDrawn(platform.drawLog);
            playShown = sprites.size() == 7 && sprites[1] == button(0).highlighted.texture &&
                        sprites[2] == button(1).normal.texture;
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
    int phase = 0;
    ALint halfway = 0;
    ALint playingInMenu = 0;
    ALint stateInGame = 0;
    ALint stateBackInMenu = 0;
    ALint offsetBackInMenu = -1;
    fake->onSwap = [&](FakePlatform& platform) {
        if (phase == 0) {
            playingInMenu = sourceState(music());
            // Halfway through the music: a resumed clip would go on from here.
            halfway = sampleCount(music()) / 2;
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
    ASSERT_GT(halfway, 0);
    EXPECT_EQ(stateInGame, AL_STOPPED) << "a game stops the menu music";
    EXPECT_EQ(stateBackInMenu, AL_PLAYING);
    EXPECT_LT(offsetBackInMenu, halfway) << "played from its beginning, not resumed";
    EXPECT_EQ(state->loop.menuScreen, 0);
    EXPECT_EQ(state->loop.menuSelection, 0);
    EXPECT_TRUE(state->loop.gameInProgress);
}

TEST_F(MenuLoopTest, ChoosingExitDrawsOneFrameOfBackgroundThenShutsDown) {
    std::vector<std::uint32_t> lastFrame;
    fake->onSwap = [&](FakePlatform& platform) {
        lastFrame = spritesDrawn(platform.drawLog);
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
    EXPECT_EQ(lastFrame, std::vector<std::uint32_t>{state->menu.background.texture});
    EXPECT_FALSE(fake->windowOpen);
}

TEST_F(MenuLoopTest, StartUpLoadsTheMenuAndReadsTheTextsOfTheRunDirectory) {
    fake->onSwap = [](FakePlatform& platform) { closeWindow(platform); };
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_TRUE(fake->boxes.empty());
    EXPECT_NE(state->menu.background.texture, 0u);
    EXPECT_NE(music().source, 0u);
    EXPECT_NE(state->menu.settingsRows[6].highlighted.texture, 0u);
    EXPECT_FALSE(state->menu.helpLines.empty());
    EXPECT_FALSE(state->menu.creditsLines.empty());
    // The menu's pictures come after the game backgrounds and before the rest of play's.
    EXPECT_GT(state->menu.background.texture, state->world.staticBackground.texture);
    EXPECT_LT(state->menu.effectsVolumePictures[4][1].texture, state->world.player.texture);
}

} // namespace
