#include "platform/window.h"

#include "platform/key_state.h"
#include "platform/settings.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// The mode actually set at start-up, which the shut-down restores whatever the settings screen
// changed since (restoring by the current flag would leave the display changed).
bool startedFullScreen = false;

void setInitialGlState() {
    glViewport(0, 0, gameSettings.screenWidth, gameSettings.screenHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0,
                   static_cast<double>(gameSettings.screenWidth) /
                       static_cast<double>(gameSettings.screenHeight),
                   0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glAlphaFunc(GL_GREATER, 0.1f);
    glEnable(GL_ALPHA_TEST);
}

const char* failureText(WindowResult result) {
    switch (result) {
    case WindowResult::displayModeRefused:
        return "Program Will Now Close.";
    case WindowResult::windowFailed:
        return "Window Creation Error.";
    case WindowResult::contextFailed:
        return "Can't Create A GL Rendering Context.";
    case WindowResult::activateFailed:
        return "Can't Activate The GL Rendering Context.";
    case WindowResult::ok:
        break;
    }
    return "";
}

} // namespace

void createGameWindow() {
    const WindowResult result = openPlatformWindow(
        gameSettings.screenWidth, gameSettings.screenHeight, gameSettings.fullScreen);
    if (result != WindowResult::ok) {
        // Drawing without a window or context cannot work, so every failure here ends the program.
        const BoxIcon icon =
            result == WindowResult::displayModeRefused ? BoxIcon::stop : BoxIcon::exclamation;
        showMessageBox(failureText(result), "ERROR", icon);
        exitProcess(1);
    }
    startedFullScreen = gameSettings.fullScreen;
    setInitialGlState();
}

void destroyGameWindow() {
    closePlatformWindow(startedFullScreen);
}

void windowProc(const WindowMessage& message) {
    switch (message.kind) {
    case MessageKind::close:
        postQuitMessage(0);
        break;
    case MessageKind::keyDown:
        keyState[message.wParam & 0xFFu] = 1;
        break;
    case MessageKind::keyUp:
        keyState[message.wParam & 0xFFu] = 0;
        break;
    case MessageKind::quit:
        break;
    }
}
