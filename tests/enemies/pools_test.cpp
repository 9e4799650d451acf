#include "enemies/bubbles.h"
#include "enemies/cells.h"
#include "enemies/hits.h"
#include "enemies/respawn.h"
#include "enemies_fixture.h"

#include <cstdlib>
#include <set>

namespace {

class PoolsTest : public EnemiesTest {
  protected:
    // A seed whose first rand() mod 5 is the wanted burst outcome.
    static unsigned seedForOutcome(int outcome) {
        for (unsigned seed = 1;; ++seed) {
            std::srand(seed);
            if (std::rand() % 5 == outcome) {
                return seed;
            }
        }
    }

    // A seed for a burst with outcome k whose second draw, mod `modulus`, is or is not 0.
    static unsigned seedForModeStart(int outcome, int modulus, bool starts) {
        for (unsigned seed = 1;; ++seed) {
            std::srand(seed);
            const int k = std::rand() % 5;
            const bool zero = std::rand() % modulus == 0;
            if (k == outcome && zero == starts) {
                return seed;
            }
        }
    }
};

const std::set<float> columns = {-3.25f, -2.25f, -1.25f, -0.25f, 0.75f, 1.75f, 2.75f};

TEST_F(PoolsTest, OnlyTheActiveWhiteCellsMoveAndAreDrawn) {
    state.play.whiteCellCount = 3;
    for (GameObject& cell : state.world.whiteCells) {
        cell.y = 2.0f;
        cell.speed = 0.05f;
        cell.health = 100;
        cell.visible = true;
        cell.texture = 0;
    }
    for (std::size_t i = 0; i < state.world.whiteCells.size(); ++i) {
        state.world.whiteCells[i].x = -3.0f + 0.5f * static_cast<float>(i);
    }
    updateWhiteCells(state);
    for (std::size_t i = 0; i < state.world.whiteCells.size(); ++i) {
        const GameObject& cell = state.world.whiteCells[i];
        EXPECT_EQ(cell.y != 2.0f, i < 3) << "slot " << i;
    }
    EXPECT_EQ(spritesDrawnWith(*fake, 0), 3);
}

TEST_F(PoolsTest, BubbleShotToExactlyZeroBurstsOnTheNextFrame) {
    for (int outcome = 0; outcome < 5; ++outcome) {
        SetUp();
        state.play.bubbleCount = 1;
        state.world.player.level = 2;
        GameObject& bubble = state.world.bubbles[0];
        bubble.y = 3.0f;
        bubble.health = 10;
        putAway(bubble);
        state.play.bulletDamage = 5;
        bulletHitsBubble(state, 0);
        bulletHitsBubble(state, 0);
        ASSERT_EQ(bubble.health, 0);
        std::srand(seedForOutcome(outcome));
        updateBubbles(state);
        EXPECT_TRUE(wasPlayed(state.world.bubbleTemplate.sounds[0])) << "outcome " << outcome;
        EXPECT_EQ(bubble.health, -100) << "outcome " << outcome;
    }
}

TEST_F(PoolsTest, BurstHuskNeverBurstsAgain) {
    state.play.bubbleCount = 1;
    GameObject& bubble = state.world.bubbles[0];
    bubble.y = 4.0f;
    bubble.speed = 0.03f;
    bubble.health = -100;
    bubble.visible = false;
    putAway(bubble);
    for (int frame = 0; frame < 200; ++frame) {
        updateBubbles(state);
    }
    EXPECT_EQ(bubble.health, -100);
    EXPECT_FALSE(wasPlayed(state.world.bubbleTemplate.sounds[0]));
    EXPECT_EQ(bubble.pickupKind, 0);
}

TEST_F(PoolsTest, BurstTableGivesEachOutcome) {
    const World& loaded = loadedGame().world;
    struct Case {
        int outcome;
        TextureId texture;
        std::int32_t type;
        std::int32_t pickupKind;
        bool visible;
        float width, height;
    };
    const Case cases[] = {
        {0, loaded.oilLook.texture, kindPulse, 3, true, 1.0f, 1.0f},
        {1, loaded.cigaretteLook.texture, kindZigzag, 2, true, 2.0f, 2.0f},
        {2, loaded.bubbleTemplate.texture, kindFall, 0, false, 1.0f, 1.0f},
        {3, loaded.bubbleTemplate.texture, kindFall, 0, false, 1.0f, 1.0f},
        {4, loaded.syringeLook.texture, kindSpin, 4, true, 2.0f, 2.0f},
    };
    for (const Case& c : cases) {
        SetUp();
        state.world.player.level = 2;
        GameObject& bubble = state.world.bubbles[1];
        bubble.health = 0;
        bubble.phase = 1;
        bubble.x = 1.75f;
        bubble.y = 2.5f;
        bubble.speed = 0.04f;
        std::srand(seedForOutcome(c.outcome));
        burstBubble(state, 1);
        EXPECT_EQ(bubble.texture, c.texture) << "outcome " << c.outcome;
        EXPECT_EQ(bubble.type, c.type) << "outcome " << c.outcome;
        EXPECT_EQ(bubble.pickupKind, c.pickupKind) << "outcome " << c.outcome;
        EXPECT_EQ(bubble.visible, c.visible) << "outcome " << c.outcome;
        EXPECT_EQ(bubble.health, -100) << "outcome " << c.outcome;
        EXPECT_EQ(bubble.width, c.width) << "outcome " << c.outcome;
        EXPECT_EQ(bubble.height, c.height) << "outcome " << c.outcome;
        // The new look keeps the bubble's place and pace.
        EXPECT_EQ(bubble.x, 1.75f) << "outcome " << c.outcome;
        EXPECT_EQ(bubble.y, 2.5f) << "outcome " << c.outcome;
        EXPECT_EQ(bubble.speed, 0.04f) << "outcome " << c.outcome;
        if (c.outcome == 0) {
            EXPECT_EQ(bubble.phase, 0);
        }
    }
}

TEST_F(PoolsTest, OutcomeTwoWaitsForLevelTwo) {
    for (std::int32_t level : {0, 1}) {
        SetUp();
        state.world.player.level = level;
        GameObject& bubble = state.world.bubbles[0];
        bubble.health = 0;
        std::srand(seedForOutcome(2));
        burstBubble(state, 0);
        EXPECT_EQ(bubble.health, 0) << "level " << level;
        EXPECT_TRUE(bubble.visible);
        EXPECT_FALSE(state.play.bloodPressureActive);
    }
}

TEST_F(PoolsTest, ModesStartFromOneBurstInNineOrEight) {
    struct Case {
        int outcome, modulus;
        bool starts;
        bool PlayState::*flag;
        int sound; // bonus-sound slot
    };
    const Case cases[] = {
        {2, 9, true, &PlayState::bloodPressureActive, 1},
        {2, 9, false, &PlayState::bloodPressureActive, 1},
        {3, 8, true, &PlayState::perfectShooterActive, 3},
        {3, 8, false, &PlayState::perfectShooterActive, 3},
    };
    for (const Case& c : cases) {
        SetUp();
        state.world.player.level = 3;
        state.world.bubbles[0].health = 0;
        std::srand(seedForModeStart(c.outcome, c.modulus, c.starts));
        burstBubble(state, 0);
        EXPECT_EQ(state.play.*c.flag, c.starts) << "outcome " << c.outcome;
        EXPECT_EQ(wasPlayed(state.world.bonusSounds.sounds[c.sound]), c.starts);
        EXPECT_FALSE(state.world.bubbles[0].visible);
    }
}

TEST_F(PoolsTest, CigaretteShotSixTimesBurnsDown) {
    struct Case {
        int hits;
        bool burnt;
    };
    for (const Case& c : {Case{5, false}, Case{6, true}}) {
        SetUp();
        state.play.bubbleCount = 1;
        state.world.player.level = 2;
        GameObject& bubble = state.world.bubbles[0];
        bubble.health = 0;
        bubble.y = 3.0f;
        putAway(bubble);
        std::srand(seedForOutcome(1));
        burstBubble(state, 0);
        ASSERT_EQ(bubble.pickupKind, 2);
        for (int hit = 0; hit < c.hits; ++hit) {
            bulletHitsBubble(state, 0);
        }
        EXPECT_EQ(bubble.health, -100 - 5 * c.hits);
        updateBubbles(state);
        EXPECT_EQ(bubble.pickupKind, c.burnt ? 4 : 2) << c.hits << " hits";
        EXPECT_EQ(bubble.texture, c.burnt ? loadedGame().world.burntCigaretteLook.texture
                                          : loadedGame().world.cigaretteLook.texture);
        EXPECT_EQ(bubble.type, kindZigzag);
        EXPECT_TRUE(bubble.visible);
    }
}

TEST_F(PoolsTest, CollectedPickupsShrinkAway) {
    struct Case {
        std::int32_t pickupKind;
        std::int32_t type;
        float turn;
        const char* what;
    };
    const Case cases[] = {
        {2, kindZigzag, 1.0f, "cigarette turns as it shrinks"},
        {3, kindPulse, 0.0f, "oil drop"},
        {4, kindSpin, 0.0f, "syringe"},
        {4, kindZigzag, 0.0f, "burnt cigarette, like a syringe"},
    };
    for (const Case& c : cases) {
        SetUp();
        state.play.bubbleCount = 1;
        GameObject& pickup = state.world.bubbles[0];
        pickup.pickupKind = c.pickupKind;
        pickup.type = c.type;
        pickup.health = -200;
        pickup.width = 2.0f;
        pickup.height = 2.0f;
        pickup.speed = 0;
        pickup.angle = 0;
        pickup.phase = 7; // keeps the pulse kind from changing the size
        pickup.visible = true;
        putAway(pickup);
        updateBubbles(state);
        EXPECT_FLOAT_EQ(pickup.height, 1.95f) << c.what;
        if (c.type != kindZigzag) {
            EXPECT_FLOAT_EQ(pickup.angle, c.turn) << c.what;
        }
        int frames = 1;
        while (pickup.visible && frames < 100) {
            updateBubbles(state);
            frames += 1;
        }
        EXPECT_FALSE(pickup.visible) << c.what;
        EXPECT_EQ(frames, 41) << c.what; // 40 steps of 0.05, then hidden
    }
}

TEST_F(PoolsTest, RespawnedCellsComeBackInTheSevenColumnsSmallOrBig) {
    std::set<float> seen;
    std::set<bool> sizes;
    for (int round = 0; round < 200; ++round) {
        for (bool red : {false, true}) {
            GameObject& cell = red ? state.world.redCells[0] : state.world.whiteCells[0];
            cell.y = -5.5f;
            cell.health = -3;
            if (red) {
                respawnRedCell(state, 0);
            } else {
                respawnWhiteCell(state, 0);
            }
            EXPECT_EQ(cell.y, 5.0f);
            EXPECT_EQ(columns.count(cell.x), 1u) << cell.x;
            seen.insert(cell.x);
            EXPECT_EQ(cell.health, 100);
            EXPECT_TRUE(cell.visible);
            if (cell.small) {
                EXPECT_EQ(cell.speed, 0.02f);
                EXPECT_EQ(cell.width, 1.0f);
                EXPECT_EQ(cell.height, 1.0f);
                EXPECT_EQ(cell.z, -1.0f);
                EXPECT_EQ(cell.sway, -0.2f);
            } else {
                EXPECT_EQ(cell.speed, 0.05f);
                EXPECT_EQ(cell.width, 2.0f);
                EXPECT_EQ(cell.z, 1.0f);
                EXPECT_EQ(cell.sway, -0.8f);
            }
            sizes.insert(cell.small);
        }
    }
    EXPECT_EQ(seen, columns);
    EXPECT_EQ(sizes.size(), 2u);
}

TEST_F(PoolsTest, ThirdDrawOfARespawnDecidesSmallOrBig) {
    // The column, the first size, then the pick: an even pick makes a small cell.
    std::set<bool> sizes;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::srand(seed);
        std::rand();
        std::rand();
        const bool small = std::rand() % 2 == 0;
        std::srand(seed);
        respawnWhiteCell(state, 0);
        EXPECT_EQ(state.world.whiteCells[0].small, small) << "seed " << seed;
        sizes.insert(small);
    }
    EXPECT_EQ(sizes.size(), 2u);
}

TEST_F(PoolsTest, DeadWhiteCellRespawnsWithThePlainLook) {
    GameObject& cell = state.world.whiteCells[2];
    cell.health = -3;
    cell.revived = true;
    cell.texture = state.world.deadWhiteCellLook.texture;
    respawnWhiteCell(state, 2);
    EXPECT_EQ(cell.texture, state.world.revivedWhiteCellTexture);
    EXPECT_NE(cell.texture, 0u);
    EXPECT_FALSE(cell.revived);
}

TEST_F(PoolsTest, BloodPressureRespawns) {
    struct Case {
        bool active;
        std::uint32_t runningFor; // 0: started this frame, clock not set yet
        bool whiteVisible;
        std::int32_t redHealth;
        const char* what;
    };
    const Case cases[] = {
        {false, 0, true, 100, "no Blood Pressure"},
        {true, 0, false, 100, "started this frame"},
        {true, 16999, false, 100, "just before 17 s"},
        {true, 17000, false, 0, "from 17 s red cells come back spent"},
        {true, 19000, false, 0, "still spent"},
    };
    for (const Case& c : cases) {
        SetUp();
        fake->now = 50000;
        state.play.bloodPressureActive = c.active;
        state.play.bloodPressureStart = c.runningFor == 0 ? 0 : fake->now - c.runningFor;
        respawnWhiteCell(state, 0);
        respawnRedCell(state, 0);
        EXPECT_EQ(state.world.whiteCells[0].visible, c.whiteVisible) << c.what;
        const GameObject& red = state.world.redCells[0];
        EXPECT_EQ(red.health, c.redHealth) << c.what;
        EXPECT_TRUE(red.visible) << c.what;
        if (c.active) {
            EXPECT_EQ(red.speed, 0.08f) << c.what;
            EXPECT_EQ(red.width, 2.0f) << c.what;
            EXPECT_EQ(red.z, 1.0f) << c.what;
            EXPECT_EQ(red.sway, -0.8f) << c.what;
            EXPECT_FALSE(red.small) << c.what;
        }
    }
}

TEST_F(PoolsTest, RespawnedBubbleIsAFreshBubble) {
    std::set<float> speeds;
    for (int round = 0; round < 40; ++round) {
        state.play.bubbleCount = 3;
        GameObject& bubble = state.world.bubbles[2];
        bubble = state.world.syringeLook;
        bubble.pickupKind = 4;
        bubble.health = -200;
        bubble.visible = false;
        bubble.y = -5.2f;
        updateBubbles(state);
        EXPECT_EQ(bubble.texture, state.world.bubbleTemplate.texture);
        EXPECT_EQ(bubble.health, 10);
        EXPECT_EQ(bubble.type, kindFall);
        EXPECT_EQ(bubble.pickupKind, 0);
        EXPECT_TRUE(bubble.visible);
        EXPECT_EQ(bubble.width, 1.0f);
        EXPECT_EQ(bubble.height, 1.0f);
        EXPECT_EQ(columns.count(bubble.x), 1u);
        // The pass moved it down by its speed after placing it at the top.
        EXPECT_FLOAT_EQ(bubble.y, 5.0f - bubble.speed);
        speeds.insert(bubble.speed);
    }
    EXPECT_EQ(speeds, (std::set<float>{0.03f, 0.04f}));
}

TEST_F(PoolsTest, RedCellPassSpendsShrinksAndHides) {
    state.play.redCellCount = 1;
    GameObject& cell = state.world.redCells[0];
    cell.small = false;
    cell.squeezing = false;
    cell.health = 100;
    cell.width = cell.height = 2.0f;
    cell.speed = 0;
    cell.sway = 0;
    putOnPlayer(cell);
    state.world.player.health = 100;
    updateRedCells(state);
    EXPECT_LT(state.world.player.health, 100);
    EXPECT_EQ(cell.health, 0);
    // Spent in the same frame: 0.15 off, and the sway step grows 0.04 back below 2.0.
    EXPECT_FLOAT_EQ(cell.width, 1.89f);
    const std::int32_t healthAfterHit = state.world.player.health;
    int frames = 1;
    while (cell.visible && frames < 100) {
        updateRedCells(state);
        frames += 1;
    }
    EXPECT_FALSE(cell.visible);
    EXPECT_FALSE(state.loop.shakeActive);
    EXPECT_FALSE(state.play.shakeHold);
    EXPECT_EQ(state.world.player.health, healthAfterHit);
}

} // namespace
