// The SDL2 backend of the platform seam: the real window, GL context, keyboard, boxes and clock.
#include "platform/frame_log.h"
#include "platform/key_state.h"
#include "platform/platform.h"
#include "platform/steady_clock.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
bool displayModeChanged = false;
bool quitPosted = false;
std::uint32_t quitCode = 0;
FrameLog frameLog; // in use when HEMORUNE_FRAME_LOG names a file

void ensureSdl(Uint32 subsystem) {
    if (SDL_WasInit(subsystem) == 0) {
        SDL_InitSubSystem(subsystem);
    }
}

// The virtual-key code of an SDL key, or -1 for keys the game has no code for.
int virtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return vkA + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return 0x30 + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return vkF1 + (key - SDLK_F1);
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        return 0x61 + (key - SDLK_KP_1);
    }
    switch (key) {
    case SDLK_BACKSPACE:
        return vkBack;
    case SDLK_TAB:
        return 0x09;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return vkReturn;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return vkShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return vkControl;
    case SDLK_LALT:
    case SDLK_RALT:
        return vkMenu;
    case SDLK_PAUSE:
        return 0x13;
    case SDLK_CAPSLOCK:
        return 0x14;
    case SDLK_ESCAPE:
        return vkEscape;
    case SDLK_SPACE:
        return vkSpace;
    case SDLK_PAGEUP:
        return 0x21;
    case SDLK_PAGEDOWN:
        return 0x22;
    case SDLK_END:
        return 0x23;
    case SDLK_HOME:
        return 0x24;
    case SDLK_LEFT:
        return vkLeft;
    case SDLK_UP:
        return vkUp;
    case SDLK_RIGHT:
        return vkRight;
    case SDLK_DOWN:
        return vkDown;
    case SDLK_INSERT:
        return 0x2D;
    case SDLK_DELETE:
        return 0x2E;
    case SDLK_KP_0:
        return 0x60;
    case SDLK_KP_MULTIPLY:
        return 0x6A;
    case SDLK_KP_PLUS:
        return 0x6B;
    case SDLK_KP_MINUS:
        return 0x6D;
    case SDLK_KP_PERIOD:
        return 0x6E;
    case SDLK_KP_DIVIDE:
        return 0x6F;
    default:
        return -1;
    }
}

// Keys pressed with Alt held, and F10, are system keys: the game never records them.
bool isSystemKey(const SDL_KeyboardEvent& key, int code) {
    return (key.keysym.mod & KMOD_ALT) != 0 || code == vkMenu || code == 0x79;
}

// The exact display mode for the size, or false when the display cannot take it.
bool findDisplayMode(int width, int height, SDL_DisplayMode& found) {
    const int count = SDL_GetNumDisplayModes(0);
    bool haveMode = false;
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0 || mode.w != width || mode.h != height) {
            continue;
        }
        // Prefer 16 bits per pixel where the display offers a choice.
        if (!haveMode || SDL_BITSPERPIXEL(mode.format) == 16) {
            found = mode;
            haveMode = true;
        }
    }
    // A display already at the size can take it, whatever its mode list says: a fresh virtual X
    // server may list no modes, or not yet the one it runs at.
    SDL_DisplayMode desktop;
    if (!haveMode && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w == width &&
        desktop.h == height) {
        found = desktop;
        haveMode = true;
    }
    return haveMode;
}

// The box the game shows names the failing step; SDL's own reason goes to the terminal.
WindowResult failWith(WindowResult result) {
    std::fprintf(stderr, "hemorune: %s\n", SDL_GetError());
    return result;
}

WindowResult openWindow(int width, int height, bool fullScreen) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return failWith(WindowResult::windowFailed);
    }
    SDL_DisplayMode mode{};
    if (fullScreen && !findDisplayMode(width, height, mode)) {
        // SDL's last error may be an older one here, so the reason is said plainly.
        std::fprintf(stderr, "hemorune: the display has no %dx%d mode\n", width, height);
        return WindowResult::displayModeRefused;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
    if (fullScreen) {
        flags |= SDL_WINDOW_FULLSCREEN;
    }
    window = SDL_CreateWindow("Hemorune", 0, 0, width, height, flags);
    if (window == nullptr) {
        return failWith(WindowResult::windowFailed);
    }
    if (fullScreen) {
        SDL_SetWindowDisplayMode(window, &mode);
        displayModeChanged = true;
        SDL_ShowCursor(SDL_DISABLE);
    }
    context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        return failWith(WindowResult::contextFailed);
    }
    if (SDL_GL_MakeCurrent(window, context) != 0) {
        return failWith(WindowResult::activateFailed);
    }
    SDL_RaiseWindow(window);
    const char* frameLogPath = std::getenv("HEMORUNE_FRAME_LOG");
    if (frameLogPath != nullptr && *frameLogPath != '\0' && !openFrameLog(frameLog, frameLogPath)) {
        std::fprintf(stderr, "hemorune: cannot write the frame log %s\n", frameLogPath);
    }
    return WindowResult::ok;
}

void closeWindow(bool restoreDisplayMode) {
    closeFrameLog(frameLog);
    if (restoreDisplayMode && displayModeChanged) {
        SDL_SetWindowFullscreen(window, 0);
        SDL_ShowCursor(SDL_ENABLE);
    }
    if (context != nullptr) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool peekMessage(WindowMessage& message) {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            if (event.type == SDL_QUIT) {
                message = WindowMessage{MessageKind::close, 0};
                return true;
            }
            if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) {
                continue;
            }
            const int code = virtualKeyOf(event.key.keysym.sym);
            if (code < 0 || isSystemKey(event.key, code)) {
                continue;
            }
            const MessageKind kind =
                event.type == SDL_KEYDOWN ? MessageKind::keyDown : MessageKind::keyUp;
            message = WindowMessage{kind, static_cast<std::uint32_t>(code)};
            return true;
        }
    }
    // Like a real message queue, a posted quit comes out once everything else has been handled.
    if (quitPosted) {
        quitPosted = false;
        message = WindowMessage{MessageKind::quit, quitCode};
        return true;
    }
    return false;
}

void postQuit(std::uint32_t code) {
    quitPosted = true;
    quitCode = code;
}

void messageBox(const char* text, const char* caption, BoxIcon icon) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if (icon == BoxIcon::stop || icon == BoxIcon::error) {
        flags = SDL_MESSAGEBOX_ERROR;
    } else if (icon == BoxIcon::exclamation) {
        flags = SDL_MESSAGEBOX_WARNING;
    }
    SDL_ShowSimpleMessageBox(flags, caption, text, nullptr);
}

std::uint32_t clock() {
    ensureSdl(SDL_INIT_TIMER);
    return SDL_GetTicks();
}

void sleep(std::uint32_t milliseconds) {
    if (!frameLogOpen(frameLog)) {
        SDL_Delay(milliseconds);
        return;
    }
    const std::uint64_t before = steadyMicros();
    SDL_Delay(milliseconds);
    recordSleep(frameLog, milliseconds, static_cast<std::uint32_t>(steadyMicros() - before));
}

void swap() {
    if (window != nullptr) {
        SDL_GL_SwapWindow(window);
        recordFrame(frameLog, steadyMicros());
    }
}

void exitNow(int status) {
    closeFrameLog(frameLog);
    std::exit(status);
}

} // namespace

const PlatformBackend& sdlPlatform() {
    static const PlatformBackend backend{openWindow, closeWindow, peekMessage, postQuit, messageBox,
                                         clock,      sleep,       swap,        exitNow,  nullptr};
    return backend;
}
