// The virus: its movement inside its box, the UNHARMABLE mode, and what a new game sets on it.
#pragma once

#include "world/game_state.h"

// Once per game frame, after the white-cell pass and before runWeapon: the held arrows move the
// player, a released arrow leaves a decaying glide, and Ctrl with a sideways move widens the
// bullets' scatter.
void movePlayer(GameState& state);

// Once per game frame in the mode section, after the DOUBLE DAMAGE text and before the Blood
// Pressure text: more than nine syringes start the mode, which turns syringes into health.
void runUnharmable(GameState& state);

// Called by the start of a new game. Position, glide, firing phase and the UNHARMABLE state are
// kept: a new game starts wherever the last one left the player.
void startPlayerForNewGame(GameState& state);
