#include "enemies_fixture.h"
#include "platform/key_state.h"
#include "platform/main_loop.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// A robot player: fires standing still, reloads when the gun is empty, steers under the lowest
// white cell and out of the way of red cells, until level 3, where it seeks the red cells out.
class Robot {
  public:
    explicit Robot(GameState& state) : state(state) {}

    void play(FakePlatform& fake) {
        if (!state.loop.gameInProgress) {
            if (!enterSent) {
                pressKey(fake, vkReturn);
                enterSent = true;
            }
            return;
        }
        const GameObject& player = state.world.player;
        const float target = targetX();
        const bool left = target < player.x - 0.1f;
        const bool right = target > player.x + 0.1f;
        // Steering while firing scatters the bullets and takes the damage down to nothing, so
        // the robot fires only standing still, and lets go for a frame to gather the scatter.
        hold(fake, vkControl, !left && !right && state.play.spread < 0.09f);
        hold(fake, vkShift, state.play.ammunition == 0);
        hold(fake, vkLeft, left);
        hold(fake, vkRight, right);
    }

  private:
    float targetX() const {
        const GameObject& player = state.world.player;
        const PlayState& play = state.play;
        if (player.level >= 3) {
            return nearestRedCell(player.x);
        }
        for (std::int32_t i = 0; i < play.redCellCount; ++i) {
            const GameObject& cell = state.world.redCells[i];
            const float above = cell.y - player.y;
            if (cell.visible && cell.health > 0 && above > 0 && above < 3.5f &&
                std::fabs(cell.x - player.x) < 1.6f) {
                return cell.x > player.x ? cell.x - 3.0f : cell.x + 3.0f;
            }
        }
        float lowest = 10.0f;
        float x = player.x;
        for (std::int32_t i = 0; i < play.whiteCellCount; ++i) {
            const GameObject& cell = state.world.whiteCells[i];
            if (cell.visible && cell.health >= 0 && cell.y > player.y + 1.0f && cell.y < lowest) {
                lowest = cell.y;
                x = cell.x;
            }
        }
        return x;
    }

    float nearestRedCell(float from) const {
        float best = from;
        float distance = 100.0f;
        for (std::int32_t i = 0; i < state.play.redCellCount; ++i) {
            const GameObject& cell = state.world.redCells[i];
            if (cell.visible && cell.health > 0 && cell.y > state.world.player.y &&
                std::fabs(cell.x - from) < distance) {
                distance = std::fabs(cell.x - from);
                best = cell.x;
            }
        }
        return best;
    }

    void hold(FakePlatform& fake, int key, bool down) {
        if ((keyState[key] != 0) == down) {
            return;
        }
        if (down) {
            pressKey(fake, key);
        } else {
            releaseKey(fake, key);
        }
    }

    GameState& state;
    bool enterSent = false;
};

struct LevelChange {
    std::int32_t level;
    std::uint32_t atGameTime;      // since the new game's stage clock started
    std::uint32_t afterLastChange; // on the stage clock of the level that ended
    std::int32_t scoreBefore;
    std::int32_t scoreAfter;
    std::int32_t health;
    bool beatmachineEarned;
};

class FullGameTest : public EnemiesTest {};

TEST_F(FullGameTest, SeededGameFromPlayToTheHighScoreScreen) {
    std::filesystem::remove("hiscore.txt");
    state.menu.playerName = "ROBOT";
    state.loop.shakeAmplitude = 0.03f;
    fake->drawLogOn = false;
    fake->swapLimit = 400'000;
    std::srand(2024);

    Robot robot(state);
    std::vector<LevelChange> changes;
    std::int32_t lastLevel = 0;
    std::int32_t lastScore = 0;
    std::uint32_t gameStart = 0;
    std::uint32_t levelStart = 0;
    std::uint64_t gameFrames = 0;
    fake->onSwap = [&](FakePlatform& platform) {
        const GameObject& player = state.world.player;
        if (state.loop.gameInProgress) {
            gameFrames += 1;
            if (player.level != lastLevel) {
                changes.push_back({player.level, state.play.levelStartTime - gameStart,
                                   state.play.levelStartTime - levelStart, lastScore, player.score,
                                   player.health, state.play.beatmachineEarned});
                lastLevel = player.level;
                levelStart = state.play.levelStartTime;
            }
            lastScore = player.score;
        }
        robot.play(platform);
    };

    do {
        ASSERT_TRUE(runMenuIteration(state));
    } while (!menuStartsGame(state));
    startOrResumeGame(state);
    gameStart = state.play.levelStartTime;
    levelStart = gameStart;
    while (state.loop.leaveGame == 0) {
        runGameIteration(state);
    }
    leaveGameLoop(state);
    ASSERT_TRUE(runMenuIteration(state));

    // Back in the menu, on the high-score screen, with no game in progress.
    EXPECT_EQ(state.loop.menuScreen, 3);
    EXPECT_FALSE(state.loop.gameInProgress);
    EXPECT_LT(state.world.player.health, 1);

    // The level changes the rules give: the countdown, then over 60 s with 50 points, then
    // over 90 s, each at the first frame past its limit, with the awards of that moment.
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].level, 1);
    EXPECT_GE(changes[0].afterLastChange, 5000u);
    EXPECT_LT(changes[0].afterLastChange, 5016u);
    EXPECT_EQ(changes[0].scoreAfter, changes[0].scoreBefore);
    EXPECT_EQ(changes[1].level, 2);
    EXPECT_GT(changes[1].afterLastChange, 60000u);
    EXPECT_GE(changes[1].scoreBefore, 50);
    EXPECT_EQ(changes[1].scoreAfter - changes[1].scoreBefore,
              changes[1].scoreBefore >= 100 ? 50 : 0);
    EXPECT_EQ(changes[2].level, 3);
    EXPECT_GT(changes[2].afterLastChange, 90000u);
    EXPECT_LE(changes[2].afterLastChange, 90016u);
    EXPECT_EQ(changes[2].scoreAfter - changes[2].scoreBefore,
              (changes[2].health >= 100 ? 100 : 0) + (changes[2].beatmachineEarned ? 100 : 0));

    // The final score is the one in the file.
    std::ifstream file("hiscore.txt");
    std::stringstream contents;
    contents << file.rdbuf();
    const std::string expectedLine = "ROBOT         " + std::to_string(state.world.player.score);
    EXPECT_EQ(contents.str().rfind(expectedLine, 0), 0u) << contents.str();

    // Recorded once from this seed and script, and checked against the rules above: level 2
    // with 125 points (Hard rockin' +50), level 3 with 325 points, the Beatmachine earned and
    // health 36 (+100 only), 10 more points in level 3, then 313 dying frames.
    EXPECT_EQ(changes[0].atGameTime, 5008u);
    EXPECT_EQ(changes[1].atGameTime, 65024u);
    EXPECT_EQ(changes[1].scoreBefore, 125);
    EXPECT_EQ(changes[1].scoreAfter, 175);
    EXPECT_EQ(changes[2].atGameTime, 155040u);
    EXPECT_EQ(changes[2].scoreBefore, 325);
    EXPECT_EQ(changes[2].scoreAfter, 425);
    EXPECT_EQ(changes[2].health, 36);
    EXPECT_TRUE(changes[2].beatmachineEarned);
    EXPECT_EQ(state.world.player.score, 435);
    EXPECT_EQ(gameFrames, 10824u);
}

} // namespace
