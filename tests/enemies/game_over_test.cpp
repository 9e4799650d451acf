#include "enemies/bubbles.h"
#include "enemies/cells.h"
#include "enemies/game_over.h"
#include "enemies_fixture.h"
#include "platform/game_frame.h"
#include "platform/key_state.h"
#include "platform/settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class GameOverTest : public EnemiesTest {
  protected:
    void SetUp() override {
        EnemiesTest::SetUp();
        std::filesystem::remove("hiscore.txt");
        state.menu.playerName = "TESTER";
        state.loop.gameInProgress = true;
        state.loop.leaveGame = 0;
        state.loop.menuScreen = 0;
        state.loop.menuSelection = 0;
        state.scores.reloadHighScores = false;
    }

    static std::string highScoreFile() {
        std::ifstream file("hiscore.txt");
        std::stringstream contents;
        contents << file.rdbuf();
        return contents.str();
    }

    bool gameEnded() const {
        return state.loop.leaveGame == 1 && !state.loop.gameInProgress &&
               state.loop.menuScreen == 3;
    }

    // A seed under which the next rand() mod `modulus` is `value`.
    static unsigned seedFor(int modulus, int value) {
        for (unsigned seed = 1;; ++seed) {
            std::srand(seed);
            if (std::rand() % modulus == value) {
                return seed;
            }
        }
    }
};

TEST_F(GameOverTest, HealthBelowOneEndsTheGame) {
    struct Case {
        std::int32_t health;
        bool ends;
    };
    for (const Case& c :
         {Case{100, false}, Case{1, false}, Case{0, true}, Case{-1, true}, Case{-10, true}}) {
        SetUp();
        state.world.player.health = c.health;
        endGameIfOver(state);
        EXPECT_EQ(gameEnded(), c.ends) << "health " << c.health;
        EXPECT_EQ(fake->swaps > 0, c.ends) << "health " << c.health;
    }
}

TEST_F(GameOverTest, SmallRedCellHittingForSevenAtSixEndsTheGameAtMinusOne) {
    state.play.redCellCount = 1;
    GameObject& cell = state.world.redCells[0];
    cell.small = true;
    cell.health = 100;
    putOnPlayer(cell);
    state.world.player.health = 6;
    std::srand(seedFor(3, 2));
    updateRedCells(state);
    EXPECT_EQ(state.world.player.health, -1);
    endGameIfOver(state);
    EXPECT_TRUE(gameEnded());
}

TEST_F(GameOverTest, CigaretteOfTheSameFrameCountsBeforeTheTest) {
    struct Case {
        std::int32_t health;
        std::int32_t after;
        bool ends;
    };
    for (const Case& c : {Case{4, -1, true}, Case{8, 3, false}}) {
        SetUp();
        state.play.bubbleCount = 1;
        GameObject& cigarette = state.world.bubbles[0];
        cigarette.pickupKind = 2;
        cigarette.type = kindZigzag;
        cigarette.health = -100;
        cigarette.visible = true;
        cigarette.width = cigarette.height = 2.0f;
        putOnPlayer(cigarette);
        state.play.redCellCount = 1;
        GameObject& cell = state.world.redCells[0];
        cell.small = false;
        cell.health = 100;
        putOnPlayer(cell);
        state.world.player.health = c.health;
        updateBubbles(state);
        std::srand(seedFor(5, 0)); // a big cell's 10
        updateRedCells(state);
        EXPECT_EQ(state.world.player.health, c.after) << "from " << c.health;
        endGameIfOver(state);
        EXPECT_EQ(gameEnded(), c.ends) << "from " << c.health;
    }
}

TEST_F(GameOverTest, DyingSequenceLastsJustOverFiveSeconds) {
    state.world.player.health = 0;
    const std::uint32_t start = fake->now;
    endGameIfOver(state);
    EXPECT_GT(fake->now - start, 5000u);
    EXPECT_LE(fake->now - start, 5016u);
    EXPECT_EQ(fake->swaps, 313u);
}

TEST_F(GameOverTest, DyingSequenceDrawsOnlyTheBackgroundsAndTheDyingVirus) {
    state.world.player.health = -3;
    state.world.player.x = 1.5f;
    state.loop.shakeActive = false;
    std::vector<std::size_t> drawsPerFrame;
    std::size_t seen = 0;
    fake->onSwap = [&](FakePlatform& platform) {
        drawsPerFrame.push_back(platform.drawLog.size() - seen);
        seen = platform.drawLog.size();
    };
    endGameIfOver(state);
    const World& world = state.world;
    for (const DrawRecord& record : fake->drawLog) {
        EXPECT_EQ(record.kind, DrawRecord::Kind::sprite);
        EXPECT_TRUE(record.texture == world.scrollingBackground.texture ||
                    record.texture == world.staticBackground.texture ||
                    record.texture == world.dyingLook.texture)
            << record.texture;
    }
    EXPECT_EQ(spritesDrawnWith(*fake, world.dyingLook.texture), 313);
    EXPECT_EQ(world.player.texture, world.dyingLook.texture);
    EXPECT_EQ(world.player.x, 1.5f); // it dies where it was
    EXPECT_EQ(world.player.health, -3);
    // The scrolling background keeps scrolling.
    EXPECT_NE(world.scrollingBackground.y, loadedGame().world.scrollingBackground.y);
    ASSERT_FALSE(drawsPerFrame.empty());
    EXPECT_GE(drawsPerFrame.front(), 3u);
}

TEST_F(GameOverTest, ShakeGrowsAThousandthEveryDyingFrame) {
    state.world.player.health = 0;
    state.loop.shakeAmplitude = 0.6f;
    std::vector<float> amplitudes;
    std::vector<bool> shaking;
    fake->onSwap = [&](FakePlatform&) {
        amplitudes.push_back(state.loop.shakeAmplitude);
        shaking.push_back(state.loop.shakeActive);
    };
    endGameIfOver(state);
    ASSERT_EQ(amplitudes.size(), 313u);
    EXPECT_FLOAT_EQ(amplitudes[0], 0.001f);
    EXPECT_NEAR(amplitudes[99], 0.1f, 1e-4);
    EXPECT_NEAR(amplitudes.back(), 0.313f, 1e-3);
    EXPECT_TRUE(shaking[0]);
    EXPECT_FALSE(state.loop.shakeActive);
}

TEST_F(GameOverTest, DyingFramesHandleNoMessages) {
    state.world.player.health = 0;
    fake->queue.push_back(WindowMessage{MessageKind::keyDown, vkReturn});
    fake->queue.push_back(WindowMessage{MessageKind::quit, 0});
    endGameIfOver(state);
    EXPECT_EQ(fake->queue.size(), 2u);
    EXPECT_EQ(keyState[vkReturn], 0);
}

TEST_F(GameOverTest, ScoreIsRecordedBeforeTheMenuShowsTheHighScores) {
    state.world.player.score = 4321;
    state.world.player.health = 0;
    state.loop.menuSelection = 4;
    std::string fileDuringDying;
    fake->onSwap = [&](FakePlatform& platform) {
        if (platform.swaps == 1) {
            fileDuringDying = highScoreFile();
        }
    };
    endGameIfOver(state);
    EXPECT_NE(fileDuringDying.find("4321"), std::string::npos) << fileDuringDying;
    EXPECT_NE(fileDuringDying.find("TESTER"), std::string::npos) << fileDuringDying;
    EXPECT_TRUE(state.scores.reloadHighScores);
    EXPECT_EQ(state.loop.menuScreen, 3);
    EXPECT_EQ(state.loop.menuSelection, 0);
    EXPECT_FALSE(state.loop.gameInProgress);
    EXPECT_EQ(state.loop.leaveGame, 1);
}

TEST_F(GameOverTest, FTwoEndsAGameOnlyInTheWidescreenBuild) {
    struct Case {
        bool wide;
        bool f2Held;
        bool ends;
    };
    for (const Case& c :
         {Case{false, true, false}, Case{true, false, false}, Case{true, true, true}}) {
        SetUp();
        f2EndsGame = c.wide;
        keyState[vkF2] = c.f2Held ? 1 : 0;
        state.world.player.health = 80;
        state.world.player.score = 77;
        endGameIfOver(state);
        EXPECT_EQ(gameEnded(), c.ends) << "wide " << c.wide << ", F2 " << c.f2Held;
        EXPECT_EQ(state.world.player.health, c.ends ? 0 : 80);
        EXPECT_EQ(highScoreFile().find("77") != std::string::npos, c.ends);
    }
    keyState[vkF2] = 0;
    f2EndsGame = false;
}

} // namespace
