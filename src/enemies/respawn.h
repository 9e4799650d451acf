// Cells and bubbles that fell off the bottom come back at the top with fresh values.
#pragma once

#include "world/game_state.h"

// A white cell comes back alive, with its plain look if it had died; hidden while Blood
// Pressure runs.
void respawnWhiteCell(GameState& state, int cell);
// A red cell comes back big and fast while Blood Pressure runs, and spent once it has run 17 s.
void respawnRedCell(GameState& state, int cell);
// The slot becomes a fresh bubble from the template, whatever pick-up it had turned into.
void respawnBubble(GameState& state, int slot);
