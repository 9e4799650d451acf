// Hits and their consequences: the one hit test of the game, and the steps the passes and the
// bullet loop call when two things touch.
#pragma once

#include "world/game_state.h"

// Two objects touch when their centres are closer than (min side of a + min side of b) / 3.7.
bool objectsTouch(float ax, float ay, float bx, float by, float aHeight, float aWidth,
                  float bHeight, float bWidth);
// True when the object's centre is strictly between y -4.5 and 4.5.
bool onScreenVertically(const GameObject& object);

// Called by the bullet loop for a bullet touching white-cell slot `cell`: damage, shrink and the
// last-hit cell. (The impact flash and the bullet's return are the bullet loop's own.)
void bulletHitsWhiteCell(GameState& state, int cell);
// Called by the bullet loop for a bullet touching bubble slot `slot`; the bullet flies on.
void bulletHitsBubble(GameState& state, int slot);
// Called after the bullet loop: the cell health bar follows the last hit white cell, then is drawn.
void updateCellHealthBar(GameState& state);
