#include "enemies/cell_hits.h"

#include "enemies/hits.h"

#include <cstdlib>

namespace {

// Clips of the white-cell template.
constexpr int soundPig = 0;     // "pig.wav"
constexpr int soundPloop = 1;   // "ploop.wav"
constexpr int soundImplode = 3; // "implosion2.wav"
constexpr int soundHit = 4;     // "HIT.WAV"
// Clip of the red-cell template.
constexpr int soundRedHit = 0; // "pig_4.wav"

constexpr std::int32_t halfInFlight = 100;

void hurtPlayer(GameState& state, const GameObject& cell) {
    GameObject& player = state.world.player;
    const std::int32_t damage = cell.small ? 5 + std::rand() % 3 : 10 + std::rand() % 5;
    // A hit that would take the player below -10 is ignored.
    if (player.health - damage >= -10) {
        player.health -= damage;
    }
    playSound(state.world.redCellTemplate.sounds[soundRedHit]);
}

} // namespace

void runRedCellContact(GameState& state, int cell) {
    GameObject& redCell = state.world.redCells[cell];
    const GameObject& player = state.world.player;
    if (!objectsTouch(redCell.x, redCell.y, player.x, player.y, redCell.height, redCell.width,
                      player.height, player.width)) {
        state.loop.shakeAmplitude = 0.03f;
        return;
    }
    if (redCell.health > 0) {
        hurtPlayer(state, redCell);
    }
    state.loop.shakeAmplitude = 0.05f;
    state.loop.shakeActive = true;
    state.play.shakeHold = true;
    redCell.health = 0;
}

void killWhiteCell(GameState& state, int cell) {
    World& world = state.world;
    GameObject& whiteCell = world.whiteCells[cell];
    if (whiteCell.health >= 0 || whiteCell.revived) {
        return;
    }
    world.player.score += whiteCell.small ? 5 : 10;
    // The dead look is visible and has no sway: a hidden cell that dies shows up and falls
    // straight.
    morphInto(whiteCell, world.deadWhiteCellLook);
    whiteCell.revived = true;
    const int sound = std::rand() % 2 == 0 ? soundPig : soundPloop;
    playSound(world.whiteCellTemplate.sounds[sound]);
    if (state.play.doubleDamageActive) {
        whiteCell.visible = false;
    }
}

void splitWhiteCell(GameState& state, int cell) {
    World& world = state.world;
    GameObject& whiteCell = world.whiteCells[cell];
    GameObject& left = world.leftHalves[cell];
    GameObject& right = world.rightHalves[cell];
    if (whiteCell.health >= 1 || !state.play.doubleDamageActive || left.score != 0 ||
        !whiteCell.visible || !onScreenVertically(whiteCell)) {
        return;
    }
    world.player.score += 5;
    playSound(world.whiteCellTemplate.sounds[soundImplode]);
    playSound(world.whiteCellTemplate.sounds[soundHit]);
    left.score = halfInFlight;
    left.x = whiteCell.x;
    left.y = whiteCell.y;
    right.x = whiteCell.x - 0.5f;
    right.y = whiteCell.y;
    const float size = whiteCell.small ? 1.0f : 2.0f;
    left.width = size;
    left.height = size;
    right.width = size;
    right.height = size;
    whiteCell.visible = false;
}
