#include "platform/main_loop.h"

#include "frontend/help_credits.h"
#include "frontend/main_menu.h"
#include "frontend/settings_screen.h"
#include "media/sound.h"
#include "platform/startup_timings.h"
#include "platform/window.h"
#include "world/game_assets.h"

#include <cstdlib>
#include <ctime>

namespace {

void markStep(GameState& state, StartupStep step) {
    if (state.startupTimings != nullptr) {
        markStartupStep(*state.startupTimings, step);
    }
}

} // namespace

void startUp(GameState& state) {
    MenuState& menu = state.menu;
    startSettings(menu);
    state.loop = LoopState{};
    state.scores.reloadHighScores = true;
    readTextLines("help.txt", menu.helpLines);
    readTextLines("credits.txt", menu.creditsLines);
    markStep(state, StartupStep::textFiles);

    createGameWindow();
    markStep(state, StartupStep::windowAndContext);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    initSound();
    markStep(state, StartupStep::soundInit);
    loadGameBackgrounds(state.world);
    loadMenuAssets(state.menu);
    loadGameAssets(state);
    markStep(state, StartupStep::loadingRest);

    state.loop.shakeAmplitude = 0.03f;
    state.loop.frameCount = 0;
    state.loop.countStart = currentTime();
}
