#include "world/pool_start.h"

#include <cstdlib>

namespace {

// One of the seven columns: -3.25, -2.25, ... 2.75.
float randomColumn() {
    return static_cast<float>(std::rand() % 7) - 3.25f;
}

// 0.04, 0.05 or 0.06.
float randomCellSpeed() {
    return static_cast<float>(static_cast<double>(std::rand() % 3) / 100 + 0.04);
}

void placeBubbles(std::array<GameObject, 5>& bubbles) {
    for (GameObject& bubble : bubbles) {
        bubble.speed = 0.03f;
        bubble.y = 5.0f;
        bubble.x = randomColumn();
        bubble.health = 20;
        bubble.visible = true;
    }
}

// Their sway is still 0, so these first cells fall straight until their first respawn.
void placeCells(std::array<GameObject, 10>& cells) {
    for (GameObject& cell : cells) {
        cell.speed = randomCellSpeed();
        cell.y = 5.0f;
        cell.x = randomColumn();
    }
}

void placeHalves(std::array<GameObject, 10>& halves) {
    for (GameObject& half : halves) {
        half.speed = randomCellSpeed();
        half.angle = static_cast<float>(std::rand() % 360);
    }
}

} // namespace

void placePoolsAtLoad(World& world, StartPool pool) {
    switch (pool) {
    case StartPool::bubbles:
        placeBubbles(world.bubbles);
        break;
    case StartPool::whiteCells:
        placeCells(world.whiteCells);
        break;
    case StartPool::halves:
        placeHalves(world.leftHalves);
        placeHalves(world.rightHalves);
        break;
    case StartPool::redCells:
        placeCells(world.redCells);
        break;
    }
}
