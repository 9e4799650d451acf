#include "platform/main_loop.h"

#include "media/sound.h"
#include "platform/game_frame.h"
#include "platform/key_state.h"
#include "platform/menu_frame.h"
#include "platform/startup_timings.h"
#include "platform/window.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

void beginFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.1f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
}

float shakeOffset(float amplitude) {
    const int on = std::rand() % 2;
    const int sign = std::rand() % 2 + 1;
    return static_cast<float>(on) * amplitude * static_cast<float>(std::pow(-1.0, sign));
}

} // namespace

void paceFrame(std::uint32_t frameStart) {
    const std::uint32_t elapsed = currentTime() - frameStart;
    if (elapsed < 16) {
        sleepFor(16 - elapsed);
    }
}

void showFrameRateMeter(LoopState& loop) {
    const std::uint32_t passed = currentTime() - loop.countStart;
    // No millisecond passed: no rate can be told, so the meter says 0.
    const std::uint32_t rate = passed == 0 ? 0 : (loop.frameCount * 1000u) / passed;
    const std::string text = std::to_string(rate);
    showMessageBox(text.c_str(), "FPS-o-meter", BoxIcon::exclamation);
    keyState[vkF1] = 0;
    loop.frameCount = 0;
    loop.countStart = currentTime();
}

void countFrame(LoopState& loop) {
    loop.frameCount += 1;
    if (loop.frameCount == 0) {
        loop.countStart = currentTime();
    }
}

void applyScreenShake(float amplitude) {
    const float dy = shakeOffset(amplitude);
    const float dx = shakeOffset(amplitude);
    glTranslatef(dx, dy, 0.0f);
}

bool runMenuIteration(GameState& state) {
    LoopState& loop = state.loop;
    for (;;) {
        if (loop.quitRequested) {
            return false;
        }
        WindowMessage message;
        if (!peekWindowMessage(message)) {
            break;
        }
        loop.lastMessage = message;
        if (message.kind == MessageKind::quit) {
            loop.quitRequested = true;
        } else {
            windowProc(message);
        }
    }
    const std::uint32_t frameStart = currentTime();
    beginFrame();
    drawMenuFrame(state);
    if (keyState[vkF1] != 0) {
        showFrameRateMeter(loop);
    }
    countFrame(loop);
    swapFrameBuffers();
    if (state.startupTimings != nullptr) {
        writeStartupReport(*state.startupTimings); // only the first frame's call writes
    }
    paceFrame(frameStart);
    return true;
}

bool menuStartsGame(const GameState& state) {
    return state.loop.menuScreen == 0 && state.loop.menuSelection == 0 && keyState[vkReturn] != 0;
}

void startOrResumeGame(GameState& state) {
    keyState[vkReturn] = 0;
    state.loop.leaveGame = 0;
    if (!state.loop.gameInProgress) {
        startNewGame(state);
        state.loop.gameInProgress = true;
    }
    stopMenuMusic(state);
}

void runGameIteration(GameState& state) {
    LoopState& loop = state.loop;
    WindowMessage message;
    if (peekWindowMessage(message)) {
        // Only an empty queue gets a frame drawn.
        loop.lastMessage = message;
        if (message.kind == MessageKind::quit) {
            loop.leaveGame = 1;
        } else {
            windowProc(message);
        }
        return;
    }
    const std::uint32_t frameStart = currentTime();
    beginFrame();
    if (loop.shakeActive) {
        applyScreenShake(loop.shakeAmplitude);
    }
    runGameFrame(state);
    if (keyState[vkEscape] != 0) {
        exitProcess(1);
    }
    if (keyState[vkF1] != 0) {
        showFrameRateMeter(loop);
    }
    swapFrameBuffers();
    countFrame(loop);
    paceFrame(frameStart);
    endGameIfOver(state);
}

void leaveGameLoop(GameState& state) {
    stopGameMusic(state);
}

void shutDown() {
    shutDownSound();
    destroyGameWindow();
}

int runProgram(GameState& state) {
    startUp(state);
    for (;;) {
        startMenuMusic(state);
        do {
            if (!runMenuIteration(state)) {
                shutDown();
                return static_cast<int>(state.loop.lastMessage.wParam);
            }
        } while (!menuStartsGame(state));
        startOrResumeGame(state);
        while (state.loop.leaveGame == 0) {
            runGameIteration(state);
        }
        leaveGameLoop(state);
    }
}
