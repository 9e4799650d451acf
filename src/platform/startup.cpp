#include "platform/main_loop.h"

#include "frontend/help_credits.h"
#include "frontend/main_menu.h"
#include "frontend/settings_screen.h"
#include "media/sound.h"
#include "platform/window.h"
#include "world/game_assets.h"

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
    initSound();
    loadGameBackgrounds(state.world);
    loadMenuAssets(state.menu);
    loadGameAssets(state);

    state.loop.shakeAmplitude = 0.03f;
    state.loop.frameCount = 0;
    state.loop.countStart = currentTime();
}
