// The entry point of hemorune and hemorune-wide: the two differ only in these definitions.
#include "platform/main_loop.h"
#include "platform/settings.h"
#include "platform/startup_timings.h"
#include "world/game_assets.h"

#include <malloc.h>

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

// Every picture's decode allocates megabyte buffers and frees them again. By default the C library
// hands such blocks back to the kernel at once, so the next picture pays for fresh, zeroed pages;
// keeping them in the heap made the start-up's picture decode about a third faster.
bool keepLargeBlocksForReuse() {
    return mallopt(M_MMAP_THRESHOLD, 64 << 20) == 1 && mallopt(M_TRIM_THRESHOLD, 128 << 20) == 1;
}

const bool largeBlocksKept = keepLargeBlocksForReuse();

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
