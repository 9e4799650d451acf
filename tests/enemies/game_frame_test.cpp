#include "enemies/levels.h"
#include "enemies_fixture.h"
#include "platform/game_frame.h"

namespace {

class GameFrameTest : public EnemiesTest {};

TEST_F(GameFrameTest, FrameDrawsInItsFixedOrder) {
    state.world.player.level = 1;
    state.play.levelStartTime = fake->now - 4000;
    state.play.perfectShooterActive = true;
    state.play.doubleDamageActive = true;
    state.play.doubleDamageStart = fake->now;
    state.play.bloodPressureActive = true;
    state.play.ammunition = 100;
    fake->drawLog.clear();
    runGameFrame(state);
    const std::vector<std::string> texts = textsDrawn(*fake);
    ASSERT_GE(texts.size(), 5u);
    EXPECT_EQ(texts[0], "Perfect Shooter");
    EXPECT_EQ(texts[1], "!DOUBLE DAMAGE!");
    EXPECT_EQ(texts[2], "Blood Pressure");
    EXPECT_EQ(texts[3], "Easy way boy");
    // The score comes last of all.
    EXPECT_EQ(texts.back(), std::to_string(state.world.player.score));
    EXPECT_EQ(fake->drawLog.back().kind, DrawRecord::Kind::text);
    const World& world = state.world;
    ASSERT_GE(fake->drawLog.size(), 2u);
    EXPECT_EQ(fake->drawLog[0].texture, world.scrollingBackground.texture);
    // The player is the last sprite.
    TextureId lastSprite = 0;
    for (const DrawRecord& record : fake->drawLog) {
        if (record.kind == DrawRecord::Kind::sprite) {
            lastSprite = record.texture;
        }
    }
    EXPECT_EQ(lastSprite, world.player.texture);
}

TEST_F(GameFrameTest, NewGameStartsTheCountdownWithTheIntroMusic) {
    state.world.player.level = 3;
    state.world.player.score = 800;
    state.world.player.health = -4;
    state.play.bubbleCount = 4;
    state.play.hardRockinPlayed = true;
    state.play.beatmachineEarned = true;
    fake->now = 123456;
    startNewGame(state);
    EXPECT_TRUE(isPlaying(state.world.staticBackground.sounds[2]));
    EXPECT_EQ(state.play.levelStartTime, 123456u);
    EXPECT_EQ(state.world.player.level, 0);
    EXPECT_EQ(state.world.player.health, 100);
    EXPECT_EQ(state.world.player.score, 0);
    EXPECT_FALSE(state.play.hardRockinPlayed);
    EXPECT_FALSE(state.play.beatmachineEarned);
    // The first frame's level logic: the countdown, with no bubbles left from the last game.
    fake->drawLog.clear();
    updateLevel(state);
    EXPECT_EQ(state.play.bubbleCount, 0);
    EXPECT_TRUE(drewText(*fake, "Prepare!!!"));
}

TEST_F(GameFrameTest, LeavingTheGameStopsTheLevelAndLateMusicButNotTheIntro) {
    const SoundClip* music = state.world.staticBackground.sounds.data();
    playSound(music[0]);
    playSound(music[2]);
    // Slot 1 holds no clip before level 3 first begins: stopping it does nothing.
    stopGameMusic(state);
    EXPECT_FALSE(isPlaying(music[0]));
    EXPECT_TRUE(isPlaying(music[2]));
}

} // namespace
