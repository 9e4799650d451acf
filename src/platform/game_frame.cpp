#include "platform/game_frame.h"

void runGameFrame(GameState& state) {
    (void)state;
}

void startNewGame(GameState& state) {
    (void)state;
}

void endGameIfOver(GameState& state) {
    (void)state;
}

void stopGameMusic(GameState& state) {
    (void)state;
}
