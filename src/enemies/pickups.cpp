#include "enemies/pickups.h"

#include "enemies/hits.h"

namespace {

// Clips of the bubble template.
constexpr int soundSyringe = 1;   // "TAOOOT.WAV"
constexpr int soundOil = 2;       // "THUMP.WAV"
constexpr int soundCigarette = 3; // "WALL.WAV"
constexpr int soundExplosion = 4; // "explode.wav"

bool touches(const GameObject& a, const GameObject& b) {
    return objectsTouch(a.x, a.y, b.x, b.y, a.height, a.width, b.height, b.width);
}

void giveEffect(GameState& state, const GameObject& pickup) {
    GameObject& player = state.world.player;
    const GameObject& sounds = state.world.bubbleTemplate;
    switch (pickup.pickupKind) {
    case 2:
        // Cigarettes top the health up to 125 at most.
        if (player.health < 121) {
            player.health += 5;
        }
        playSound(sounds.sounds[soundCigarette]);
        break;
    case 3:
        player.oilCount += 1;
        playSound(sounds.sounds[soundOil]);
        break;
    case 4:
        player.syringeCount += 1;
        playSound(sounds.sounds[soundSyringe]);
        break;
    default:
        break;
    }
}

void shrinkBy(GameObject& pickup, float turn) {
    if (pickup.width < 0.05f) {
        pickup.visible = false;
    } else {
        pickup.width -= 0.05f;
        pickup.height -= 0.05f;
        pickup.angle += turn;
    }
}

} // namespace

void collectPickup(GameState& state, int slot) {
    GameObject& pickup = state.world.bubbles[slot];
    if (!touches(pickup, state.world.player)) {
        return;
    }
    if (pickup.health != collectedHealth) {
        giveEffect(state, pickup);
    }
    if (pickup.pickupKind >= 2 && pickup.pickupKind <= 4) {
        pickup.health = collectedHealth;
    }
}

void explodeSyringeOnOil(GameState& state, int slot, int partner) {
    World& world = state.world;
    GameObject& syringe = world.bubbles[slot];
    GameObject& oil = world.bubbles[partner];
    if (!touches(syringe, oil) || syringe.pickupKind != 4 || oil.pickupKind != 3 || !oil.visible) {
        return;
    }
    world.player.score += 100;
    playSound(world.bubbleTemplate.sounds[soundExplosion]);
    GameObject& explosion = world.explosion;
    explosion.visible = true;
    explosion.phase = 0;
    explosion.width = 6.0f;
    explosion.height = 6.0f;
    explosion.x = 0;
    explosion.y = 0;
    // Just below the bottom: both come back as bubbles at their next respawn test.
    syringe.y = -5.1f;
    oil.y = -5.1f;
    state.play.explosionSlot = slot;
    // White cells then die at their next death test for their usual points; red cells are spent.
    for (GameObject& cell : world.whiteCells) {
        cell.health = -5;
    }
    for (GameObject& cell : world.redCells) {
        cell.health = -5;
    }
    state.loop.shakeAmplitude = 0.6f;
    state.loop.shakeActive = true;
    state.play.shakeHold = true;
}

void shrinkCollectedPickup(GameObject& bubble) {
    if (bubble.health >= -199) {
        return;
    }
    if (bubble.pickupKind == 2) {
        shrinkBy(bubble, 1.0f);
    } else if (bubble.pickupKind == 3 || bubble.pickupKind == 4 || bubble.type == kindSpin) {
        // Oil drops and syringes shrink without turning; so does a burnt cigarette.
        shrinkBy(bubble, 0.0f);
    }
}
