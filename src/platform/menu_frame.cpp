#include "platform/menu_frame.h"

#include "frontend/help_credits.h"
#include "frontend/main_menu.h"
#include "frontend/settings_screen.h"
#include "scores/high_scores.h"

void drawMenuFrame(GameState& state) {
    LoopState& loop = state.loop;
    MenuState& menu = state.menu;
    drawMenuBackground(menu);
    switch (loop.menuScreen) {
    case 0:
        drawMainMenu(menu, loop.menuSelection);
        break;
    case 1:
        drawSettingsScreen(menu, loop.menuSelection);
        break;
    case 2:
        drawHelpScreen(menu);
        break;
    case 3:
        drawHighScoreScreen(state.scores);
        break;
    case 4:
        drawCreditsScreen(menu);
        break;
    case 5:
        loop.quitRequested = true;
        break;
    default:
        break;
    }
    handleMenuKeys(loop, menu);
}

void startMenuMusic(GameState& state) {
    startMenuMusic(state.menu);
}

void stopMenuMusic(GameState& state) {
    stopMenuMusic(state.menu);
}
