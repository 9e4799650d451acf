// The blood-cell pools: red cells to dodge, white cells to shoot, and the halves a killed white
// cell splits into under DOUBLE DAMAGE.
#pragma once

#include "world/game_state.h"

// Once per game frame, after the explosion is drawn: all ten half pairs, with the split test
// of each white-cell slot.
void updateHalves(GameState& state);
// Once per game frame, after the level logic: each active red-cell slot.
void updateRedCells(GameState& state);
// Once per game frame, after the red cells: each active white-cell slot, with the deaths and
// the explosion steps.
void updateWhiteCells(GameState& state);
