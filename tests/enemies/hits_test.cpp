#include "enemies/bubbles.h"
#include "enemies/cell_hits.h"
#include "enemies/cells.h"
#include "enemies/explosion.h"
#include "enemies/hits.h"
#include "enemies/pickups.h"
#include "enemies_fixture.h"

#include <cstdlib>
#include <set>

namespace {

class HitsTest : public EnemiesTest {};

TEST_F(HitsTest, ObjectsTouchWhenCloserThanTheirMinimumSidesOverThreePointSeven) {
    struct Case {
        float ax, ay, bx, by, aHeight, aWidth, bHeight, bWidth;
        bool touch;
        const char* what;
    };
    const Case cases[] = {
        {0, 0, 1.08f, 0, 2, 2, 2, 2, true, "two big cells 1.08 apart"},
        {0, 0, 1.09f, 0, 2, 2, 2, 2, false, "two big cells 1.09 apart"},
        {0, 0, 0, -1.08f, 2, 2, 2, 2, true, "vertically 1.08 apart"},
        {0, 0, 0.76f, 0.76f, 2, 2, 2, 2, true, "diagonal, 1.0748 apart"},
        {0, 0, 0.77f, 0.77f, 2, 2, 2, 2, false, "diagonal, 1.0889 apart"},
        {0, 0, 1.08f, 0, 2, 9, 9, 2, true, "the smaller side counts"},
        {0, 0, 1.08f, 0, 9, 1.9f, 2, 2, false, "a narrow side makes the reach shorter"},
        {0, -2.8f, 0, -1.72f, 3, 3, 1, 1, true, "player and a small cell 1.08 apart"},
        {0, -2.8f, 0, -1.7f, 3, 3, 1, 1, false, "player and a small cell 1.10 apart"},
        {0, 0, 0, 0, 0, 0, 0, 0, false, "no size never touches, not even at the same place"},
        {0, 0, 0.3f, 0, -1, -1, 2, 2, false, "a negative size makes touching harder"},
        {0, 0, 0.3f, 0, 0, 0, 2, 2, true, "where no size would still touch"},
        {0, 0, 0.2f, 0, -1, -1, 2, 2, true, "but close enough still touches"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(objectsTouch(c.ax, c.ay, c.bx, c.by, c.aHeight, c.aWidth, c.bHeight, c.bWidth),
                  c.touch)
            << c.what;
    }
}

TEST_F(HitsTest, OnScreenVerticallyIsStrictlyInsideFourAndAHalf) {
    struct Case {
        float y;
        bool onScreen;
    };
    for (const Case& c : {Case{-4.5f, false}, Case{-4.49f, true}, Case{0, true}, Case{4.49f, true},
                          Case{4.5f, false}, Case{5.0f, false}}) {
        GameObject object;
        object.y = c.y;
        EXPECT_EQ(onScreenVertically(object), c.onScreen) << "y " << c.y;
    }
}

TEST_F(HitsTest, BubbleAtTenWithDamageFourBurstsAfterTheThirdHit) {
    state.play.bubbleCount = 1;
    state.world.player.level = 3;
    GameObject& bubble = state.world.bubbles[0];
    bubble.y = 2.0f;
    bubble.health = 10;
    state.play.bulletDamage = 4;
    const int expected[] = {6, 2, -2};
    for (int hit : expected) {
        bulletHitsBubble(state, 0);
        EXPECT_EQ(bubble.health, hit);
    }
    updateWhiteCells(state); // nothing to do with bubbles: the burst waits for the bubble pass
    EXPECT_EQ(bubble.pickupKind, 0);
    EXPECT_FALSE(wasPlayed(state.world.bubbleTemplate.sounds[0]));
}

TEST_F(HitsTest, BubbleHitWithDamageZeroNeverChanges) {
    GameObject& bubble = state.world.bubbles[0];
    bubble.health = 10;
    state.play.bulletDamage = 0;
    for (int hit = 0; hit < 50; ++hit) {
        bulletHitsBubble(state, 0);
    }
    EXPECT_EQ(bubble.health, 10);
}

TEST_F(HitsTest, BulletHitsOnBubblesDependOnTheMovementType) {
    struct Case {
        std::int32_t type;
        std::int32_t health;
        std::int32_t damage;
        std::int32_t after;
        const char* what;
    };
    const Case cases[] = {
        {kindFall, 10, 5, 5, "bubble"},
        {kindFall, -8, 5, -8, "bubble not pushed below -10"},
        {kindFall, -5, 5, -10, "bubble to exactly -10"},
        {kindFall, -100, 5, -100, "a burst husk stays out of the burst range"},
        {kindZigzag, -100, 10, -105, "cigarette: always 5, whatever the damage"},
        {kindZigzag, -195, 0, -200, "cigarette: no lower limit"},
        {kindPulse, -100, 5, -100, "oil drop: nothing"},
        {kindSpin, -100, 5, -100, "syringe: nothing"},
    };
    for (const Case& c : cases) {
        GameObject& bubble = state.world.bubbles[2];
        bubble.type = c.type;
        bubble.health = c.health;
        state.play.bulletDamage = c.damage;
        bulletHitsBubble(state, 2);
        EXPECT_EQ(bubble.health, c.after) << c.what;
    }
}

TEST_F(HitsTest, WhiteCellHitDamagesShrinksAndBecomesTheLastHit) {
    struct Case {
        bool perfectShooter;
        std::int32_t health;
        std::int32_t damage;
        std::int32_t after;
        const char* what;
    };
    const Case cases[] = {
        {false, 100, 5, 95, "plain hit"},
        {false, 3, 5, -2, "a cell at 3 goes to -2"},
        {false, -8, 5, -8, "a cell at -8 stays: -13 would be below -10"},
        {false, -5, 5, -10, "down to exactly -10"},
        {true, 100, 5, -5, "Perfect Shooter: to 0 first, then the damage"},
        {true, 100, 10, -10, "Perfect Shooter under DOUBLE DAMAGE"},
        {true, 100, 0, 0, "Perfect Shooter with no damage: at 0, not dead"},
    };
    for (const Case& c : cases) {
        GameObject& cell = state.world.whiteCells[6];
        cell.health = c.health;
        cell.width = 2.0f;
        cell.height = 2.0f;
        state.play.perfectShooterActive = c.perfectShooter;
        state.play.bulletDamage = c.damage;
        state.play.lastHitWhiteCell = 0;
        bulletHitsWhiteCell(state, 6);
        EXPECT_EQ(cell.health, c.after) << c.what;
        EXPECT_FLOAT_EQ(cell.width, 1.92f) << c.what;
        EXPECT_FLOAT_EQ(cell.height, 1.92f) << c.what;
        EXPECT_EQ(state.play.lastHitWhiteCell, 6) << c.what;
    }
}

TEST_F(HitsTest, ShotWhiteCellDiesOnTheNextPassWithItsPoints) {
    struct Case {
        bool small;
        std::int32_t points;
    };
    for (const Case& c : {Case{true, 5}, Case{false, 10}}) {
        SetUp();
        state.play.whiteCellCount = 3;
        GameObject& cell = state.world.whiteCells[1];
        cell.y = 1.0f;
        cell.small = c.small;
        cell.health = 3;
        cell.revived = false;
        state.play.bulletDamage = 5;
        state.world.player.score = 40;
        bulletHitsWhiteCell(state, 1);
        EXPECT_EQ(state.world.player.score, 40);
        updateWhiteCells(state);
        EXPECT_EQ(state.world.player.score, 40 + c.points);
        EXPECT_EQ(cell.texture, state.world.deadWhiteCellLook.texture);
        EXPECT_TRUE(cell.revived);
        EXPECT_TRUE(cell.visible);
        EXPECT_EQ(cell.health, -2);
        EXPECT_EQ(cell.sway, 0.0f);
        EXPECT_EQ(cell.small, c.small);
        EXPECT_TRUE(wasPlayed(state.world.whiteCellTemplate.sounds[0]) ||
                    wasPlayed(state.world.whiteCellTemplate.sounds[1]));
        // Dead once: the next pass pays nothing more.
        updateWhiteCells(state);
        EXPECT_EQ(state.world.player.score, 40 + c.points);
    }
}

TEST_F(HitsTest, WhiteCellDiesOnlyBelowZeroAndOnlyOnce) {
    struct Case {
        std::int32_t health;
        bool revived;
        bool dies;
    };
    for (const Case& c : {Case{0, false, false}, Case{-1, false, true}, Case{-10, false, true},
                          Case{-5, true, false}}) {
        SetUp();
        GameObject& cell = state.world.whiteCells[0];
        cell.health = c.health;
        cell.revived = c.revived;
        cell.small = false;
        state.world.player.score = 0;
        killWhiteCell(state, 0);
        EXPECT_EQ(state.world.player.score, c.dies ? 10 : 0) << "health " << c.health;
        EXPECT_EQ(cell.texture == state.world.deadWhiteCellLook.texture, c.dies);
    }
}

TEST_F(HitsTest, DeathSoundIsPigOrPloopAtRandom) {
    std::set<int> sounds;
    for (unsigned seed = 1; seed < 40 && sounds.size() < 2; ++seed) {
        SetUp();
        std::srand(seed);
        const int pick = std::rand() % 2;
        state.world.whiteCells[0].health = -1;
        std::srand(seed);
        killWhiteCell(state, 0);
        const SoundClip& pig = state.world.whiteCellTemplate.sounds[0];
        const SoundClip& ploop = state.world.whiteCellTemplate.sounds[1];
        EXPECT_EQ(wasPlayed(pig), pick == 0);
        EXPECT_EQ(wasPlayed(ploop), pick == 1);
        sounds.insert(pick);
    }
    EXPECT_EQ(sounds.size(), 2u);
}

TEST_F(HitsTest, HiddenCellThatDiesShowsUpUnlessDoubleDamageRuns) {
    for (bool doubleDamage : {false, true}) {
        SetUp();
        GameObject& cell = state.world.whiteCells[0];
        cell.visible = false;
        cell.health = -5;
        state.play.doubleDamageActive = doubleDamage;
        killWhiteCell(state, 0);
        EXPECT_EQ(cell.visible, !doubleDamage);
        EXPECT_TRUE(cell.revived);
    }
}

TEST_F(HitsTest, PickupCollectionGivesItsEffectOnce) {
    struct Case {
        std::int32_t pickupKind;
        std::int32_t playerHealth;
        std::int32_t healthAfter, oilAfter, syringesAfter;
        int sound; // bubble-template slot, -1 none
        std::int32_t pickupHealthAfter;
        const char* what;
    };
    const Case cases[] = {
        {2, 100, 105, 0, 0, 3, -200, "cigarette"},
        {2, 120, 125, 0, 0, 3, -200, "cigarette at 120"},
        {2, 121, 121, 0, 0, 3, -200, "cigarette at 121: used up for nothing"},
        {3, 100, 100, 1, 0, 2, -200, "oil drop"},
        {4, 100, 100, 0, 1, 1, -200, "syringe or burnt cigarette"},
        {0, 100, 100, 0, 0, -1, -100, "a husk gives nothing and stays"},
    };
    for (const Case& c : cases) {
        SetUp();
        GameObject& pickup = state.world.bubbles[1];
        pickup.pickupKind = c.pickupKind;
        pickup.health = -100;
        pickup.width = 1.0f;
        pickup.height = 1.0f;
        putOnPlayer(pickup);
        state.world.player.health = c.playerHealth;
        collectPickup(state, 1);
        EXPECT_EQ(state.world.player.health, c.healthAfter) << c.what;
        EXPECT_EQ(state.world.player.oilCount, c.oilAfter) << c.what;
        EXPECT_EQ(state.world.player.syringeCount, c.syringesAfter) << c.what;
        EXPECT_EQ(pickup.health, c.pickupHealthAfter) << c.what;
        for (int slot = 1; slot <= 3; ++slot) {
            EXPECT_EQ(wasPlayed(state.world.bubbleTemplate.sounds[slot]), slot == c.sound)
                << c.what << ", sound slot " << slot;
        }
        // Touched again: collected already, nothing more.
        rewindAllSounds();
        collectPickup(state, 1);
        EXPECT_EQ(state.world.player.health, c.healthAfter) << c.what;
        EXPECT_EQ(state.world.player.oilCount, c.oilAfter) << c.what;
        EXPECT_EQ(state.world.player.syringeCount, c.syringesAfter) << c.what;
        EXPECT_FALSE(wasPlayed(state.world.bubbleTemplate.sounds[c.sound < 0 ? 1 : c.sound]));
    }
}

TEST_F(HitsTest, PickupAwayFromThePlayerIsNotCollected) {
    GameObject& pickup = state.world.bubbles[0];
    pickup.pickupKind = 3;
    pickup.health = -100;
    putAway(pickup);
    collectPickup(state, 0);
    EXPECT_EQ(pickup.health, -100);
    EXPECT_EQ(state.world.player.oilCount, 0);
}

TEST_F(HitsTest, RedCellContactDamageFollowsTheCellSize) {
    struct Case {
        bool small;
        std::int32_t low, high;
    };
    for (const Case& c : {Case{true, 5, 7}, Case{false, 10, 14}}) {
        std::set<std::int32_t> damages;
        for (unsigned seed = 1; seed <= 60; ++seed) {
            SetUp();
            std::srand(seed);
            GameObject& cell = state.world.redCells[0];
            cell.small = c.small;
            cell.health = 100;
            putOnPlayer(cell);
            state.world.player.health = 100;
            runRedCellContact(state, 0);
            const std::int32_t damage = 100 - state.world.player.health;
            EXPECT_GE(damage, c.low);
            EXPECT_LE(damage, c.high);
            damages.insert(damage);
            EXPECT_EQ(cell.health, 0);
            EXPECT_TRUE(wasPlayed(state.world.redCellTemplate.sounds[0]));
            EXPECT_FLOAT_EQ(state.loop.shakeAmplitude, 0.05f);
            EXPECT_TRUE(state.loop.shakeActive);
            EXPECT_TRUE(state.play.shakeHold);
        }
        EXPECT_EQ(damages.size(), static_cast<std::size_t>(c.high - c.low + 1));
    }
}

TEST_F(HitsTest, RedCellHitBelowMinusTenIsIgnored) {
    struct Case {
        std::int32_t health;
        bool hurt;
    };
    // A big cell takes 10 to 14: from 4 the result is at least -10 only for 10 to 14 ... -10.
    for (const Case& c : {Case{4, true}, Case{-1, false}, Case{-10, false}}) {
        SetUp();
        GameObject& cell = state.world.redCells[0];
        cell.small = false;
        cell.health = 100;
        putOnPlayer(cell);
        state.world.player.health = c.health;
        runRedCellContact(state, 0);
        EXPECT_EQ(state.world.player.health != c.health, c.hurt) << "health " << c.health;
        EXPECT_GE(state.world.player.health, -10);
        EXPECT_TRUE(wasPlayed(state.world.redCellTemplate.sounds[0]));
        EXPECT_EQ(cell.health, 0);
    }
}

TEST_F(HitsTest, SpentRedCellDoesNoDamageButStillShakes) {
    GameObject& cell = state.world.redCells[0];
    cell.health = 0;
    putOnPlayer(cell);
    state.world.player.health = 50;
    state.loop.shakeActive = false;
    runRedCellContact(state, 0);
    EXPECT_EQ(state.world.player.health, 50);
    EXPECT_FALSE(wasPlayed(state.world.redCellTemplate.sounds[0]));
    EXPECT_TRUE(state.loop.shakeActive);
    EXPECT_TRUE(state.play.shakeHold);
    EXPECT_FLOAT_EQ(state.loop.shakeAmplitude, 0.05f);
}

TEST_F(HitsTest, RedCellWithoutContactSetsTheSmallShake) {
    GameObject& cell = state.world.redCells[0];
    putAway(cell);
    state.loop.shakeAmplitude = 0.6f;
    state.loop.shakeActive = false;
    runRedCellContact(state, 0);
    EXPECT_FLOAT_EQ(state.loop.shakeAmplitude, 0.03f);
    EXPECT_FALSE(state.loop.shakeActive);
    EXPECT_EQ(cell.health, loadedGame().world.redCells[0].health);
}

// Puts a syringe in `syringeSlot` and an oil drop in `oilSlot`, touching each other.
void placePair(GameState& state, int syringeSlot, int oilSlot) {
    GameObject& syringe = state.world.bubbles[syringeSlot];
    GameObject& oil = state.world.bubbles[oilSlot];
    syringe.pickupKind = 4;
    syringe.health = -100;
    syringe.x = 1.0f;
    syringe.y = 1.0f;
    syringe.width = syringe.height = 2.0f;
    oil.pickupKind = 3;
    oil.health = -100;
    oil.visible = true;
    oil.x = 1.2f;
    oil.y = 1.2f;
    oil.width = oil.height = 1.0f;
}

TEST_F(HitsTest, OnlyASyringeInALowerSlotThanTheOilDropExplodes) {
    struct Case {
        int syringeSlot, oilSlot;
        bool explodes;
    };
    for (const Case& c : {Case{0, 1, true}, Case{2, 3, true}, Case{0, 3, true}, Case{1, 0, false},
                          Case{3, 4, false}, Case{4, 3, false}}) {
        SetUp();
        state.play.bubbleCount = 5;
        state.world.player.level = 3;
        placePair(state, c.syringeSlot, c.oilSlot);
        for (int slot = 0; slot < 5; ++slot) {
            if (slot != c.syringeSlot && slot != c.oilSlot) {
                putAway(state.world.bubbles[slot]);
                state.world.bubbles[slot].x = -3.0f + static_cast<float>(slot);
            }
        }
        for (GameObject& bubble : state.world.bubbles) {
            bubble.speed = 0;
        }
        state.world.player.score = 0;
        updateBubbles(state);
        const std::string what =
            "syringe " + std::to_string(c.syringeSlot) + ", oil " + std::to_string(c.oilSlot);
        EXPECT_EQ(state.world.player.score, c.explodes ? 100 : 0) << what;
        EXPECT_EQ(state.play.explosionSlot, c.explodes ? c.syringeSlot : -1) << what;
        EXPECT_EQ(wasPlayed(state.world.bubbleTemplate.sounds[4]), c.explodes) << what;
    }
}

TEST_F(HitsTest, SyringeMeetingOilSetsOffTheExplosionAndSpendsEveryCell) {
    placePair(state, 1, 2);
    explodeSyringeOnOil(state, 1, 2);
    const GameObject& explosion = state.world.explosion;
    EXPECT_TRUE(explosion.visible);
    EXPECT_EQ(explosion.phase, 0);
    EXPECT_EQ(explosion.x, 0.0f);
    EXPECT_EQ(explosion.y, 0.0f);
    EXPECT_EQ(explosion.width, 6.0f);
    EXPECT_EQ(explosion.height, 6.0f);
    EXPECT_FLOAT_EQ(state.world.bubbles[1].y, -5.1f);
    EXPECT_FLOAT_EQ(state.world.bubbles[2].y, -5.1f);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(state.world.whiteCells[i].health, -5) << "white " << i;
        EXPECT_EQ(state.world.redCells[i].health, -5) << "red " << i;
    }
    EXPECT_FLOAT_EQ(state.loop.shakeAmplitude, 0.6f);
    EXPECT_TRUE(state.loop.shakeActive);
    EXPECT_TRUE(state.play.shakeHold);
}

TEST_F(HitsTest, InvisibleOilDropDoesNotExplode) {
    placePair(state, 0, 1);
    state.world.bubbles[1].visible = false;
    explodeSyringeOnOil(state, 0, 1);
    EXPECT_EQ(state.play.explosionSlot, -1);
    EXPECT_EQ(state.world.player.score, 0);
}

TEST_F(HitsTest, ExplosionRunsThirtyStepsOnePerActiveWhiteCell) {
    struct Case {
        std::int32_t whiteCells;
        int frames;
    };
    // The step after the thirtieth hides the sprite: with 4 cells that is in frame 8.
    for (const Case& c : {Case{4, 8}, Case{3, 11}, Case{1, 31}}) {
        SetUp();
        placePair(state, 0, 1);
        explodeSyringeOnOil(state, 0, 1);
        state.play.whiteCellCount = c.whiteCells;
        for (int frame = 1; frame < c.frames; ++frame) {
            updateWhiteCells(state);
            EXPECT_TRUE(state.world.explosion.visible) << c.whiteCells << " cells, frame " << frame;
        }
        updateWhiteCells(state);
        EXPECT_FALSE(state.world.explosion.visible) << c.whiteCells << " cells";
        EXPECT_EQ(state.world.explosion.phase, 30);
    }
}

TEST_F(HitsTest, ExplosionShowsItsTenPicturesInOrder) {
    placePair(state, 0, 1);
    explodeSyringeOnOil(state, 0, 1);
    for (int step = 0; step < 30; ++step) {
        stepExplosion(state);
        EXPECT_EQ(state.world.explosion.texture,
                  loadedGame().world.explosionFrames[step / 3].texture)
            << "step " << step;
        EXPECT_EQ(state.world.explosion.phase, step + 1);
        EXPECT_EQ(state.world.explosion.y, 0.0f);
        EXPECT_EQ(state.world.explosion.width, 6.0f);
    }
}

TEST_F(HitsTest, ShakeDecaysWhenNoExplosionRuns) {
    state.play.explosionSlot = -1;
    state.loop.shakeAmplitude = 0.05f;
    state.loop.shakeActive = true;
    state.play.shakeHold = true;
    stepExplosion(state);
    EXPECT_FLOAT_EQ(state.loop.shakeAmplitude, 0.04f);
    EXPECT_TRUE(state.loop.shakeActive);
    stepExplosion(state);
    stepExplosion(state);
    EXPECT_FALSE(state.loop.shakeActive);
    EXPECT_FALSE(state.play.shakeHold);
    EXPECT_FALSE(state.world.explosion.visible);
}

TEST_F(HitsTest, KillUnderDoubleDamageSplitsAndIsWorthFiveMore) {
    struct Case {
        bool small;
        std::int32_t points;
        float halfSize;
    };
    for (const Case& c : {Case{true, 10, 1.0f}, Case{false, 15, 2.0f}}) {
        SetUp();
        state.play.whiteCellCount = 3;
        state.play.doubleDamageActive = true;
        GameObject& cell = state.world.whiteCells[2];
        cell.small = c.small;
        cell.x = 1.0f;
        cell.y = 2.0f;
        cell.visible = true;
        cell.revived = false;
        cell.health = -2;
        state.world.player.score = 0;
        updateHalves(state);
        updateWhiteCells(state);
        EXPECT_EQ(state.world.player.score, c.points);
        EXPECT_FALSE(cell.visible);
        const GameObject& left = state.world.leftHalves[2];
        const GameObject& right = state.world.rightHalves[2];
        EXPECT_EQ(left.score, 100);
        EXPECT_FLOAT_EQ(left.x, 1.0f);
        EXPECT_FLOAT_EQ(right.x, 0.5f);
        EXPECT_FLOAT_EQ(left.y, 2.0f);
        EXPECT_EQ(left.width, c.halfSize);
        EXPECT_EQ(right.height, c.halfSize);
        EXPECT_TRUE(wasPlayed(state.world.whiteCellTemplate.sounds[3]));
        EXPECT_TRUE(wasPlayed(state.world.whiteCellTemplate.sounds[4]));
    }
}

TEST_F(HitsTest, SplitNeedsDoubleDamageAFreePairAVisibleCellOnScreen) {
    struct Case {
        bool doubleDamage;
        std::int32_t halfMarker;
        bool visible;
        float y;
        std::int32_t health;
        bool splits;
        const char* what;
    };
    const Case cases[] = {
        {true, 0, true, 0, 0, true, "health 0 counts: below 1"},
        {false, 0, true, 0, -2, false, "no DOUBLE DAMAGE"},
        {true, 100, true, 0, -2, false, "the pair is still in flight"},
        {true, 0, false, 0, -2, false, "hidden cell"},
        {true, 0, true, 4.5f, -2, false, "not yet on screen"},
        {true, 0, true, -4.6f, -2, false, "off the bottom"},
        {true, 0, true, 0, 1, false, "still alive"},
    };
    for (const Case& c : cases) {
        SetUp();
        state.play.doubleDamageActive = c.doubleDamage;
        state.world.leftHalves[0].score = c.halfMarker;
        GameObject& cell = state.world.whiteCells[0];
        cell.visible = c.visible;
        cell.y = c.y;
        cell.health = c.health;
        state.world.player.score = 0;
        splitWhiteCell(state, 0);
        EXPECT_EQ(state.world.player.score, c.splits ? 5 : 0) << c.what;
        EXPECT_EQ(cell.visible, c.visible && !c.splits) << c.what;
    }
}

TEST_F(HitsTest, HalvesFallOffAndFreeTheirSlot) {
    GameObject& left = state.world.leftHalves[4];
    left.score = 100;
    left.x = 0;
    left.y = -4.95f;
    left.speed = 0.05f;
    updateHalves(state);
    EXPECT_FLOAT_EQ(left.y, -5.05f);
    EXPECT_EQ(left.score, 0);
    // Beyond the side walls a half is neither moved nor drawn.
    GameObject& right = state.world.rightHalves[4];
    right.x = 5.5f;
    right.y = 1.0f;
    fake->drawLog.clear();
    updateHalves(state);
    EXPECT_EQ(right.y, 1.0f);
    for (const DrawRecord& record : fake->drawLog) {
        EXPECT_FALSE(record.x == 5.5f && record.y == 1.0f);
    }
}

TEST_F(HitsTest, CellHealthBarFollowsTheLastHitCell) {
    struct Case {
        std::int32_t health;
        bool cellVisible;
        float width;
        bool barVisible;
    };
    for (const Case& c : {Case{100, true, 1.0f, true}, Case{40, true, 0.4f, true},
                          Case{-5, true, -0.05f, true}, Case{60, false, 0.6f, false}}) {
        SetUp();
        state.world.cellHealthBar.visible = false;
        GameObject& cell = state.world.whiteCells[3];
        cell.health = c.health;
        cell.visible = c.cellVisible;
        cell.x = -1.0f;
        cell.y = 2.0f;
        cell.width = 1.8f;
        state.play.lastHitWhiteCell = 3;
        fake->drawLog.clear();
        updateCellHealthBar(state);
        const GameObject& bar = state.world.cellHealthBar;
        EXPECT_FLOAT_EQ(bar.x, -1.0f);
        EXPECT_FLOAT_EQ(bar.y, 3.0f);
        EXPECT_FLOAT_EQ(bar.width, c.width);
        EXPECT_EQ(bar.visible, c.barVisible);
        EXPECT_EQ(spritesDrawnWith(*fake, bar.texture), c.barVisible ? 1 : 0);
    }
}

} // namespace
