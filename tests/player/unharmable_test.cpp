#include "player/movement.h"
#include "player_fixture.h"

#include <algorithm>

namespace {

class UnharmableTest : public PlayerTest {
  protected:
    const SoundClip& godlike() { return state.world.bonusSounds.sounds[2]; }
    GameObject& player() { return state.world.player; }
};

TEST_F(UnharmableTest, TwelveSyringesGiveFivePerFrameAndCheerWhileAboveNine) {
    player().syringeCount = 12;
    player().health = 40;
    const std::uint32_t first = fake->now;
    for (int frame = 1; frame <= 14; ++frame) {
        startFrame();
        rewindSound(godlike());
        runUnharmable(state);
        EXPECT_EQ(wasPlayed(godlike()), frame <= 3) << "frame " << frame;
        EXPECT_TRUE(state.play.unharmableActive) << "frame " << frame;
        const DrawRecord* text = findText(*fake, "-UNHARMABLE-");
        ASSERT_NE(text, nullptr) << "frame " << frame;
        EXPECT_EQ(textsDrawn(*fake).size(), 1u);
        EXPECT_EQ(player().syringeCount, std::max(0, 12 - frame));
        EXPECT_EQ(player().health, 40 + 5 * std::min(frame, 12));
        EXPECT_EQ(state.play.unharmableStart, static_cast<std::int32_t>(first));
        fake->now += 16;
    }
}

TEST_F(UnharmableTest, ModeEndsJustOverFiveSecondsAfterItsFirstFrame) {
    player().syringeCount = 10;
    const std::uint32_t first = fake->now;
    runUnharmable(state);
    // A new trigger while the mode runs does not restart its clock.
    fake->now = first + 3000;
    player().syringeCount = 11;
    runUnharmable(state);
    player().syringeCount = 2;
    struct Step {
        std::uint32_t after;
        bool textDrawn;
        bool activeAfter;
    };
    const Step steps[] = {{5000, true, true}, {5001, true, false}, {5017, false, false}};
    for (const Step& s : steps) {
        fake->now = first + s.after;
        startFrame();
        const std::int32_t health = player().health;
        const std::int32_t count = player().syringeCount;
        runUnharmable(state);
        EXPECT_EQ(findText(*fake, "-UNHARMABLE-") != nullptr, s.textDrawn) << s.after;
        EXPECT_EQ(state.play.unharmableActive, s.activeAfter) << s.after;
        // The frame that ends the mode still pays out a syringe.
        EXPECT_EQ(player().health - health, s.textDrawn ? 5 : 0) << s.after;
        EXPECT_EQ(count - player().syringeCount, s.textDrawn ? 1 : 0) << s.after;
    }
    EXPECT_EQ(state.play.unharmableStart, -1);
}

TEST_F(UnharmableTest, ANewTriggerAfterAnEndedPeriodStartsAFreshClock) {
    state.play.unharmableStart = -1;
    fake->now = 70000;
    player().syringeCount = 10;
    runUnharmable(state);
    EXPECT_EQ(state.play.unharmableStart, 70000);
    fake->now = 75000;
    runUnharmable(state);
    EXPECT_TRUE(state.play.unharmableActive);
    fake->now = 75001;
    runUnharmable(state);
    EXPECT_FALSE(state.play.unharmableActive);
}

TEST_F(UnharmableTest, NineSyringesStartNothing) {
    player().syringeCount = 9;
    player().health = 50;
    runUnharmable(state);
    EXPECT_FALSE(state.play.unharmableActive);
    EXPECT_FALSE(wasPlayed(godlike()));
    EXPECT_TRUE(textsDrawn(*fake).empty());
    EXPECT_EQ(player().syringeCount, 9);
    EXPECT_EQ(player().health, 50);
}

} // namespace
