#include "platform/menu_frame.h"

void drawMenuFrame(GameState& state) {
    if (state.loop.menuScreen == 5) {
        state.loop.quitRequested = true;
    }
}

void startMenuMusic(GameState& state) {
    (void)state;
}

void stopMenuMusic(GameState& state) {
    (void)state;
}
