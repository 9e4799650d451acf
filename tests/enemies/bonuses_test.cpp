#include "enemies/bonuses.h"
#include "enemies/cells.h"
#include "enemies/levels.h"
#include "enemies_fixture.h"

namespace {

class BonusesTest : public EnemiesTest {
  protected:
    void enterLevel(std::int32_t level, std::uint32_t elapsed) {
        state.world.player.level = level;
        state.play.levelStartTime = fake->now - elapsed;
        fake->drawLog.clear();
    }
    const SoundClip& bonusSound(int slot) const { return state.world.bonusSounds.sounds[slot]; }
    // One frame of virtual time.
    void nextFrame() {
        fake->now += 16;
        fake->drawLog.clear();
    }
};

TEST_F(BonusesTest, BeatmachineNeedsTwoHundredFiftyPointsInItsWindow) {
    struct Case {
        std::uint32_t elapsed;
        std::int32_t score;
        bool shown;
    };
    for (const Case& c : {Case{55001, 249, false}, Case{55001, 250, true}, Case{59999, 400, true},
                          Case{55000, 400, false}, Case{60000, 400, false}}) {
        SetUp();
        state.world.player.score = c.score;
        state.world.player.health = 50;
        enterLevel(2, c.elapsed);
        updateLevel(state);
        const std::string what =
            std::to_string(c.score) + " points at " + std::to_string(c.elapsed);
        EXPECT_EQ(drewText(*fake, "Beatmachine"), c.shown) << what;
        EXPECT_EQ(drewText(*fake, "+100"), c.shown) << what;
        EXPECT_EQ(wasPlayed(bonusSound(5)), c.shown) << what;
        EXPECT_EQ(state.play.beatmachineEarned, c.shown) << what;
    }
}

TEST_F(BonusesTest, BeatmachineEarnedIsPaidWhenLevelTwoEnds) {
    state.world.player.score = 250;
    state.world.player.health = 50;
    enterLevel(2, 56000);
    updateLevel(state);
    ASSERT_TRUE(state.play.beatmachineEarned);
    // The sound comes only once; the texts stay while the window lasts.
    rewindAllSounds();
    nextFrame();
    updateLevel(state);
    EXPECT_TRUE(drewText(*fake, "Beatmachine"));
    EXPECT_FALSE(wasPlayed(bonusSound(5)));
    // Long after the window, with a larger score, the award is still 100.
    state.world.player.score = 900;
    enterLevel(2, 90001);
    updateLevel(state);
    EXPECT_EQ(state.world.player.level, 3);
    EXPECT_EQ(state.world.player.score, 1000);
}

TEST_F(BonusesTest, NiceSlidinShowsAtFullHealthAndPaysOnlyIfItLasts) {
    state.world.player.health = 100;
    state.world.player.score = 0;
    enterLevel(2, 85001);
    updateLevel(state);
    EXPECT_TRUE(drewText(*fake, "Nice slidin'"));
    EXPECT_TRUE(drewText(*fake, "+100"));
    // A red cell takes the player below 100 before 90 s: no text, no award.
    state.world.player.health = 93;
    enterLevel(2, 89000);
    updateLevel(state);
    EXPECT_FALSE(drewText(*fake, "Nice slidin'"));
    enterLevel(2, 90001);
    updateLevel(state);
    EXPECT_EQ(state.world.player.level, 3);
    EXPECT_EQ(state.world.player.score, 0);
}

TEST_F(BonusesTest, HardRockinShowsWithAHundredPointsAndPlaysOnce) {
    state.world.player.score = 99;
    enterLevel(1, 20000);
    updateLevel(state);
    EXPECT_FALSE(drewText(*fake, "Hard rockin'"));
    state.world.player.score = 100;
    enterLevel(1, 20000);
    updateLevel(state);
    EXPECT_TRUE(drewText(*fake, "Hard rockin'"));
    EXPECT_TRUE(drewText(*fake, "+50"));
    EXPECT_TRUE(wasPlayed(bonusSound(4)));
    EXPECT_TRUE(state.play.hardRockinPlayed);
    rewindAllSounds();
    enterLevel(1, 20016);
    updateLevel(state);
    EXPECT_TRUE(drewText(*fake, "Hard rockin'"));
    EXPECT_FALSE(wasPlayed(bonusSound(4)));
}

TEST_F(BonusesTest, PerfectShooterLastsFifteenSecondsFromItsFirstFrame) {
    startPerfectShooter(state);
    EXPECT_TRUE(wasPlayed(bonusSound(3)));
    fake->now += 500; // the first frame comes later than the start
    const std::uint32_t firstFrame = fake->now;
    runPerfectShooter(state);
    EXPECT_TRUE(drewText(*fake, "Perfect Shooter"));
    EXPECT_EQ(state.play.perfectShooterStart, firstFrame);
    fake->now = firstFrame + 15000;
    fake->drawLog.clear();
    runPerfectShooter(state);
    EXPECT_TRUE(state.play.perfectShooterActive);
    fake->now = firstFrame + 15001;
    fake->drawLog.clear();
    runPerfectShooter(state);
    // The last frame still shows the text.
    EXPECT_TRUE(drewText(*fake, "Perfect Shooter"));
    EXPECT_FALSE(state.play.perfectShooterActive);
    EXPECT_EQ(state.play.perfectShooterStart, 0u);
    fake->drawLog.clear();
    runPerfectShooter(state);
    EXPECT_TRUE(fake->drawLog.empty());
}

TEST_F(BonusesTest, ModeStartedAgainOnlyReplaysItsSound) {
    struct Case {
        void (*start)(GameState&);
        void (*run)(GameState&);
        std::uint32_t PlayState::*startTime;
        int sound;
    };
    for (const Case& c :
         {Case{startPerfectShooter, runPerfectShooter, &PlayState::perfectShooterStart, 3},
          Case{startBloodPressure, runBloodPressure, &PlayState::bloodPressureStart, 1}}) {
        SetUp();
        c.start(state);
        c.run(state);
        const std::uint32_t started = state.play.*c.startTime;
        fake->now += 5000;
        rewindAllSounds();
        c.start(state);
        EXPECT_TRUE(wasPlayed(bonusSound(c.sound)));
        c.run(state);
        EXPECT_EQ(state.play.*c.startTime, started);
    }
}

TEST_F(BonusesTest, ModeTextsUseTheirPlaces) {
    struct Case {
        void (*start)(GameState&);
        void (*run)(GameState&);
        const char* text;
        float x, y;
    };
    for (const Case& c :
         {Case{startPerfectShooter, runPerfectShooter, "Perfect Shooter", -2.0f, 0.5f},
          Case{startBloodPressure, runBloodPressure, "Blood Pressure", -2.0f, 1.0f}}) {
        SetUp();
        c.start(state);
        c.run(state);
        ASSERT_EQ(fake->drawLog.size(), 1u);
        const DrawRecord& text = fake->drawLog[0];
        EXPECT_EQ(text.text, c.text);
        EXPECT_EQ(text.x, c.x);
        EXPECT_EQ(text.y, c.y);
        EXPECT_EQ(text.size, 30);
        EXPECT_EQ(text.red, 1.0f);
    }
}

TEST_F(BonusesTest, BloodPressureSpendsTheRedCellsForItsLastThreeSeconds) {
    state.play.redCellCount = 3;
    startBloodPressure(state);
    runBloodPressure(state);
    const std::uint32_t first = fake->now;
    struct Case {
        std::uint32_t at;
        bool spent;
        bool active;
    };
    for (const Case& c : {Case{17000, false, true}, Case{17001, true, true},
                          Case{20000, true, true}, Case{20001, true, false}}) {
        for (GameObject& cell : state.world.redCells) {
            cell.health = 100;
        }
        fake->now = first + c.at;
        runBloodPressure(state);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(state.world.redCells[i].health, c.spent && i < 3 ? 0 : 100)
                << c.at << " ms, cell " << i;
        }
        EXPECT_EQ(state.play.bloodPressureActive, c.active) << c.at << " ms";
    }
}

TEST_F(BonusesTest, NoRedCellHurtsBetweenSeventeenAndTwentySeconds) {
    state.play.redCellCount = 3;
    startBloodPressure(state);
    runBloodPressure(state);
    const std::uint32_t first = fake->now;
    state.world.player.health = 100;
    for (std::uint32_t at = 17001; at <= 20000; at += 16) {
        fake->now = first + at;
        runBloodPressure(state);
        for (int i = 0; i < 3; ++i) {
            GameObject& cell = state.world.redCells[i];
            putOnPlayer(cell);
            cell.visible = true;
            cell.width = cell.height = 2.0f;
        }
        updateRedCells(state);
        ASSERT_EQ(state.world.player.health, 100) << at << " ms";
    }
}

} // namespace
