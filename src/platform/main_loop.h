// The program's life: start-up, the outer loop alternating the menu loop and the game loop, and
// the orderly shut-down.
#pragma once

#include "world/game_state.h"

// Called by the entry point: runs the program and returns its exit status (the wParam of the
// last message the pumps took).
int runProgram(GameState& state);

// The pieces of the loops, for tests.
void startUp(GameState& state);
// One menu-loop iteration; false when the program must shut down (quit seen in the pump).
bool runMenuIteration(GameState& state);
// True when the menu hands over to a game (Enter on Play).
bool menuStartsGame(const GameState& state);
void startOrResumeGame(GameState& state);
void runGameIteration(GameState& state);
void leaveGameLoop(GameState& state);
void shutDown();

// Sleeps the rest of a 16 ms frame that began at frameStart.
void paceFrame(std::uint32_t frameStart);
// The F1 box: the frame rate since the last reset, then the meter restarts.
void showFrameRateMeter(LoopState& loop);
// Counts a drawn frame for the meter.
void countFrame(LoopState& loop);
// The screen-shake offset of one game frame: dy then dx, each 0 or plus/minus the amplitude.
void applyScreenShake(float amplitude);
