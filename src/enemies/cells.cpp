#include "enemies/cells.h"

#include "enemies/cell_hits.h"
#include "enemies/explosion.h"
#include "enemies/respawn.h"

#include <cstddef>

namespace {

// Halves wait below the screen; only those between the walls move and are drawn.
void flyHalf(GameObject& half) {
    if (half.x > -5 && half.x < 5) {
        updateByKind(half);
        drawSprite(half);
    }
}

// A spent red cell shrinks to nothing and hides; the last of it also ends the shake it started.
void shrinkSpentRedCell(GameState& state, GameObject& redCell) {
    if (redCell.health >= 100) {
        return;
    }
    if (redCell.width <= 0) {
        state.loop.shakeActive = false;
        state.play.shakeHold = false;
        redCell.visible = false;
    } else {
        redCell.width -= 0.15f;
        redCell.height -= 0.15f;
    }
}

} // namespace

void updateHalves(GameState& state) {
    World& world = state.world;
    for (std::size_t slot = 0; slot < world.leftHalves.size(); ++slot) {
        flyHalf(world.leftHalves[slot]);
        flyHalf(world.rightHalves[slot]);
        splitWhiteCell(state, static_cast<int>(slot));
        // Fallen off the bottom: the pair is free for the next split.
        if (world.leftHalves[slot].y < -5) {
            world.leftHalves[slot].score = 0;
        }
    }
}

void updateRedCells(GameState& state) {
    for (int slot = 0; slot < state.play.redCellCount; ++slot) {
        if (state.world.redCells[slot].y < -5) {
            respawnRedCell(state, slot);
        }
        runRedCellContact(state, slot);
        shrinkSpentRedCell(state, state.world.redCells[slot]);
        updateByKind(state.world.redCells[slot]);
        drawSprite(state.world.redCells[slot]);
    }
}

void updateWhiteCells(GameState& state) {
    for (int slot = 0; slot < state.play.whiteCellCount; ++slot) {
        if (state.world.whiteCells[slot].y < -5) {
            respawnWhiteCell(state, slot);
        }
        killWhiteCell(state, slot);
        stepExplosion(state);
        updateByKind(state.world.whiteCells[slot]);
        drawSprite(state.world.whiteCells[slot]);
    }
}
