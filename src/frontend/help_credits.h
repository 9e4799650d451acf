// The help (screen 2) and credits (screen 4) screens: the lines of "help.txt" and "credits.txt",
// read once at start-up and drawn from the top down.
#pragma once

#include "world/game_state.h"

#include <string>
#include <vector>

// Called by start-up before the window exists. Appends one entry per line: a file ending in a
// line feed gives a last, empty entry, and an empty file a single empty one. A file that cannot
// be opened adds nothing, which leaves its screen blank.
void readTextLines(const std::string& fileName, std::vector<std::string>& lines);

void drawHelpScreen(const MenuState& menu);
void drawCreditsScreen(const MenuState& menu);
