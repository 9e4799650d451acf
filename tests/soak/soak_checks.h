// What the soak checks after every frame: that the game state stays sane, and that no texture or
// sound is made again once start-up is over (the late-level music alone is made later, once, at
// its first use).
#pragma once

#include "world/game_state.h"

#include <cstdint>
#include <string>
#include <vector>

struct SoakWatch {
    bool started = false;
    // What start-up made, counted and named (indexed by the name: GL and OpenAL hand out small
    // numbers, and a look-up has to be cheap enough for every record in every frame).
    std::uint32_t texturesAtStart = 0;
    std::uint32_t clipsAtStart = 0;
    std::vector<bool> knownTextures;
    std::vector<bool> knownSources;
    // the late-level music, once it exists
    std::uint32_t lateMusicSource = 0;
    // the game being played
    bool gameRunning = false;
    std::int32_t lastScore = 0;
    std::int32_t lastLevel = 0;
    // what the run has seen, for the report
    std::uint64_t gamesStarted = 0;
    std::uint64_t gamesEnded = 0;
    std::uint64_t lateLevelsReached = 0;
    std::int32_t bestScore = 0;
    std::vector<std::int32_t> finalScores; // of each game that ended, in order
};

// Called at the first frame, when start-up is over: takes the counts and names it made.
void startWatch(SoakWatch& watch, const GameState& state);

// Called after every frame: the first fault found, or an empty string when all is sane.
std::string checkFrame(SoakWatch& watch, const GameState& state);
