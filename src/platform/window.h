// The game's one window and GL context, and the window procedure that feeds keyState.
#pragma once

#include "platform/platform.h"

// Called once by start-up, before any texture is made: the display mode (full screen), the window
// "Hemorune" with its GL context, then the fixed GL state every drawing relies on. A display that
// cannot take the mode, or a window or context that cannot be made, ends the program with status 1.
void createGameWindow();

// Called once by the orderly shut-down: restores the display mode set at start-up, releases the
// context and the window.
void destroyGameWindow();

// Called by the pumps for every message: a close posts a quit (the window stays); key messages
// set and clear keyState.
void windowProc(const WindowMessage& message);
