#include "platform/main_loop.h"

#include "frontend/help_credits.h"
#include "frontend/settings_screen.h"
#include "platform/window.h"

#include <cstdlib>
#include <ctime>

void startUp(GameState& state) {
    MenuState& menu = state.menu;
    startSettings(menu);
    state.loop = LoopState{};
    state.scores.reloadHighScores = true;
    readTextLines("help.txt", menu.helpLines);
    readTextLines("credits.txt", menu.creditsLines);

    createGameWindow();
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    state.loop.shakeAmplitude = 0.03f;
    state.loop.frameCount = 0;
    state.loop.countStart = currentTime();
}
