#include "enemies/game_over.h"

#include "enemies/stage_clock.h"
#include "platform/main_loop.h"
#include "scores/high_scores.h"

#include <GL/gl.h>

namespace {

constexpr std::uint32_t dyingLength = 5000;

// One frame of the dying sequence: the backgrounds and the stricken virus, nothing else. No
// window messages are handled; keys pressed meanwhile wait for the menu.
void drawDyingFrame(GameState& state) {
    const std::uint32_t frameStart = currentTime();
    glClearColor(0.0f, 0.0f, 0.0f, 0.1f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    if (state.loop.shakeActive) {
        applyScreenShake(state.loop.shakeAmplitude);
    }
    World& world = state.world;
    drawSprite(world.scrollingBackground);
    drawSprite(world.staticBackground);
    morphInto(world.player, world.dyingLook);
    updateByKind(world.player);
    drawSprite(world.player);
    // The shake starts from nothing and grows every frame.
    state.loop.shakeActive = true;
    state.loop.shakeAmplitude += 0.001f;
    swapFrameBuffers();
    paceFrame(frameStart);
}

} // namespace

void endGame(GameState& state) {
    recordHighScore(state.scores, state.menu.playerName, state.world.player.score);
    LoopState& loop = state.loop;
    const std::uint32_t dyingStart = currentTime();
    loop.shakeAmplitude = 0;
    while (loop.leaveGame == 0) {
        drawDyingFrame(state);
        if (millisecondsSince(dyingStart) > dyingLength) {
            loop.leaveGame = 1;
        }
    }
    loop.shakeActive = false;
    loop.menuScreen = 3;
    loop.menuSelection = 0;
    loop.gameInProgress = false;
    loop.leaveGame = 1;
}
