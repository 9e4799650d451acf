#include "enemies/bubbles.h"

#include "enemies/bonuses.h"
#include "enemies/pickups.h"
#include "enemies/respawn.h"

#include <cstdlib>

namespace {

constexpr int soundBurst = 0; // "DRIPITY.WAV", bubble template
// The last slot that can be the oil-drop partner of a syringe.
constexpr int lastPartnerSlot = 3;
constexpr std::int32_t burstHealth = -100;

void becomePickup(GameObject& bubble, GameObject& look, std::int32_t type, std::int32_t kind) {
    morphInto(bubble, look);
    bubble.type = type;
    bubble.health = burstHealth;
    bubble.pickupKind = kind;
    bubble.visible = true;
}

// A burst that leaves nothing to see: the husk falls on unseen until it respawns.
void becomeHusk(GameObject& bubble) {
    bubble.health = burstHealth;
    bubble.visible = false;
}

void burstIfShot(GameState& state, int slot) {
    const GameObject& bubble = state.world.bubbles[slot];
    if (bubble.health <= 0 && bubble.health > burstHealth) {
        playSound(state.world.bubbleTemplate.sounds[soundBurst]);
        burstBubble(state, slot);
    }
}

// A cigarette shot below -125 burns; its movement stays the zigzag.
void burnCigarette(GameState& state, int slot) {
    GameObject& bubble = state.world.bubbles[slot];
    if (bubble.pickupKind == 2 && bubble.health > -200 && bubble.health < -125) {
        morphInto(bubble, state.world.burntCigaretteLook);
        bubble.pickupKind = 4;
    }
}

void meetLaterSlots(GameState& state, int slot) {
    for (int partner = slot + 1; partner <= lastPartnerSlot; ++partner) {
        explodeSyringeOnOil(state, slot, partner);
    }
}

} // namespace

void burstBubble(GameState& state, int slot) {
    World& world = state.world;
    GameObject& bubble = world.bubbles[slot];
    switch (std::rand() % 5) {
    case 0:
        becomePickup(bubble, world.oilLook, kindPulse, 3);
        bubble.width = 1.0f;
        bubble.phase = 0;
        break;
    case 1:
        becomePickup(bubble, world.cigaretteLook, kindZigzag, 2);
        bubble.width = 2.0f;
        bubble.height = 2.0f;
        break;
    case 2:
        // Below level 2 nothing happens, and the bubble bursts again next frame.
        if (world.player.level >= 2) {
            if (std::rand() % 9 == 0) {
                startBloodPressure(state);
            }
            becomeHusk(bubble);
        }
        break;
    case 3:
        if (std::rand() % 8 == 0) {
            startPerfectShooter(state);
        }
        becomeHusk(bubble);
        break;
    default:
        becomePickup(bubble, world.syringeLook, kindSpin, 4);
        bubble.width = 2.0f;
        bubble.height = 2.0f;
        break;
    }
}

void updateBubbles(GameState& state) {
    for (int slot = 0; slot < state.play.bubbleCount; ++slot) {
        if (state.world.bubbles[slot].y < -5) {
            respawnBubble(state, slot);
        }
        burstIfShot(state, slot);
        burnCigarette(state, slot);
        collectPickup(state, slot);
        meetLaterSlots(state, slot);
        shrinkCollectedPickup(state.world.bubbles[slot]);
        updateByKind(state.world.bubbles[slot]);
        drawSprite(state.world.bubbles[slot]);
    }
}
