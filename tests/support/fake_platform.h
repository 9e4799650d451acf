// The fake platform: a virtual clock that moves only when the program sleeps (or a test moves it),
// a scripted message queue, message boxes that are recorded and dismissed, an optional draw log,
// and a real offscreen GL context (EGL surfaceless) so drawing code runs headless.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// Thrown by exitProcess under the fake, so a test can see the status of an exit.
struct ProcessExit {
    int status;
};

struct RecordedBox {
    std::string text;
    std::string caption;
    BoxIcon icon;
};

struct FakePlatform {
    std::uint32_t now = 1000;
    std::deque<WindowMessage> queue;
    std::vector<RecordedBox> boxes;
    bool drawLogOn = false;
    std::vector<DrawRecord> drawLog;
    std::uint64_t swaps = 0;
    std::uint64_t sleeps = 0;
    std::uint32_t sleptTotal = 0;
    std::uint32_t lastSleep = 0;
    // Cost of one frame's work in virtual milliseconds, added at each swap.
    std::uint32_t frameWork = 0;
    // What openWindow answers; ok makes a real offscreen GL context.
    WindowResult windowResult = WindowResult::ok;
    // The offscreen surface, taken when a test program first makes its GL context. A small one
    // keeps long runs cheap: the game still draws everything, GL clips it to the surface.
    int surfaceWidth = 1280;
    int surfaceHeight = 1024;
    int windowWidth = 0;
    int windowHeight = 0;
    bool windowFullScreen = false;
    bool windowOpen = false;
    bool displayRestored = false;
    // Called after each buffer swap, with the draw log of that frame; script keys here.
    std::function<void(FakePlatform&)> onSwap;
    // Called when a message box is shown (after it is recorded).
    std::function<void(FakePlatform&, const RecordedBox&)> onBox;
    // A safety net for runaway loops in tests: the fake exits with status 99 after this many swaps.
    std::uint64_t swapLimit = 2'000'000;
};

// Resets the fake and installs it as the platform; returns it.
FakePlatform& installFakePlatform();
FakePlatform& fakePlatform();

// Makes a current offscreen GL context (800 x 600) without any window, for tests of drawing code.
void ensureGlContext();

// Helpers to script keys.
void pressKey(FakePlatform& fake, int virtualKey);
void releaseKey(FakePlatform& fake, int virtualKey);
void closeWindow(FakePlatform& fake);
