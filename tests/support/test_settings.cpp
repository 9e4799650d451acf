// The entry point's definitions, for test programs (which have no entry point of the game).
#include "platform/settings.h"
#include "world/game_assets.h"

GameSettings gameSettings{50, 50, true, 600, 800};
bool f2EndsGame = false;
std::array<GameObject, 1> staticRecord{};
