// The high-score list: recorded at the end of every game, shown on menu screen 3.
#pragma once

#include "scores/high_score_file.h"
#include "world/game_state.h"

#include <cstdint>
#include <string>

// Relative to the working directory, like every file of the game.
inline constexpr const char* highScoreFileName = "hiscore.txt";

// Called once when a game ends, before the dying sequence: reads the list, inserts the score when
// it qualifies, rewrites the file (every time, also when nothing changed) and sets the screen's
// reload flag. A list that cannot be rewritten stays as it was and the game goes on.
void recordHighScore(HighScoreState& scores, const std::string& playerName, std::int32_t score,
                     const std::string& path = highScoreFileName,
                     const HighScoreFileOps& ops = systemFileOps());

// Replaces highScoreLines with the file's numbered lines and clears the reload flag; a missing or
// unreadable file reads as empty.
void loadHighScoreLines(HighScoreState& scores, const std::string& path = highScoreFileName);

// Called every frame of menu screen 3, inside the menu's drawing transform.
void drawHighScoreScreen(HighScoreState& scores, const std::string& path = highScoreFileName);
