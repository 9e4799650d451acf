// The whole run directory: every file the game reads, generated into one folder.
#pragma once

#include <string>

// Writes every picture, sound, the font copy and the two texts under `outputDir` (made if
// missing). Returns false after printing the reason to stderr.
bool generateAssets(const std::string& outputDir);
