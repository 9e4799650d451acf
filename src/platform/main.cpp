// The entry point of hemorune and hemorune-wide: the two differ only in these definitions.
#include "platform/main_loop.h"
#include "platform/settings.h"
#include "platform/startup_timings.h"
#include "world/game_assets.h"

#include <cstdlib>
#include <memory>

GameSettings gameSettings{50, 50, true, HEMORUNE_SCREEN_HEIGHT, HEMORUNE_SCREEN_WIDTH};
bool f2EndsGame = HEMORUNE_F2_ENDS_GAME != 0;

// Start-up measurement, when HEMORUNE_STARTUP_REPORT names a file. Begun here, before the default
// record below loads its picture, so that load is counted too.
namespace {

StartupTimings startupTimings;

bool beginStartupMeasurement() {
    const char* reportPath = std::getenv("HEMORUNE_STARTUP_REPORT");
    if (reportPath == nullptr || *reportPath == '\0') {
        return false;
    }
    beginStartupTimings(startupTimings, reportPath, programStartMicros());
    return true;
}

const bool startupMeasured = beginStartupMeasurement();

} // namespace

// Built before main from "qor_virus5.png": a missing picture ends the program before any window.
GameObject defaultRecord = makeStaticRecord();
std::array<GameObject, 1> staticRecord{defaultRecord};

int main() {
    // The whole game state lives here for the run; it is large, so it goes on the heap once.
    auto state = std::make_unique<GameState>();
    if (startupMeasured) {
        markStartupStep(startupTimings, StartupStep::beforeMain);
        state->startupTimings = &startupTimings;
    }
    return runProgram(*state);
}
