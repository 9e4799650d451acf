// The four levels of a game on the stage clock: the countdown, then three timed levels. The level
// sets the active counts of the pools, shows its title, changes the music and pays the level
// bonuses at its end.
#pragma once

#include "world/game_state.h"

// Once per game frame, after the halves pass and before the red cells.
void updateLevel(GameState& state);
