// The bubble pool: bubbles fall, burst when shot into a pick-up or a bonus mode, and pick-ups
// are collected, burnt, or set off the explosion.
#pragma once

#include "world/game_state.h"

// Once per game frame, before the explosion is drawn: every active bubble slot in slot order.
void updateBubbles(GameState& state);
// A shot-down bubble turns into one of five outcomes, chosen by rand() mod 5.
void burstBubble(GameState& state, int slot);
