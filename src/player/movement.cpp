#include "player/movement.h"

#include "media/sound.h"
#include "media/text.h"
#include "platform/key_state.h"
#include "platform/platform.h"

namespace {

constexpr float playerSpeed = 0.065f;
constexpr float glideDecay = 0.0025f;
constexpr float topBound = -1.0f;
constexpr float bottomBound = -3.0f;
constexpr float sideBound = 3.25f;
constexpr float spreadLimit = 0.5f;
constexpr float spreadPerSidewaysStep = 0.01f;

constexpr int godlikeSlot = 2;
constexpr std::uint32_t unharmableMilliseconds = 5000;

bool held(int virtualKey) {
    return keyState[virtualKey] != 0;
}

// The glide towards +: applied while it lasts, it fades to nothing below one decay step.
void glidePositive(float& position, float& velocity) {
    if (velocity > 0) {
        position += velocity;
        velocity -= glideDecay;
        if (velocity < glideDecay) {
            velocity = 0;
        }
    }
}

void glideNegative(float& position, float& velocity) {
    if (velocity < 0) {
        position += velocity;
        velocity += glideDecay;
        if (velocity > -glideDecay) {
            velocity = 0;
        }
    }
}

// Firing while strafing scatters the bullets: the harder the player strafes, the weaker the hits.
void widenSpreadWhenStrafing(PlayState& play) {
    if (held(vkControl) && play.spread < spreadLimit) {
        play.spread += spreadPerSidewaysStep;
    }
}

} // namespace

void movePlayer(GameState& state) {
    GameObject& player = state.world.player;
    PlayState& play = state.play;
    // Each direction tests the position the one before it left, so a bound is passed by at most
    // one step, and a glide simply pauses (uncleared) at its bound.
    if (player.y < topBound) {
        if (held(vkUp)) {
            player.y += player.speed;
            player.velocityY = player.speed;
        } else {
            glidePositive(player.y, player.velocityY);
        }
    }
    if (player.y > bottomBound) {
        if (held(vkDown)) {
            player.y -= player.speed;
            player.velocityY = -player.speed;
        } else {
            glideNegative(player.y, player.velocityY);
        }
    }
    if (player.x < sideBound) {
        if (held(vkRight)) {
            widenSpreadWhenStrafing(play);
            player.x += player.speed;
            // Perfect Shooter steers precisely: no sideways glide.
            player.velocityX = play.perfectShooterActive ? 0.0f : player.speed;
        } else {
            glidePositive(player.x, player.velocityX);
        }
    }
    if (player.x > -sideBound) {
        if (held(vkLeft)) {
            widenSpreadWhenStrafing(play);
            player.x -= player.speed;
            player.velocityX = play.perfectShooterActive ? 0.0f : -player.speed;
        } else {
            glideNegative(player.x, player.velocityX);
        }
    }
}

void runUnharmable(GameState& state) {
    GameObject& player = state.world.player;
    PlayState& play = state.play;
    // Tested every frame, so the cheer restarts for as long as the count stays above nine.
    if (player.syringeCount > 9) {
        play.unharmableActive = true;
        playSound(state.world.bonusSounds.sounds[godlikeSlot]);
    }
    if (!play.unharmableActive) {
        return;
    }
    drawText("-UNHARMABLE-", -2.0f, -0.5f, 1, 1, 1, 30);
    const std::uint32_t now = currentTime();
    // A new trigger while the mode runs does not restart its clock.
    if (play.unharmableStart <= 0) {
        play.unharmableStart = static_cast<std::int32_t>(now);
    }
    if (now - static_cast<std::uint32_t>(play.unharmableStart) > unharmableMilliseconds) {
        play.unharmableActive = false;
        play.unharmableStart = -1;
    }
    // Also in the frame that ended the mode: every syringe counted is paid out.
    if (player.syringeCount > 0) {
        player.health += 5;
        player.syringeCount -= 1;
    }
}

void startPlayerForNewGame(GameState& state) {
    GameObject& player = state.world.player;
    player.speed = playerSpeed;
    player.level = 0;
    player.health = 100;
    player.score = 0;
    morphInto(player, state.world.restingLook);
    player.oilCount = 0;
    player.syringeCount = 0;
}
