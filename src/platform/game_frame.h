// The game frame in its one order, and what starts and ends a game.
#pragma once

#include "world/game_state.h"

// The steps of one game frame, after the camera and the shake.
void runGameFrame(GameState& state);
// The new-game settings: intro music, stage clock, player values, resting look.
void startNewGame(GameState& state);
// After the frame: health below 1 ends the game.
void endGameIfOver(GameState& state);
// Leaving the game loop stops the level music and the late-level music.
void stopGameMusic(GameState& state);
