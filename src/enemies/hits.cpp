#include "enemies/hits.h"

#include <algorithm>
#include <cmath>

namespace {

// Each object counts as a circle of radius min(height, width) / 3.7, well inside its quad.
constexpr double touchDivisor = 3.7;

} // namespace

bool objectsTouch(float ax, float ay, float bx, float by, float aHeight, float aWidth,
                  float bHeight, float bWidth) {
    const double dx = static_cast<double>(ax) - static_cast<double>(bx);
    const double dy = static_cast<double>(ay) - static_cast<double>(by);
    const double distance = std::sqrt(dx * dx + dy * dy);
    const double reachA = std::min(aHeight, aWidth);
    const double reachB = std::min(bHeight, bWidth);
    return distance < (reachA + reachB) / touchDivisor;
}

bool onScreenVertically(const GameObject& object) {
    return object.y > -4.5f && object.y < 4.5f;
}

void bulletHitsWhiteCell(GameState& state, int cell) {
    GameObject& whiteCell = state.world.whiteCells[cell];
    const std::int32_t damage = state.play.bulletDamage;
    if (state.play.perfectShooterActive) {
        whiteCell.health = 0;
    }
    // A dead cell is not pushed further than -10, so it never counts as more than dead.
    if (whiteCell.health - damage >= -10) {
        whiteCell.health -= damage;
    }
    // The sway step grows the cell back.
    whiteCell.width -= 0.08f;
    whiteCell.height -= 0.08f;
    state.play.lastHitWhiteCell = cell;
}

void bulletHitsBubble(GameState& state, int slot) {
    GameObject& bubble = state.world.bubbles[slot];
    const std::int32_t damage = state.play.bulletDamage;
    if (bubble.type == kindFall) {
        // The limit keeps a burst husk at -100 out of the burst range for good.
        if (bubble.health - damage >= -10) {
            bubble.health -= damage;
        }
    } else if (bubble.type == kindZigzag) {
        // A cigarette burns down without limit, to the burnt look below -125.
        bubble.health -= 5;
    }
}

void updateCellHealthBar(GameState& state) {
    const GameObject& cell = state.world.whiteCells[state.play.lastHitWhiteCell];
    GameObject& bar = state.world.cellHealthBar;
    bar.x = cell.x;
    // A dead cell's negative health mirrors the bar.
    bar.width = static_cast<float>(cell.health) / 100.0f;
    bar.y = static_cast<float>(cell.y + cell.width / 1.8);
    if (cell.visible) {
        bar.visible = true;
    }
    drawSprite(bar);
}
