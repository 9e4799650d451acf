// What happens to the cells: a red cell running into the player, a white cell dying, and a
// killed white cell splitting in two under DOUBLE DAMAGE.
#pragma once

#include "world/game_state.h"

// Red-cell pass, contact step: a live red cell touching the player costs it health; any touch
// shakes the screen and spends the cell. Without a touch the shake amplitude falls back to 0.03.
void runRedCellContact(GameState& state, int cell);
// White-cell pass, death step: a cell below 0 health that has not died yet pays its points and
// takes the dead look.
void killWhiteCell(GameState& state, int cell);
// Halves pass: under DOUBLE DAMAGE a killed, visible, on-screen white cell hides and its two
// halves fly off from where it was.
void splitWhiteCell(GameState& state, int cell);
