// A random player for the soak: seeded, so a run can be repeated. In play it holds the arrows,
// Ctrl and Shift for random spans of frames (steering towards a white cell more often than away,
// so that it scores enough to reach the late levels), and now and then closes the window (back to
// the menu, the game kept) or asks for the frame-rate box; in the menu it wanders over the screens
// for a while, pressing one key at a time, then finds its way back to Play. It never presses
// Escape, which would end the process, and never chooses Exit.
#pragma once

#include "support/fake_platform.h"
#include "world/game_state.h"

#include <array>
#include <cstdint>
#include <random>

// One key the player holds and lets go on its own schedule.
struct HeldKey {
    int key = 0;
    bool down = false;
    std::uint64_t changeAt = 0; // the frame at which it is pressed or let go next
};

struct SoakPlayer {
    std::mt19937 random;
    std::uint64_t frame = 0;
    bool inPlay = false;
    std::array<HeldKey, 4> playKeys{}; // Up, Down, Ctrl, Shift
    int sidewaysKey = 0;               // Left, Right or 0
    std::uint64_t sidewaysChangeAt = 0;
    std::uint64_t nextCloseAt = 0;
    std::uint64_t nextF1At = 0;
    bool f1Down = false;
    // the menu: wander until this frame, then head for Play
    std::uint64_t wanderUntil = 0;
    int menuKeyDown = 0; // the one menu key held now, 0 for none
    std::uint64_t menuReleaseAt = 0;
    std::uint64_t nextMenuPressAt = 0;
    // Set when the run is over: leave play with a window close, then close the menu, so the
    // program shuts down in order.
    bool finishing = false;
    // what it did, for the report
    std::uint64_t closesInPlay = 0;
    std::uint64_t frameRateBoxes = 0;
};

SoakPlayer makeSoakPlayer(std::uint32_t seed);

// Called after every buffer swap: queues this frame's key changes from what the state shows.
void playSoakFrame(SoakPlayer& player, const GameState& state, FakePlatform& fake);
