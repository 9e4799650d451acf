#include "player/weapon.h"

#include "enemies/hits.h"
#include "media/sound.h"
#include "media/text.h"
#include "platform/key_state.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int reloadSoundSlot = 2;  // white-cell template: "loadclip.wav"
constexpr int firingSoundSlot = 5;  // static background: "loves.wav", looping
constexpr int doubleDamageSlot = 0; // bonus sounds: "damageborsos.wav"

constexpr float spreadLimit = 0.5f;
constexpr float spreadPerShot = 0.0025f;
constexpr float bulletClimb = 0.5f;
constexpr float bulletTop = 5.0f;
constexpr int lastFlashPicture = 3;

bool held(int virtualKey) {
    return keyState[virtualKey] != 0;
}

// The gun sits on the virus's top edge.
void returnToGun(GameObject& bullet, const GameObject& player) {
    bullet.x = player.x;
    bullet.y = player.y + player.width * 0.5f;
}

void startDoubleDamage(GameState& state, std::uint32_t now) {
    PlayState& play = state.play;
    GameObject& player = state.world.player;
    // Collecting the need again while the mode runs restarts its clock.
    if (player.oilCount >= play.doubleDamageOilNeeded) {
        play.doubleDamageActive = true;
        player.oilCount = 0;
        play.doubleDamageStart = now;
        playSound(state.world.bonusSounds.sounds[doubleDamageSlot]);
    }
}

void setDamageAndShake(GameState& state, std::uint32_t now) {
    PlayState& play = state.play;
    if (play.doubleDamageActive) {
        play.bulletDamage = 10;
        state.loop.shakeAmplitude = 0.06f;
        // Each period lasts a second longer than the last, and the next one needs one more drop.
        const std::uint32_t period =
            10000u + 1000u * static_cast<std::uint32_t>(play.doubleDamageOilNeeded);
        if (now - play.doubleDamageStart > period) {
            play.doubleDamageOilNeeded += 1;
            play.doubleDamageActive = false;
        }
    } else {
        // Truncated: full damage only while the bullets fly straight.
        play.bulletDamage = static_cast<std::int32_t>(5.0f - 10.0f * play.spread);
        state.loop.shakeAmplitude = 0.03f;
    }
}

// Alternates the two firing looks every frame, B first after a rest; the phase set before the
// change of look travels into it.
void showNextFiringLook(World& world) {
    GameObject& player = world.player;
    if (player.phase == 0) {
        player.phase = 1;
        morphInto(player, world.firingLookA);
    } else {
        player.phase = 0;
        morphInto(player, world.firingLookB);
    }
}

// The flash of a hit shows the bullet looks 1, 2 and 3, one per white-cell slot of the pass, then
// hides.
void stepImpactFlash(GameObject& flash, World& world) {
    if (!flash.visible) {
        return;
    }
    if (flash.phase < lastFlashPicture) {
        flash.phase += 1;
        morphInto(flash, world.bulletLooks[flash.phase]);
        drawSprite(flash);
    } else {
        flash.phase = 0;
        flash.visible = false;
    }
}

void testAgainstWhiteCells(GameState& state, int b) {
    World& world = state.world;
    GameObject& bullet = world.bullets[b];
    GameObject& flash = world.impactFlashes[b];
    // Every slot runs the flash step, but only the cells of the level can be hit: a slot left
    // on the field by an earlier level is neither moved nor drawn.
    for (int k = 0; k < static_cast<int>(world.whiteCells.size()); ++k) {
        const GameObject& cell = world.whiteCells[k];
        const bool hit = k < state.play.whiteCellCount && cell.visible &&
                         objectsTouch(bullet.x, bullet.y, cell.x, cell.y, bullet.height,
                                      bullet.width, cell.height, cell.width);
        if (hit) {
            bulletHitsWhiteCell(state, k);
            // A running flash is not restarted by a further hit of its bullet.
            if (flash.phase == 0) {
                flash.visible = true;
                flash.x = bullet.x;
                flash.y = bullet.y;
            }
            drawSprite(bullet);
            // The pass goes on with the following slots from the gun.
            returnToGun(bullet, world.player);
        } else if (flash.phase == 0) {
            flash.visible = false;
        }
        stepImpactFlash(flash, world);
    }
}

void testAgainstBubbles(GameState& state, int b) {
    World& world = state.world;
    const GameObject& bullet = world.bullets[b];
    const int activeBubbles =
        std::clamp(state.play.bubbleCount, 0, static_cast<int>(world.bubbles.size()));
    // The bullet flies on through bubbles, so it can hit several, and one in several frames.
    for (int j = 0; j < activeBubbles; ++j) {
        const GameObject& bubble = world.bubbles[j];
        if (bubble.visible && objectsTouch(bullet.x, bullet.y, bubble.x, bubble.y, bullet.height,
                                           bullet.width, bubble.height, bubble.width)) {
            bulletHitsBubble(state, j);
        }
    }
}

void runBullets(GameState& state) {
    World& world = state.world;
    for (int b = 0; b < static_cast<int>(world.bullets.size()); ++b) {
        GameObject& bullet = world.bullets[b];
        if (bullet.y > bulletTop) {
            returnToGun(bullet, world.player);
        }
        testAgainstWhiteCells(state, b);
        testAgainstBubbles(state, b);
        // The scatter is a random walk of steps of the current spread.
        const float step = std::rand() % 2 == 0 ? -state.play.spread : state.play.spread;
        bullet.x += step;
        bullet.y += bulletClimb;
    }
}

void fire(GameState& state) {
    PlayState& play = state.play;
    play.ammunition -= 1;
    state.loop.shakeActive = true;
    // Restarted from its beginning on every frame of fire.
    playSound(state.world.staticBackground.sounds[firingSoundSlot]);
    showNextFiringLook(state.world);
    if (play.spread < spreadLimit) {
        play.spread += spreadPerShot;
    }
    runBullets(state);
}

void restGun(GameState& state) {
    World& world = state.world;
    GameObject& player = world.player;
    // A shake started by a hit or an explosion outlasts the gun.
    state.loop.shakeActive = state.loop.shakeActive && state.play.shakeHold;
    if (player.phase != -1) {
        morphInto(player, world.restingLook);
        player.phase = -1;
    }
    // The health bar update shows it again while the cell hit last is visible.
    world.cellHealthBar.visible = false;
    state.play.spread = 0;
    // The first volley after a rest starts spread out; the bullets stay hidden in flight.
    const float offsets[] = {0.0f, -0.3f, 0.3f};
    for (int b = 0; b < static_cast<int>(world.bullets.size()); ++b) {
        GameObject& bullet = world.bullets[b];
        bullet.x = player.x + offsets[b];
        bullet.y = player.y + player.width * 0.5f;
        bullet.visible = false;
    }
}

} // namespace

void runReload(GameState& state) {
    PlayState& play = state.play;
    if (held(vkShift)) {
        if (play.reloadLatch) {
            playSound(state.world.whiteCellTemplate.sounds[reloadSoundSlot]);
        }
        play.reloadLatch = false;
        play.ammunition = fullClip;
    } else {
        play.reloadLatch = true;
    }
    if (play.ammunition == 0) {
        drawText("Press SHIFT", -1.0f, 2.0f, 1, 1, 1, 20);
    }
}

void showDoubleDamageText(const GameState& state) {
    if (state.play.doubleDamageActive) {
        drawText("!DOUBLE DAMAGE!", -2.0f, 1.5f, 1, 1, 1, 30);
    }
}

void runWeapon(GameState& state) {
    const std::uint32_t now = currentTime();
    startDoubleDamage(state, now);
    setDamageAndShake(state, now);
    if (held(vkControl) && state.play.ammunition > 0) {
        fire(state);
        return;
    }
    // An empty gun with Ctrl still held keeps the firing sound looping.
    if (!held(vkControl)) {
        stopSound(state.world.staticBackground.sounds[firingSoundSlot]);
    }
    restGun(state);
}
