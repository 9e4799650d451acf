#include "enemies/respawn.h"

#include "enemies/bonuses.h"

#include <cstdlib>

namespace {

void makeSmall(GameObject& cell) {
    cell.speed = 0.02f;
    cell.width = 1.0f;
    cell.height = 1.0f;
    cell.z = -1.0f;
    cell.sway = -0.2f;
    cell.small = true;
}

void makeBig(GameObject& cell, float speed) {
    cell.speed = speed;
    cell.width = 2.0f;
    cell.height = 2.0f;
    cell.z = 1.0f;
    cell.sway = -0.8f;
    cell.small = false;
}

// A first size, which the size chosen next always replaces.
void drawFirstSize(GameObject& cell) {
    const float size = static_cast<float>(1 + std::rand() % 2);
    cell.width = size;
    cell.height = size;
}

// Size and pace of a cell back at the top: small or big at random.
void drawSmallOrBig(GameObject& cell) {
    const int pick = std::rand();
    std::rand(); // drawn and never used; kept so that the random sequence stays the game's own
    if (pick % 2 == 0) {
        makeSmall(cell);
    } else {
        makeBig(cell, 0.05f);
    }
}

} // namespace

void respawnWhiteCell(GameState& state, int cell) {
    GameObject& whiteCell = state.world.whiteCells[cell];
    respawnAtTop(whiteCell, state.world.revivedWhiteCellTexture);
    drawFirstSize(whiteCell);
    drawSmallOrBig(whiteCell);
    whiteCell.health = 100;
    whiteCell.revived = false;
    // During Blood Pressure the white cells stay away until their next respawn.
    whiteCell.visible = !state.play.bloodPressureActive;
}

void respawnRedCell(GameState& state, int cell) {
    GameObject& redCell = state.world.redCells[cell];
    respawnAtTop(redCell, state.world.revivedWhiteCellTexture);
    drawFirstSize(redCell);
    if (state.play.bloodPressureActive) {
        std::rand(); // the pick that Blood Pressure overrides
        makeBig(redCell, 0.08f);
    } else {
        drawSmallOrBig(redCell);
    }
    redCell.health = bloodPressureSpendsRedCells(state.play) ? 0 : 100;
    redCell.visible = true;
}

void respawnBubble(GameState& state, int slot) {
    GameObject& bubble = state.world.bubbles[slot];
    bubble = state.world.bubbleTemplate;
    respawnAtTop(bubble, state.world.revivedWhiteCellTexture);
    bubble.health = 10;
    bubble.width = 1.0f;
    bubble.height = 1.0f;
    bubble.type = kindFall;
    bubble.pickupKind = 0;
    bubble.visible = true;
    bubble.speed = static_cast<float>(0.03 + static_cast<double>(std::rand() % 2) / 100);
}
