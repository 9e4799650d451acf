// The gun: ammunition and reload, the damage of a hit, DOUBLE DAMAGE, the firing looks and the
// bullets with their impact flashes.
#pragma once

#include "world/game_state.h"

constexpr std::int32_t fullClip = 300;

// First step of the mode section, right after the backgrounds: Shift reloads (its sound once per
// press), and an empty gun shows "Press SHIFT".
void runReload(GameState& state);

// Mode section, after the Perfect Shooter text and before the UNHARMABLE step.
void showDoubleDamageText(const GameState& state);

// Once per game frame, right after movePlayer: DOUBLE DAMAGE, the damage and shake of this frame,
// then one frame of fire (bullets against the white cells and bubbles) or the gun at rest.
void runWeapon(GameState& state);
