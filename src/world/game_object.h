// The one record of every drawn thing, and the operations all pools share.
#pragma once

#include "media/sound.h"
#include "media/texture.h"

#include <array>
#include <cstdint>
#include <string>

// Behaviour kinds: the numbers are fixed, the pools test and assign them as numbers.
constexpr std::int32_t kindSway = 1;
constexpr std::int32_t kindZigzag = 2;
constexpr std::int32_t kindPulse = 3;
constexpr std::int32_t kindSpin = 4;
constexpr std::int32_t kindScroll = 5;
constexpr std::int32_t kindTumble = 6;
constexpr std::int32_t kindFall = 8;
constexpr std::int32_t kindStill = 9;
constexpr std::int32_t kindPlayer = 10;
constexpr std::int32_t kindMenu = 30; // menu pictures: nothing steps them

struct GameObject {
    std::array<SoundClip, 9> sounds{};
    TextureId texture = 0;
    float x = 0;
    float y = 0;
    float angle = 0;
    float z = 0;
    bool visible = false;
    std::int32_t type = 0;
    float height = 0;
    float width = 0;
    float speed = 0;
    std::int32_t phase = 0;
    std::int32_t health = 0;
    float sway = 0;
    bool small = false;
    bool squeezing = false;
    float velocityX = 0;
    float velocityY = 0;
    bool revived = false;
    std::int32_t score = 0;
    std::int32_t level = 0;
    std::int32_t pickupKind = 0;
    std::int32_t oilCount = 0;
    std::int32_t syringeCount = 0;
};

// A record built from a picture with the construction defaults: z 0.1, visible, sway kind,
// 2 x 2, health 100.
GameObject makeGameObject(const std::string& pictureFile);

// Draws a visible record; the scroll kind also slides down and wraps, drawing a second copy.
void drawSprite(GameObject& object);
// The per-frame movement step of the record's kind.
void updateByKind(GameObject& object);
// Moves the record above the top edge into one of the seven columns (type 3: the middle).
void respawnAtTop(GameObject& object, TextureId revivedLook);
// The object takes the look's picture, sounds and visibility and keeps its own state; the look
// is left holding that state.
void morphInto(GameObject& object, GameObject& look);
// Loads a clip into a slot: looping exactly for the spin kind.
void setSound(GameObject& object, int slot, const std::string& soundFile);
