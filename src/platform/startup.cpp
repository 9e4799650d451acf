#include "platform/main_loop.h"

#include "media/sound.h"
#include "platform/settings.h"
#include "platform/window.h"
#include "world/game_assets.h"

#include <cstdlib>
#include <ctime>

void startUp(GameState& state) {
    MenuState& menu = state.menu;
    menu.playerName = "Unknown";
    menu.editName = menu.playerName;
    menu.editFullScreen = gameSettings.fullScreen;
    menu.editHeight = gameSettings.screenHeight;
    menu.editMusicVolume = gameSettings.musicVolume;
    menu.editEffectsVolume = gameSettings.effectsVolume;
    state.loop = LoopState{};
    state.scores.reloadHighScores = true;

    createGameWindow();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    initSound();
    loadGameBackgrounds(state.world);
    loadGameAssets(state);

    state.loop.shakeAmplitude = 0.03f;
    state.loop.frameCount = 0;
    state.loop.countStart = currentTime();
}
