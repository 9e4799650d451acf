#include "platform/key_state.h"
#include "player/movement.h"
#include "player_fixture.h"

#include <cmath>

namespace {

class MovementTest : public PlayerTest {
  protected:
    GameObject& player() { return state.world.player; }
};

TEST_F(MovementTest, HeldArrowMovesOneSpeedAFrameUntilItsBound) {
    struct Case {
        int key;
        float startX, startY;
        bool horizontal;
        float direction;
        float bound;
    };
    const Case cases[] = {
        {vkRight, 0, -2.0f, true, 1, 3.25f},
        {vkLeft, 0, -2.0f, true, -1, -3.25f},
        {vkUp, 0, -2.8f, false, 1, -1.0f},
        {vkDown, 0, -1.2f, false, -1, -3.0f},
    };
    for (const Case& c : cases) {
        SetUp();
        player().x = c.startX;
        player().y = c.startY;
        hold(c.key);
        bool passed = false;
        for (int frame = 0; frame < 150; ++frame) {
            const float before = c.horizontal ? player().x : player().y;
            movePlayer(state);
            const float after = c.horizontal ? player().x : player().y;
            if (passed) {
                EXPECT_EQ(after, before) << "key " << c.key << " frame " << frame;
            } else {
                EXPECT_NEAR(after - before, c.direction * 0.065f, 1e-5) << "key " << c.key;
                passed = c.direction > 0 ? after >= c.bound : after <= c.bound;
            }
        }
        EXPECT_TRUE(passed) << "key " << c.key;
        const float end = c.horizontal ? player().x : player().y;
        // The last step may overshoot the bound by less than one step.
        EXPECT_LT(std::abs(end - c.bound), 0.065f + 1e-5f) << "key " << c.key;
        EXPECT_FLOAT_EQ(c.horizontal ? player().y : player().x, c.horizontal ? c.startY : c.startX)
            << "key " << c.key;
    }
}

TEST_F(MovementTest, ReleasedArrowGlidesWithADecayingStep) {
    struct Case {
        int key;
        float startY;
        bool horizontal;
        float direction;
    };
    const Case cases[] = {
        {vkRight, -2.0f, true, 1},
        {vkLeft, -2.0f, true, -1},
        {vkUp, -2.9f, false, 1},
        {vkDown, -1.1f, false, -1},
    };
    for (const Case& c : cases) {
        SetUp();
        player().x = 0;
        player().y = c.startY;
        hold(c.key);
        movePlayer(state);
        release(c.key);
        const float released = c.horizontal ? player().x : player().y;
        std::vector<float> steps;
        for (int frame = 0; frame < 40; ++frame) {
            const float before = c.horizontal ? player().x : player().y;
            movePlayer(state);
            const float step = (c.horizontal ? player().x : player().y) - before;
            if (step != 0) {
                steps.push_back(step * c.direction);
            }
        }
        ASSERT_GE(steps.size(), 3u) << "key " << c.key;
        EXPECT_NEAR(steps[0], 0.065f, 1e-5) << "key " << c.key;
        EXPECT_NEAR(steps[1], 0.0625f, 1e-5) << "key " << c.key;
        EXPECT_NEAR(steps[2], 0.06f, 1e-5) << "key " << c.key;
        EXPECT_GE(steps.size(), 24u) << "key " << c.key;
        EXPECT_LE(steps.size(), 26u) << "key " << c.key;
        EXPECT_EQ(c.horizontal ? player().velocityX : player().velocityY, 0) << "key " << c.key;
        const float glide = ((c.horizontal ? player().x : player().y) - released) * c.direction;
        EXPECT_NEAR(glide, 0.87f, 0.02f) << "key " << c.key;
    }
}

TEST_F(MovementTest, PerfectShooterStopsTheSidewaysGlideOnlyAtOnce) {
    state.play.perfectShooterActive = true;
    player().x = 0;
    player().y = -2.0f;
    hold(vkRight);
    hold(vkUp);
    movePlayer(state);
    EXPECT_NEAR(player().x, 0.065f, 1e-6);
    EXPECT_EQ(player().velocityX, 0);
    EXPECT_FLOAT_EQ(player().velocityY, 0.065f);
    release(vkRight);
    release(vkUp);
    const float x = player().x;
    const float y = player().y;
    movePlayer(state);
    EXPECT_EQ(player().x, x);
    EXPECT_NEAR(player().y - y, 0.065f, 1e-6);
}

TEST_F(MovementTest, UpAndDownTogetherKeepYAndThenGlideDown) {
    player().y = -2.0f;
    hold(vkUp);
    hold(vkDown);
    for (int frame = 0; frame < 5; ++frame) {
        movePlayer(state);
        EXPECT_NEAR(player().y, -2.0f, 1e-5);
    }
    EXPECT_FLOAT_EQ(player().velocityY, -0.065f);
    release(vkUp);
    release(vkDown);
    const float y = player().y;
    movePlayer(state);
    EXPECT_NEAR(player().y - y, -0.065f, 1e-6);
}

TEST_F(MovementTest, AtItsBoundAKeyOrAGlideDoesNotMoveAndTheGlideIsKept) {
    struct Case {
        int key; // 0: no key, the glide only
        float x, y, velocityX, velocityY;
        const char* what;
    };
    const Case cases[] = {
        {vkUp, 0, -1.0f, 0, 0, "Up at the top"},
        {vkDown, 0, -3.0f, 0, 0, "Down at the bottom"},
        {vkRight, 3.25f, -2.0f, 0, 0, "Right at the right wall"},
        {vkLeft, -3.25f, -2.0f, 0, 0, "Left at the left wall"},
        {0, 0, -1.0f, 0, 0.05f, "upward glide at the top"},
        {0, 0, -3.0f, 0, -0.05f, "downward glide at the bottom"},
        {0, 3.3f, -2.0f, 0.05f, 0, "rightward glide past the wall"},
        {0, -3.3f, -2.0f, -0.05f, 0, "leftward glide past the wall"},
    };
    for (const Case& c : cases) {
        SetUp();
        player().x = c.x;
        player().y = c.y;
        player().velocityX = c.velocityX;
        player().velocityY = c.velocityY;
        if (c.key != 0) {
            hold(c.key);
        }
        movePlayer(state);
        EXPECT_EQ(player().x, c.x) << c.what;
        EXPECT_EQ(player().y, c.y) << c.what;
        EXPECT_EQ(player().velocityX, c.velocityX) << c.what;
        EXPECT_EQ(player().velocityY, c.velocityY) << c.what;
    }
}

TEST_F(MovementTest, StrafingWithCtrlRaisesSpreadToHalfAndNeverPastPointFiftyOne) {
    struct Case {
        int key;
        bool ctrl;
        float after50;
    };
    const Case cases[] = {
        {vkRight, true, 0.5f},
        {vkLeft, true, 0.5f},
        {vkRight, false, 0},
        {vkUp, true, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        player().x = c.key == vkLeft ? 3.0f : -3.0f;
        player().speed = 0.001f; // stays clear of the walls
        hold(c.key);
        if (c.ctrl) {
            hold(vkControl);
        }
        for (int frame = 0; frame < 50; ++frame) {
            movePlayer(state);
        }
        EXPECT_NEAR(state.play.spread, c.after50, 1e-4) << "key " << c.key;
        for (int frame = 0; frame < 30; ++frame) {
            movePlayer(state);
            EXPECT_LE(state.play.spread, 0.51f + 1e-6f) << "key " << c.key;
        }
    }
}

TEST_F(MovementTest, NewGameResetsTheGameValuesAndKeepsPlaceGlideAndModes) {
    GameObject& p = player();
    p.x = 1.5f;
    p.y = -1.7f;
    p.velocityX = 0.03f;
    p.velocityY = -0.02f;
    p.speed = 0.2f;
    p.level = 3;
    p.health = -4;
    p.score = 850;
    p.oilCount = 3;
    p.syringeCount = 4;
    p.phase = 1;
    p.texture = firingATexture;
    p.visible = false;
    state.play.unharmableActive = true;
    state.play.unharmableStart = 1234;

    startPlayerForNewGame(state);

    EXPECT_FLOAT_EQ(p.speed, 0.065f);
    EXPECT_EQ(p.level, 0);
    EXPECT_EQ(p.health, 100);
    EXPECT_EQ(p.score, 0);
    EXPECT_EQ(p.oilCount, 0);
    EXPECT_EQ(p.syringeCount, 0);
    EXPECT_EQ(p.texture, restingTexture);
    EXPECT_TRUE(p.visible);
    EXPECT_FLOAT_EQ(p.x, 1.5f);
    EXPECT_FLOAT_EQ(p.y, -1.7f);
    EXPECT_FLOAT_EQ(p.velocityX, 0.03f);
    EXPECT_FLOAT_EQ(p.velocityY, -0.02f);
    EXPECT_EQ(p.phase, 1);
    EXPECT_EQ(p.type, kindPlayer);
    EXPECT_TRUE(state.play.unharmableActive);
    EXPECT_EQ(state.play.unharmableStart, 1234);
}

} // namespace
