// What the menu loop draws and handles each frame, and its music.
#pragma once

#include "world/game_state.h"

// The menu background, the current screen, then the menu keys.
void drawMenuFrame(GameState& state);
// Called when the outer loop enters the menu: the menu music from its start.
void startMenuMusic(GameState& state);
// Called when a game starts or resumes.
void stopMenuMusic(GameState& state);
