// The bonus modes a burst bubble starts (Perfect Shooter, Blood Pressure) and the level bonuses
// the level logic shows and pays (Hard rockin', Beatmachine, Nice slidin').
#pragma once

#include "world/game_state.h"

// Bubble burst: the mode goes on and its sound plays; a start while it runs only replays the
// sound. The clock starts at the mode's first frame.
void startPerfectShooter(GameState& state);
void startBloodPressure(GameState& state);

// Top of the frame, in the mode section: the mode's text, its clock, and its end.
void runPerfectShooter(GameState& state);
// Blood Pressure also spends every active red cell from 17 s on.
void runBloodPressure(GameState& state);

// True when Blood Pressure runs and has run for at least 17000 ms: red cells that come back
// now come back spent.
bool bloodPressureSpendsRedCells(const PlayState& play);

// Level logic: the level bonus texts while their condition holds. Hard rockin' and Beatmachine
// play their sound at their first display of the game; Beatmachine also earns its award.
void showHardRockin(GameState& state);
void showBeatmachine(GameState& state);
void showNiceSlidin();

// Level changes: the awards.
constexpr std::int32_t hardRockinAward = 50;
constexpr std::int32_t niceSlidinAward = 100;
constexpr std::int32_t beatmachineAward = 100;
