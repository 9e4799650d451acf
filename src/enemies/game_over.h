// The end of a game: the score goes into the high-score table, the virus dies for five seconds
// while the picture shakes harder and harder, then the menu shows the high scores.
#pragma once

#include "world/game_state.h"

// Called by the game loop after a frame, paced and swapped, that left the player's health below 1.
void endGame(GameState& state);
