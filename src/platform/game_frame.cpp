#include "platform/game_frame.h"

#include "enemies/bonuses.h"
#include "enemies/bubbles.h"
#include "enemies/cells.h"
#include "enemies/explosion.h"
#include "enemies/game_over.h"
#include "enemies/hits.h"
#include "enemies/levels.h"
#include "platform/key_state.h"
#include "platform/settings.h"
#include "player/hud.h"
#include "player/movement.h"
#include "player/weapon.h"

namespace {

// Clips of the static background, the music object.
constexpr int musicLevel = 0;
constexpr int musicLateLevel = 1;
constexpr int musicIntro = 2;

void drawBackgrounds(GameState& state) {
    drawSprite(state.world.scrollingBackground);
    drawSprite(state.world.staticBackground);
}

// The mode texts and their clocks, in their fixed order.
void showModeTexts(GameState& state) {
    runPerfectShooter(state);
    showDoubleDamageText(state);
    runUnharmable(state);
    runBloodPressure(state);
}

void drawPlayer(GameState& state) {
    drawSprite(state.world.player);
}

} // namespace

void runGameFrame(GameState& state) {
    drawBackgrounds(state);
    runReload(state);
    showModeTexts(state);
    updateBubbles(state);
    drawExplosion(state);
    updateGauges(state);
    updateHalves(state);
    updateLevel(state);
    drawCounters(state);
    updateRedCells(state);
    updateWhiteCells(state);
    movePlayer(state);
    runWeapon(state);
    updateCellHealthBar(state);
    drawPlayer(state);
    drawScore(state);
}

void startNewGame(GameState& state) {
    playSound(state.world.staticBackground.sounds[musicIntro]);
    state.play.levelStartTime = currentTime();
    startPlayerForNewGame(state);
    // A level bonus is paid only in the game that earned it.
    state.play.hardRockinPlayed = false;
    state.play.beatmachineEarned = false;
}

void endGameIfOver(GameState& state) {
    // The widescreen build lets F2 end the game as if the virus had died.
    if (f2EndsGame && keyState[vkF2] != 0) {
        state.world.player.health = 0;
    }
    if (state.world.player.health < 1) {
        endGame(state);
    }
}

void stopGameMusic(GameState& state) {
    stopSound(state.world.staticBackground.sounds[musicLevel]);
    stopSound(state.world.staticBackground.sounds[musicLateLevel]);
}
