#include "enemies/explosion.h"

namespace {

constexpr std::int32_t explosionSteps = 30;
constexpr std::int32_t stepsPerPicture = 3;

} // namespace

void stepExplosion(GameState& state) {
    GameObject& explosion = state.world.explosion;
    if (explosion.phase < explosionSteps && state.play.explosionSlot != -1) {
        if (explosion.phase % stepsPerPicture == 0) {
            morphInto(explosion, state.world.explosionFrames[explosion.phase / stepsPerPicture]);
        }
        explosion.phase += 1;
        explosion.visible = true;
        // Drawing the scroll kind lowers it; each step puts it back in the middle.
        explosion.y = 0;
        return;
    }
    explosion.visible = false;
    if (state.loop.shakeAmplitude <= 0.03) {
        state.loop.shakeActive = false;
        state.play.shakeHold = false;
    } else {
        state.loop.shakeAmplitude -= 0.01f;
    }
}

void drawExplosion(GameState& state) {
    drawSprite(state.world.explosion);
}
