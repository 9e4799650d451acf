#include "platform/key_state.h"
#include "player/movement.h"
#include "player/weapon.h"
#include "player_fixture.h"

namespace {

class WeaponTest : public PlayerTest {
  protected:
    // The player's part of a game frame, in frame order.
    void gunFrame() {
        startFrame();
        runReload(state);
        showDoubleDamageText(state);
        movePlayer(state);
        runWeapon(state);
    }
    // One frame without fire: bullets at the gun, hidden, resting look.
    void restFrame() {
        release(vkControl);
        gunFrame();
    }
    const SoundClip& firingSound() { return state.world.staticBackground.sounds[5]; }
    const SoundClip& reloadSound() { return state.world.whiteCellTemplate.sounds[2]; }
    const SoundClip& doubleDamageSound() { return state.world.bonusSounds.sounds[0]; }
    GameObject& player() { return state.world.player; }

    std::vector<TextureId> spriteTextures() {
        std::vector<TextureId> textures;
        for (const DrawRecord& record : spritesDrawn(*fake)) {
            textures.push_back(record.texture);
        }
        return textures;
    }
};

TEST_F(WeaponTest, LastUnitGivesOneFrameOfFireThenRestWhileTheSoundLoops) {
    state.play.ammunition = 1;
    restFrame();
    hold(vkControl);
    gunFrame();
    EXPECT_EQ(state.play.ammunition, 0);
    EXPECT_EQ(player().texture, firingBTexture);
    EXPECT_TRUE(state.loop.shakeActive);
    EXPECT_TRUE(isPlaying(firingSound()));
    EXPECT_EQ(findText(*fake, "Press SHIFT"), nullptr);

    for (int frame = 0; frame < 3; ++frame) {
        gunFrame();
        EXPECT_EQ(state.play.ammunition, 0);
        EXPECT_EQ(player().texture, restingTexture);
        EXPECT_EQ(player().phase, -1);
        EXPECT_EQ(state.play.spread, 0);
        EXPECT_FALSE(state.loop.shakeActive);
        EXPECT_TRUE(isPlaying(firingSound())) << "the firing sound loops while Ctrl is held";
        const DrawRecord* hint = findText(*fake, "Press SHIFT");
        ASSERT_NE(hint, nullptr);
        EXPECT_FLOAT_EQ(hint->x, -1.0f);
        EXPECT_FLOAT_EQ(hint->y, 2.0f);
        EXPECT_EQ(hint->size, 20);
        EXPECT_EQ(hint->red, 1);
        EXPECT_EQ(hint->green, 1);
        EXPECT_EQ(hint->blue, 1);
    }
    restFrame();
    EXPECT_TRUE(isStopped(firingSound()));
}

TEST_F(WeaponTest, ShiftHeldForTenFramesPlaysTheReloadOnceAndKeepsAFullClip) {
    gunFrame(); // Shift up: the next press may sound
    hold(vkShift);
    hold(vkControl);
    for (int frame = 1; frame <= 10; ++frame) {
        rewindSound(reloadSound());
        startFrame();
        runReload(state);
        EXPECT_EQ(state.play.ammunition, 300) << "frame " << frame;
        EXPECT_EQ(wasPlayed(reloadSound()), frame == 1) << "frame " << frame;
        runWeapon(state);
        EXPECT_EQ(state.play.ammunition, 299) << "frame " << frame;
    }
    release(vkShift);
    runReload(state);
    hold(vkShift);
    rewindSound(reloadSound());
    runReload(state);
    EXPECT_TRUE(wasPlayed(reloadSound())) << "a new press sounds again";
}

TEST_F(WeaponTest, FiringFromRestUsesDamageFiveThenFour) {
    state.play.ammunition = 300;
    restFrame();
    hold(vkControl);
    gunFrame();
    EXPECT_EQ(state.play.bulletDamage, 5);
    EXPECT_FLOAT_EQ(state.play.spread, 0.0025f);
    gunFrame();
    EXPECT_EQ(state.play.bulletDamage, 4);
    EXPECT_FLOAT_EQ(state.play.spread, 0.005f);
}

TEST_F(WeaponTest, DamageFallsWithSpreadAndIsTenUnderDoubleDamage) {
    struct Case {
        float spread;
        bool doubleDamage;
        std::int32_t damage;
        float shake;
    };
    const Case cases[] = {
        {0, false, 5, 0.03f},     {0.0025f, false, 4, 0.03f}, {0.15f, false, 3, 0.03f},
        {0.25f, false, 2, 0.03f}, {0.35f, false, 1, 0.03f},   {0.45f, false, 0, 0.03f},
        {0.51f, false, 0, 0.03f}, {0.51f, true, 10, 0.06f},   {0, true, 10, 0.06f},
    };
    for (const Case& c : cases) {
        SetUp();
        state.play.spread = c.spread;
        state.play.doubleDamageActive = c.doubleDamage;
        state.play.doubleDamageStart = fake->now;
        runWeapon(state);
        EXPECT_EQ(state.play.bulletDamage, c.damage) << "spread " << c.spread;
        EXPECT_FLOAT_EQ(state.loop.shakeAmplitude, c.shake) << "spread " << c.spread;
    }
}

TEST_F(WeaponTest, FiringWhileStrafingRaisesSpreadByPointZeroOneTwoFiveAFrame) {
    state.play.ammunition = 300;
    player().x = -3.0f;
    player().speed = 0.001f;
    hold(vkControl);
    hold(vkRight);
    for (int frame = 1; frame <= 40; ++frame) {
        gunFrame();
        EXPECT_NEAR(state.play.spread, 0.0125f * frame, 1e-4) << "frame " << frame;
    }
    for (int frame = 0; frame < 30; ++frame) {
        gunFrame();
        EXPECT_GE(state.play.spread, 0.5f - 1e-4f);
        EXPECT_LE(state.play.spread, 0.51f + 1e-6f);
    }
}

TEST_F(WeaponTest, DoubleDamageStartsFromOilAndEachPeriodNeedsMoreAndLastsLonger) {
    struct Period {
        std::int32_t need;
        std::uint32_t lasts;
    };
    for (const Period& p : {Period{5, 15000}, Period{6, 16000}, Period{7, 17000}}) {
        ASSERT_EQ(state.play.doubleDamageOilNeeded, p.need);
        player().oilCount = p.need - 1;
        runWeapon(state);
        EXPECT_FALSE(state.play.doubleDamageActive) << "one drop short of " << p.need;

        player().oilCount = p.need;
        rewindSound(doubleDamageSound());
        const std::uint32_t start = fake->now;
        runWeapon(state);
        EXPECT_TRUE(state.play.doubleDamageActive);
        EXPECT_EQ(player().oilCount, 0);
        EXPECT_TRUE(wasPlayed(doubleDamageSound()));
        EXPECT_EQ(state.play.bulletDamage, 10);

        startFrame();
        showDoubleDamageText(state);
        const DrawRecord* text = findText(*fake, "!DOUBLE DAMAGE!");
        ASSERT_NE(text, nullptr);
        EXPECT_FLOAT_EQ(text->x, -2.0f);
        EXPECT_FLOAT_EQ(text->y, 1.5f);
        EXPECT_EQ(text->size, 30);

        fake->now = start + p.lasts;
        runWeapon(state);
        EXPECT_TRUE(state.play.doubleDamageActive) << "need " << p.need;
        fake->now = start + p.lasts + 1;
        runWeapon(state);
        // The frame that ends the mode still hits with ten.
        EXPECT_EQ(state.play.bulletDamage, 10);
        EXPECT_FALSE(state.play.doubleDamageActive) << "need " << p.need;
        EXPECT_EQ(state.play.doubleDamageOilNeeded, p.need + 1);
        runWeapon(state);
        EXPECT_EQ(state.play.bulletDamage, 5);
        startFrame();
        showDoubleDamageText(state);
        EXPECT_TRUE(textsDrawn(*fake).empty());
        fake->now += 1000;
    }
}

TEST_F(WeaponTest, CollectingTheNeedAgainRestartsTheClock) {
    player().oilCount = 5;
    runWeapon(state);
    fake->now += 10000;
    player().oilCount = 5;
    runWeapon(state);
    fake->now += 14000;
    runWeapon(state);
    EXPECT_TRUE(state.play.doubleDamageActive);
    EXPECT_EQ(state.play.doubleDamageOilNeeded, 5);
}

TEST_F(WeaponTest, FiringLooksAlternateBAAndRestReturnsOnTheFirstFrameWithoutFire) {
    state.play.ammunition = 300;
    restFrame();
    hold(vkControl);
    const TextureId expected[] = {firingBTexture, firingATexture, firingBTexture, firingATexture,
                                  firingBTexture};
    for (TextureId texture : expected) {
        gunFrame();
        EXPECT_EQ(player().texture, texture);
        EXPECT_EQ(player().type, kindPlayer);
        EXPECT_FLOAT_EQ(player().width, 3.0f);
    }
    restFrame();
    EXPECT_EQ(player().texture, restingTexture);
    EXPECT_EQ(player().phase, -1);
    hold(vkControl);
    gunFrame();
    EXPECT_EQ(player().texture, firingBTexture) << "B first again after a rest";
}

TEST_F(WeaponTest, RestPutsTheBulletsAtTheGunSpreadOutAndHidden) {
    player().x = 1.0f;
    player().y = -2.0f;
    state.play.spread = 0.3f;
    state.world.cellHealthBar.visible = true;
    for (GameObject& bullet : state.world.bullets) {
        bullet.y = 3.0f;
        bullet.visible = true;
    }
    restFrame();
    const float expectedX[] = {1.0f, 0.7f, 1.3f};
    for (int b = 0; b < 3; ++b) {
        EXPECT_FLOAT_EQ(state.world.bullets[b].x, expectedX[b]) << "bullet " << b;
        EXPECT_FLOAT_EQ(state.world.bullets[b].y, -0.5f) << "bullet " << b;
        EXPECT_FALSE(state.world.bullets[b].visible) << "bullet " << b;
    }
    EXPECT_EQ(state.play.spread, 0);
    EXPECT_FALSE(state.world.cellHealthBar.visible);
}

TEST_F(WeaponTest, RestKeepsTheShakeOnlyWhileItIsHeld) {
    struct Case {
        bool active, hold, after;
    };
    for (const Case& c : {Case{true, true, true}, Case{true, false, false},
                          Case{false, true, false}, Case{false, false, false}}) {
        SetUp();
        state.loop.shakeActive = c.active;
        state.play.shakeHold = c.hold;
        restFrame();
        EXPECT_EQ(state.loop.shakeActive, c.after) << c.active << c.hold;
    }
}

TEST_F(WeaponTest, BulletsClimbHalfAFrameAndReturnToTheGunAboveFive) {
    state.play.ammunition = 300;
    restFrame();
    hold(vkControl);
    gunFrame();
    EXPECT_FLOAT_EQ(state.world.bullets[0].y, -0.8f);
    EXPECT_NEAR(state.world.bullets[1].x, -0.3f, 0.0026f);
    EXPECT_NEAR(state.world.bullets[2].x, 0.3f, 0.0026f);
    state.world.bullets[1].y = 5.2f;
    state.world.bullets[2].y = 5.0f;
    const float spread = state.play.spread + 0.0025f;
    gunFrame();
    EXPECT_FLOAT_EQ(state.world.bullets[1].y, -0.8f);
    EXPECT_NEAR(std::abs(state.world.bullets[1].x - player().x), spread, 1e-6);
    EXPECT_FLOAT_EQ(state.world.bullets[2].y, 5.5f) << "only above 5.0 goes back";
}

// A small cell on bullet 0 at the gun: only bullet 0 reaches it (the others are 0.3 away).
class BulletHitTest : public WeaponTest {
  protected:
    void SetUp() override {
        WeaponTest::SetUp();
        state.play.ammunition = 300;
        restFrame();
        hold(vkControl);
    }
    void putCellOnTheGun(int slot) {
        GameObject& cell = state.world.whiteCells[slot];
        cell.x = player().x;
        cell.y = player().y + 1.5f;
        cell.width = 0.5f;
        cell.height = 0.5f;
        cell.health = 100;
    }
};

TEST_F(BulletHitTest, HitStartsTheFlashWhichShowsThreePicturesOverTheNextSlots) {
    struct Case {
        int slot;
        std::vector<TextureId> thisFrame;
        std::vector<TextureId> nextFrame;
    };
    const TextureId* looks = bulletLookTextures;
    const Case cases[] = {
        {0, {looks[1], looks[2], looks[3]}, {}},
        {7, {looks[1], looks[2], looks[3]}, {}},
        {8, {looks[1], looks[2]}, {looks[3]}},
        {9, {looks[1]}, {looks[2], looks[3]}},
    };
    for (const Case& c : cases) {
        SetUp();
        putCellOnTheGun(c.slot);
        gunFrame();
        EXPECT_EQ(spriteTextures(), c.thisFrame) << "slot " << c.slot;
        for (const DrawRecord& sprite : spritesDrawn(*fake)) {
            EXPECT_FLOAT_EQ(sprite.x, 0.0f);
            EXPECT_FLOAT_EQ(sprite.y, -1.3f);
        }
        const GameObject& cell = state.world.whiteCells[c.slot];
        EXPECT_EQ(cell.health, 95) << "slot " << c.slot;
        EXPECT_FLOAT_EQ(cell.width, 0.42f) << "slot " << c.slot;
        EXPECT_EQ(state.play.lastHitWhiteCell, c.slot);
        // Back at the gun, then one climb.
        EXPECT_FLOAT_EQ(state.world.bullets[0].y, -0.8f) << "slot " << c.slot;

        gunFrame();
        EXPECT_EQ(spriteTextures(), c.nextFrame) << "slot " << c.slot;
        EXPECT_FALSE(state.world.impactFlashes[0].visible) << "slot " << c.slot;
        EXPECT_EQ(state.world.impactFlashes[0].phase, 0) << "slot " << c.slot;
        EXPECT_EQ(cell.health, 95) << "no second hit";
    }
}

TEST_F(BulletHitTest, ARunningFlashIsNotRestartedByAnotherHit) {
    putCellOnTheGun(8);
    gunFrame();
    ASSERT_EQ(state.world.impactFlashes[0].phase, 2);
    // Another cell on bullet 0 where the next frame's pass will find it; the first one leaves
    // the gun, where it would be hit again.
    GameObject& other = state.world.whiteCells[0];
    other = state.world.whiteCells[8];
    other.health = 100;
    other.x = state.world.bullets[0].x;
    other.y = state.world.bullets[0].y;
    state.world.whiteCells[8].visible = false;
    gunFrame();
    EXPECT_EQ(other.health, 96) << "hit with the second frame's damage";
    EXPECT_EQ(spriteTextures(), std::vector<TextureId>{bulletLookTextures[3]});
    EXPECT_FALSE(state.world.impactFlashes[0].visible);
}

TEST_F(BulletHitTest, OnlyVisibleCellsOfTheLevelCanBeHit) {
    struct Case {
        int slot;
        std::int32_t whiteCellCount;
        bool visible;
        bool hit;
    };
    const Case cases[] = {
        {2, 3, true, true},  {3, 3, true, false},  {9, 6, true, false},
        {0, 0, true, false}, {1, 3, false, false},
    };
    for (const Case& c : cases) {
        SetUp();
        state.play.whiteCellCount = c.whiteCellCount;
        putCellOnTheGun(c.slot);
        state.world.whiteCells[c.slot].visible = c.visible;
        gunFrame();
        EXPECT_EQ(state.world.whiteCells[c.slot].health, c.hit ? 95 : 100) << "slot " << c.slot;
        EXPECT_EQ(spritesDrawn(*fake).empty(), !c.hit) << "slot " << c.slot;
        EXPECT_FLOAT_EQ(state.world.bullets[0].y, -0.8f) << "slot " << c.slot;
    }
}

TEST_F(BulletHitTest, BulletsFlyOnThroughBubblesOfTheLevel) {
    struct Case {
        int slot;
        std::int32_t bubbleCount;
        bool visible;
        bool hit;
    };
    const Case cases[] = {
        {0, 4, true, true},   {3, 4, true, true}, {4, 4, true, false},
        {1, 4, false, false}, {4, 9, true, true}, // a count beyond the pool is held to the pool
    };
    for (const Case& c : cases) {
        SetUp();
        state.play.bubbleCount = c.bubbleCount;
        GameObject& bubble = state.world.bubbles[c.slot];
        bubble.x = player().x;
        bubble.y = player().y + 1.5f;
        bubble.width = 0.5f;
        bubble.height = 0.5f;
        bubble.health = 10;
        bubble.visible = c.visible;
        gunFrame();
        EXPECT_EQ(bubble.health, c.hit ? 5 : 10) << "slot " << c.slot;
        EXPECT_FLOAT_EQ(state.world.bullets[0].y, -0.8f) << "slot " << c.slot;
        EXPECT_TRUE(spritesDrawn(*fake).empty()) << "no flash for a bubble";
    }
}

} // namespace
