// The platform seam: the only services the game takes from the system. The real programs run on
// the SDL backend; tests install a fake one (virtual clock, scripted messages, recorded boxes).
#pragma once

#include <cstdint>
#include <string>

enum class MessageKind { close, quit, keyDown, keyUp };

// One window message: for key messages wParam is the virtual-key code, for quit the exit code.
struct WindowMessage {
    MessageKind kind = MessageKind::quit;
    std::uint32_t wParam = 0;
};

enum class BoxIcon { exclamation, stop, information, error };

enum class WindowResult { ok, displayModeRefused, windowFailed, contextFailed, activateFailed };

// What one frame drew, for tests that switch the draw log on.
struct DrawRecord {
    enum class Kind { sprite, text } kind = Kind::sprite;
    std::uint32_t texture = 0;
    float x = 0, y = 0, z = 0, width = 0, height = 0, angle = 0;
    std::string text;
    int size = 0;
    float red = 1, green = 1, blue = 1;
};

struct PlatformBackend {
    WindowResult (*openWindow)(int width, int height, bool fullScreen);
    void (*closeWindow)(bool restoreDisplayMode);
    bool (*peekMessage)(WindowMessage& message);
    void (*postQuit)(std::uint32_t code);
    void (*messageBox)(const char* text, const char* caption, BoxIcon icon);
    std::uint32_t (*clock)();
    void (*sleep)(std::uint32_t milliseconds);
    void (*swap)();
    void (*exit)(int status);                     // must not return
    void (*recordDraw)(const DrawRecord& record); // null: no draw log
};

// Called by the entry point (SDL) or a test (fake) before anything else.
void installPlatform(const PlatformBackend& backend);
const PlatformBackend& sdlPlatform();

// Called by createGameWindow: display mode, window "Hemorune", GL context made current.
WindowResult openPlatformWindow(int width, int height, bool fullScreen);
// Called by destroyGameWindow at an orderly shut-down.
void closePlatformWindow(bool restoreDisplayMode);
// Called by the loops' pumps: takes one pending message, if there is one.
bool peekWindowMessage(WindowMessage& message);
// Called by windowProc on a close: a quit message with this code joins the queue.
void postQuitMessage(std::uint32_t code);
// Called on every failure the player must see: modal, OK only; returns when dismissed.
void showMessageBox(const char* text, const char* caption, BoxIcon icon);
// Milliseconds since some start, unsigned 32-bit, wrapping; every timer of the game compares these.
std::uint32_t currentTime();
// Called by frame pacing and the dying sequence.
void sleepFor(std::uint32_t milliseconds);
// Called once per drawn frame.
void swapFrameBuffers();
// Ends the process at once with this status (no shut-down steps).
[[noreturn]] void exitProcess(int status);
// True while a test has the draw log on; drawing code then reports what it draws.
bool drawLogEnabled();
void recordDraw(const DrawRecord& record);
