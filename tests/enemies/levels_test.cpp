#include "enemies/levels.h"
#include "enemies_fixture.h"

namespace {

class LevelsTest : public EnemiesTest {
  protected:
    // Puts the game into `level`, begun `elapsed` milliseconds ago.
    void enterLevel(std::int32_t level, std::uint32_t elapsed) {
        state.world.player.level = level;
        state.play.levelStartTime = fake->now - elapsed;
        fake->drawLog.clear();
    }
    const SoundClip& music(int slot) const { return state.world.staticBackground.sounds[slot]; }
};

TEST_F(LevelsTest, CountdownShowsFiveToOne) {
    struct Case {
        std::uint32_t elapsed;
        const char* digit;
    };
    for (const Case& c : {Case{0, "5"}, Case{999, "5"}, Case{1000, "4"}, Case{2500, "3"},
                          Case{3999, "2"}, Case{4000, "1"}, Case{4999, "1"}}) {
        enterLevel(0, c.elapsed);
        updateLevel(state);
        EXPECT_EQ(textsDrawn(*fake), (std::vector<std::string>{"Prepare!!!", c.digit}))
            << c.elapsed << " ms";
        EXPECT_EQ(state.world.player.level, 0);
    }
    const DrawRecord& title = fake->drawLog[0];
    EXPECT_EQ(title.x, -1.25f);
    EXPECT_EQ(title.size, 30);
    EXPECT_EQ(title.red, 255.0f);
    const DrawRecord& digit = fake->drawLog[1];
    EXPECT_EQ(digit.x, 0.0f);
    EXPECT_EQ(digit.y, -0.5f);
    EXPECT_EQ(digit.size, 20);
}

TEST_F(LevelsTest, LevelOneStartsAtFiveSecondsWithTheLevelMusic) {
    playSound(music(2));
    enterLevel(0, 5000);
    updateLevel(state);
    EXPECT_EQ(state.world.player.level, 1);
    EXPECT_EQ(state.play.levelStartTime, fake->now);
    EXPECT_TRUE(textsDrawn(*fake).empty());
    EXPECT_TRUE(isPlaying(music(0)));
    EXPECT_TRUE(wasPlayed(music(2)));
    EXPECT_FALSE(isPlaying(music(2)));
}

TEST_F(LevelsTest, ActiveCountsFollowTheLevelAndTheClock) {
    struct Case {
        std::int32_t level;
        std::uint32_t elapsed;
        bool bloodPressure;
        std::int32_t bubbles, whiteCells, redCells;
    };
    const Case cases[] = {
        {0, 1000, false, 0, 0, 0},   {0, 1000, true, 0, 0, 0},   {1, 100, false, 0, 3, 0},
        {1, 100, true, 0, 3, 0},     {2, 100, false, 0, 3, 1},   {2, 100, true, 0, 3, 1},
        {3, 100, false, 1, 3, 1},    {3, 60000, true, 1, 3, 1},  {3, 60001, false, 2, 4, 1},
        {3, 60001, true, 2, 4, 4},   {3, 90001, false, 2, 4, 2}, {3, 90001, true, 2, 4, 5},
        {3, 120001, false, 4, 4, 3}, {3, 120001, true, 4, 4, 6}, {3, 10'000'000, false, 4, 4, 3},
    };
    for (const Case& c : cases) {
        SetUp();
        state.world.player.score = 0;
        state.play.bloodPressureActive = c.bloodPressure;
        enterLevel(c.level, c.elapsed);
        updateLevel(state);
        const std::string what = "level " + std::to_string(c.level) + " at " +
                                 std::to_string(c.elapsed) +
                                 (c.bloodPressure ? " with Blood Pressure" : "");
        EXPECT_EQ(state.play.bubbleCount, c.bubbles) << what;
        EXPECT_EQ(state.play.whiteCellCount, c.whiteCells) << what;
        EXPECT_EQ(state.play.redCellCount, c.redCells) << what;
    }
}

TEST_F(LevelsTest, OtherLevelValuesLeaveTheCountsAlone) {
    state.play.bubbleCount = 2;
    state.play.whiteCellCount = 4;
    state.play.redCellCount = 5;
    enterLevel(4, 1000);
    updateLevel(state);
    EXPECT_EQ(state.play.bubbleCount, 2);
    EXPECT_EQ(state.play.whiteCellCount, 4);
    EXPECT_EQ(state.play.redCellCount, 5);
    EXPECT_TRUE(fake->drawLog.empty());
}

TEST_F(LevelsTest, TitlesShowBetweenThreeAndEightSeconds) {
    struct Case {
        std::int32_t level;
        const char* title;
        float x;
    };
    for (const Case& c : {Case{1, "Easy way boy", -1.5f}, Case{2, "Red Influence", -1.5f},
                          Case{3, "Artery", -1.0f}}) {
        for (std::uint32_t elapsed : {3000u, 3001u, 7999u, 8000u}) {
            SetUp();
            state.world.player.score = 0;
            enterLevel(c.level, elapsed);
            updateLevel(state);
            const bool shown = elapsed > 3000 && elapsed < 8000;
            EXPECT_EQ(drewText(*fake, c.title), shown) << c.title << " at " << elapsed;
            if (shown) {
                EXPECT_EQ(fake->drawLog[0].x, c.x);
                EXPECT_EQ(fake->drawLog[0].y, 0.0f);
                EXPECT_EQ(fake->drawLog[0].size, 30);
            }
        }
    }
}

TEST_F(LevelsTest, LevelOneEndsAfterAMinuteWithFiftyPoints) {
    struct Case {
        std::uint32_t elapsed;
        std::int32_t score;
        std::int32_t levelAfter, scoreAfter;
        const char* what;
    };
    const Case cases[] = {
        {70000, 49, 1, 49, "49 points after 70 s: still level 1"},
        {70000, 50, 2, 50, "50 points: level 2 without the award"},
        {60000, 120, 1, 120, "exactly 60 s is not over"},
        {60001, 99, 2, 99, "99 points: no award"},
        {60001, 100, 2, 150, "100 points: Hard rockin' +50"},
        {60001, 120, 2, 170, "120 points become 170"},
    };
    for (const Case& c : cases) {
        SetUp();
        state.world.player.score = c.score;
        enterLevel(1, c.elapsed);
        updateLevel(state);
        EXPECT_EQ(state.world.player.level, c.levelAfter) << c.what;
        EXPECT_EQ(state.world.player.score, c.scoreAfter) << c.what;
        if (c.levelAfter == 2) {
            EXPECT_EQ(state.play.levelStartTime, fake->now) << c.what;
        }
    }
}

TEST_F(LevelsTest, FrameOfTheLevelChangeStillShowsHardRockin) {
    state.world.player.score = 100;
    enterLevel(1, 60001);
    updateLevel(state);
    EXPECT_EQ(state.world.player.level, 2);
    EXPECT_TRUE(drewText(*fake, "Hard rockin'"));
    EXPECT_TRUE(drewText(*fake, "+50"));
}

TEST_F(LevelsTest, LevelTwoEndsAfterNinetySecondsWithItsAwards) {
    struct Case {
        std::int32_t health;
        bool beatmachine;
        std::int32_t award;
    };
    for (const Case& c :
         {Case{100, true, 200}, Case{120, false, 100}, Case{99, true, 100}, Case{99, false, 0}}) {
        SetUp();
        playSound(music(0));
        state.world.player.score = 300;
        state.world.player.health = c.health;
        state.play.beatmachineEarned = c.beatmachine;
        enterLevel(2, 90001);
        updateLevel(state);
        EXPECT_EQ(state.world.player.level, 3);
        EXPECT_EQ(state.world.player.score, 300 + c.award)
            << "health " << c.health << ", Beatmachine " << c.beatmachine;
        EXPECT_EQ(state.play.levelStartTime, fake->now);
        EXPECT_FALSE(isPlaying(music(0)));
        EXPECT_TRUE(isPlaying(music(1)));
        EXPECT_TRUE(state.world.lateMusicLoaded);
    }
}

TEST_F(LevelsTest, LevelTwoGoesOnUntilNinetySeconds) {
    state.world.player.score = 300;
    enterLevel(2, 90000);
    updateLevel(state);
    EXPECT_EQ(state.world.player.level, 2);
    EXPECT_EQ(state.world.player.score, 300);
}

TEST_F(LevelsTest, LateMusicIsLoadedOnceAndReused) {
    enterLevel(2, 90001);
    updateLevel(state);
    const SoundClip first = music(1);
    ASSERT_NE(first.source, 0u);
    enterLevel(2, 90001);
    updateLevel(state);
    EXPECT_EQ(music(1).source, first.source);
    EXPECT_EQ(music(1).buffer, first.buffer);
    EXPECT_TRUE(isPlaying(music(1)));
}

TEST_F(LevelsTest, LevelThreeNeverEnds) {
    enterLevel(3, 4'000'000'000u);
    updateLevel(state);
    EXPECT_EQ(state.world.player.level, 3);
}

} // namespace
