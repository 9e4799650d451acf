// The settings screen (screen 1): edit copies of the display mode, resolution and volumes, and the
// player's name. Apply takes them over, Cancel throws them away; nothing is saved.
#pragma once

#include "world/game_state.h"

#include <cstdint>

// Called by start-up: the name "Unknown", the name being edited, and the edit copies.
void startSettings(MenuState& menu);
// The edit copies of full screen, resolution and the two volumes, from the game's settings.
void takeSettingsCopies(MenuState& menu);

// Called by start-up after the main menu's pictures.
void loadSettingsScreen(MenuState& menu);
void drawSettingsScreen(MenuState& menu, std::int32_t menuSelection);

// Enter on the settings screen: Apply on row 5, Cancel on row 6; the flag is used up either way.
void handleSettingsEnter(LoopState& loop, MenuState& menu);
// Left, Right and the name entry, after the keys every screen shares.
void handleSettingsKeys(LoopState& loop, MenuState& menu);

void applySettings(LoopState& loop, MenuState& menu);
void cancelSettings(LoopState& loop, MenuState& menu);

// The next (step 1) or previous (step -1) resolution, by height, wrapping; a height the table
// does not know stays.
std::int32_t stepResolution(std::int32_t height, int step);
// The next or previous volume of 0, 25, 50, 75, 100, wrapping; any other value stays.
std::int32_t stepVolume(std::int32_t volume, int step);
