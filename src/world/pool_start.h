// The start values the pools get when the game's assets load.
#pragma once

#include "world/game_state.h"

enum class StartPool { bubbles, whiteCells, halves, redCells };

// Called by loadGameAssets for each pool right after its template was copied into every slot:
// columns, speeds and angles from rand, in slot order.
void placePoolsAtLoad(World& world, StartPool pool);
