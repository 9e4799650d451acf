// What the screen shows about the player during play: the health and damage gauges, the pick-up
// counters and the score.
#pragma once

#include "world/game_state.h"

// Right after the explosion sprite, before the halves pass: both gauges take their height from
// this frame's health and the damage the last runWeapon computed, then are drawn.
void updateGauges(GameState& state);

// Right after the level logic, before the red-cell pass: the oil drops under the damage gauge,
// the syringes under the health gauge.
void drawCounters(const GameState& state);

// Right after the player is drawn, last of the frame's drawings.
void drawScore(const GameState& state);
