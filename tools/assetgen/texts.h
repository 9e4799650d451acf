// The two text pages of the menu: "help.txt" and "credits.txt".
#pragma once

#include <string>

// Short lines: the help screen draws 25-pixel text from the left of the screen, 0.3 units apart,
// and the menu picture's pale name plate lies below the fourteenth line.
std::string makeHelpText();

// The visible credits, then (below the bottom of the screen) the font's licence in full.
std::string makeCreditsText();
