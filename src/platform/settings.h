// The start-up settings: compiled-in defaults, edited in memory by the settings screen, never
// saved.
#pragma once

#include <cstdint>

struct GameSettings {
    std::int32_t effectsVolume;
    std::int32_t musicVolume;
    bool fullScreen;
    std::int32_t screenHeight;
    std::int32_t screenWidth;
};

// Both are defined by the entry point of each program (and by the test support), which is what
// makes hemorune and hemorune-wide two programs from one library.
extern GameSettings gameSettings;
extern bool f2EndsGame; // the widescreen build lets F2 end a game at once
