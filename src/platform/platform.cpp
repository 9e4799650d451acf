#include "platform/platform.h"

#include <cstdlib>

namespace {
// A function-local pointer, so that static initialisation (which may already load a picture and
// show a box) finds the backend whatever the order of initialisation between files.
const PlatformBackend*& activeBackend() {
    static const PlatformBackend* backend = &sdlPlatform();
    return backend;
}
} // namespace

void installPlatform(const PlatformBackend& newBackend) {
    activeBackend() = &newBackend;
}

WindowResult openPlatformWindow(int width, int height, bool fullScreen) {
    return activeBackend()->openWindow(width, height, fullScreen);
}

void closePlatformWindow(bool restoreDisplayMode) {
    activeBackend()->closeWindow(restoreDisplayMode);
}

bool peekWindowMessage(WindowMessage& message) {
    return activeBackend()->peekMessage(message);
}

void postQuitMessage(std::uint32_t code) {
    activeBackend()->postQuit(code);
}

void showMessageBox(const char* text, const char* caption, BoxIcon icon) {
    activeBackend()->messageBox(text, caption, icon);
}

std::uint32_t currentTime() {
    return activeBackend()->clock();
}

void sleepFor(std::uint32_t milliseconds) {
    activeBackend()->sleep(milliseconds);
}

void swapFrameBuffers() {
    activeBackend()->swap();
}

void exitProcess(int status) {
    activeBackend()->exit(status);
    std::_Exit(status); // a backend's exit never returns; this only satisfies [[noreturn]]
}

bool drawLogEnabled() {
    return activeBackend()->recordDraw != nullptr;
}

void recordDraw(const DrawRecord& record) {
    if (activeBackend()->recordDraw != nullptr) {
        activeBackend()->recordDraw(record);
    }
}
