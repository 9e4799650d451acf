// A loaded game world for the enemy tests: every record built by the real asset load from small
// fixture pictures and sounds, once per test program, and copied fresh into each test.
#pragma once

#include "support/fake_platform.h"
#include "world/game_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The world as the asset load left it, with its textures and clips. The working directory is the
// fixture directory from the first call on (level 3 loads "ingame5.wav" from it).
const GameState& loadedGame();

// Sounds: a clip that has been played since the test began is no longer in its initial state.
bool wasPlayed(const SoundClip& clip);
bool isPlaying(const SoundClip& clip);
// Puts every clip of the loaded world back to its initial, never-played state.
void rewindAllSounds();

// The texts and sprites the draw log holds.
std::vector<std::string> textsDrawn(const FakePlatform& fake);
bool drewText(const FakePlatform& fake, const std::string& text);
int spritesDrawnWith(const FakePlatform& fake, TextureId texture);

// Each test starts from a fresh copy of the loaded world on a reset fake platform with the draw
// log on, all sounds rewound, no keys held and rand seeded.
class EnemiesTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // Places an object squarely on the player, or far from it.
    void putOnPlayer(GameObject& object) const;
    static void putAway(GameObject& object);

    FakePlatform* fake = nullptr;
    GameState state;
};
