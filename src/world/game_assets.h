// The load of every picture, sound, template and pool of play, once, before the first menu frame.
#pragma once

#include "world/game_object.h"
#include "world/game_state.h"

#include <array>

// Built from "qor_virus5.png" during static initialisation, before any window exists, so a
// missing file ends the program before anything else happens. Nothing reads it; the load only
// hides it. Defined by the entry point.
extern std::array<GameObject, 1> staticRecord;

// The default record the static initialisation builds and copies into staticRecord.
GameObject makeStaticRecord();

// Called by start-up right after the sound system is up, before the menu's assets: the scrolling
// and the static background.
void loadGameBackgrounds(World& world);

// Called by start-up after the menu's assets, before the menu loop: every other record and pool of
// play, and the game-wide mode flags, which are reset here once per run and never per game.
void loadGameAssets(GameState& state);
