// A play world built by hand for the player tests: the records the gun, the movement and the
// display use, with distinct made-up texture names to tell the looks apart in the draw log, and
// real (silent) sound clips so that a test can see which sound was played or stopped.
#pragma once

#include "support/fake_platform.h"
#include "world/game_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Texture names of the hand-built records.
constexpr TextureId restingTexture = 11;
constexpr TextureId firingATexture = 12;
constexpr TextureId firingBTexture = 13;
constexpr TextureId bulletLookTextures[4] = {21, 22, 23, 24};
constexpr TextureId healthGaugeTexture = 31;
constexpr TextureId damageGaugeTexture = 32;
constexpr TextureId whiteCellTexture = 41;
constexpr TextureId bubbleTexture = 51;

// The world as the asset load leaves it, as far as the player side uses it: player at (0, -2.8)
// resting, bullets at the gun, flashes idle, gauges at -4.5 and 4.5, white cells and bubbles far
// above the field, ten active white cells and four active bubbles.
const GameState& builtPlay();

// Sounds: put a clip back to its never-played state, and ask what happened to it since.
void rewindSound(const SoundClip& clip);
bool wasPlayed(const SoundClip& clip);
bool isPlaying(const SoundClip& clip);
bool isStopped(const SoundClip& clip);

std::vector<DrawRecord> textsDrawn(const FakePlatform& fake);
const DrawRecord* findText(const FakePlatform& fake, const std::string& text);
std::vector<DrawRecord> spritesDrawn(const FakePlatform& fake);

// Each test starts from a fresh copy of the built world on a reset fake platform with the draw
// log on, every clip rewound, no keys held and rand seeded.
class PlayerTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void hold(int virtualKey);
    void release(int virtualKey);
    // Clears the draw log; a test calls it before the frame whose drawings it checks.
    void startFrame();

    FakePlatform* fake = nullptr;
    GameState state;
};
