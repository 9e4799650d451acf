// The entry point of hemorune and hemorune-wide: the two differ only in these definitions.
#include "platform/main_loop.h"
#include "platform/settings.h"
#include "world/game_assets.h"

#include <memory>

GameSettings gameSettings{50, 50, true, HEMORUNE_SCREEN_HEIGHT, HEMORUNE_SCREEN_WIDTH};
bool f2EndsGame = HEMORUNE_F2_ENDS_GAME != 0;

// Built before main from "qor_virus5.png": a missing picture ends the program before any window.
GameObject defaultRecord = makeStaticRecord();
std::array<GameObject, 1> staticRecord{defaultRecord};

int main() {
    // The whole game state lives here for the run; it is large, so it goes on the heap once.
    auto state = std::make_unique<GameState>();
    return runProgram(*state);
}
