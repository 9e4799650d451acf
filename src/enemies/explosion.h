// The big explosion of a syringe meeting an oil drop: ten pictures over thirty steps, and the
// decay of the screen shake once it is over.
#pragma once

#include "world/game_state.h"

// White-cell pass, once per active white cell: one step of the running explosion, or of the
// shake decay when none runs. Its pace thus follows the number of active white cells.
void stepExplosion(GameState& state);
// Once per frame, right after the bubble pass: shows the look the last steps gave it.
void drawExplosion(GameState& state);
