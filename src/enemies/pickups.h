// What the bubble pool does when its pick-ups touch: the player collecting one, and a syringe
// meeting an oil drop.
#pragma once

#include "world/game_state.h"

// Bubble pass, contact step: a pick-up touching the player gives its effect once and is marked
// collected (-200), which makes it shrink away.
void collectPickup(GameState& state, int slot);
// Bubble pass: a syringe (or burnt cigarette) in `slot` touching a visible oil drop in the later
// slot `partner` sets off the big explosion that kills every cell.
void explodeSyringeOnOil(GameState& state, int slot, int partner);
// Bubble pass: a collected pick-up shrinks each frame until it is too small to see.
void shrinkCollectedPickup(GameObject& bubble);

// Bubble health that marks a collected pick-up.
constexpr std::int32_t collectedHealth = -200;
