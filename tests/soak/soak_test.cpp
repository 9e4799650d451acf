// The soak: the whole program on the fake platform, from start-up through the menus into play,
// with a random player holding keys, for one virtual hour of game time, then an orderly shut-down.
// Each frame is checked (soak_checks.h); leaks are LeakSanitizer's to find at the process's end
// in the sanitizer build.
//
// HEMORUNE_SOAK_SEED, HEMORUNE_SOAK_VIRTUAL_MINUTES (60) and HEMORUNE_SOAK_WALL_MINUTES (8) change
// the run; it stops at whichever limit comes first and tells how far it got.
#include "platform/key_state.h"
#include "platform/main_loop.h"
#include "platform/settings.h"
#include "soak/soak_checks.h"
#include "soak/soak_keys.h"
#include "support/fake_platform.h"
#include "world/pool_start.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The virtual time a run needs before it is held to having played two games to the last level.
constexpr std::uint64_t coverageMilliseconds = 20 * 60'000;

std::uint32_t settingOr(const char* name, std::uint32_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0'
               ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10))
               : fallback;
}

// The run directory seen through links, so that the high-score file the games write lands in a
// scratch directory and not in the build's run directory.
struct ScratchRunDirectory {
    fs::path previous = fs::current_path();
    fs::path path;
    ScratchRunDirectory() {
        std::string pattern = (fs::temp_directory_path() / "hemorune-soak-XXXXXX").string();
        path = mkdtemp(pattern.data());
        for (const fs::directory_entry& entry : fs::directory_iterator(HEMORUNE_RUN_DIR)) {
            if (entry.path().filename() != "hiscore.txt") {
                fs::create_symlink(entry.path(), path / entry.path().filename());
            }
        }
        fs::current_path(path);
    }
    ~ScratchRunDirectory() {
        std::error_code ignored;
        fs::current_path(previous, ignored);
        fs::remove_all(path, ignored);
    }
};

std::string minutesAndSeconds(std::uint64_t milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02llu",
                  static_cast<unsigned long long>(milliseconds / 60000),
                  static_cast<unsigned long long>(milliseconds / 1000 % 60));
    return text;
}

TEST(Soak, AnHourOfRandomPlayStaysSaneAndMakesNoTextureOrSoundTwice) {
    const std::uint32_t seed = settingOr("HEMORUNE_SOAK_SEED", 20240611);
    const std::uint64_t virtualLimit =
        std::uint64_t{settingOr("HEMORUNE_SOAK_VIRTUAL_MINUTES", 60)} * 60'000;
    const auto wallLimit = std::chrono::minutes(settingOr("HEMORUNE_SOAK_WALL_MINUTES", 8));

    ScratchRunDirectory runDirectory;
    keyState.fill(0);
    gameSettings = GameSettings{50, 50, true, 600, 800};
    FakePlatform& fake = installFakePlatform();
    fake.swapLimit = UINT64_MAX;
    // Every frame is drawn in full; a surface this small keeps llvmpipe's share of it tiny.
    fake.surfaceWidth = 64;
    fake.surfaceHeight = 48;
    auto state = std::make_unique<GameState>();

    SoakPlayer player = makeSoakPlayer(seed);
    SoakWatch watch;
    std::string fault;
    std::uint64_t frames = 0;
    std::uint64_t virtualMilliseconds = 0;
    std::uint32_t lastNow = 0;
    bool wallTimeUp = false;
    const Clock::time_point wallStart = Clock::now();
    Clock::time_point firstFrame = wallStart;

    fake.onSwap = [&](FakePlatform& platform) {
        if (!watch.started) {
            // Start-up is over. It seeded rand from the clock and drew the pools' start values
            // from it; for a repeatable run they are drawn again, in the load's order, from the
            // seed. Nothing has moved yet.
            std::srand(seed);
            for (StartPool pool : {StartPool::bubbles, StartPool::whiteCells, StartPool::halves,
                                   StartPool::redCells}) {
                placePoolsAtLoad(state->world, pool);
            }
            startWatch(watch, *state);
            lastNow = platform.now;
            firstFrame = Clock::now();
        }
        frames += 1;
        virtualMilliseconds += platform.now - lastNow;
        lastNow = platform.now;
        if (fault.empty()) {
            fault = checkFrame(watch, *state);
            if (!fault.empty()) {
                fault = "frame " + std::to_string(frames) + ": " + fault;
            }
        }
        if (!wallTimeUp && frames % 256 == 0) {
            wallTimeUp = Clock::now() - wallStart >= wallLimit;
        }
        if (!fault.empty() || wallTimeUp || virtualMilliseconds >= virtualLimit) {
            player.finishing = true;
        }
        playSoakFrame(player, *state, platform);
    };

    int status = -1;
    try {
        status = runProgram(*state);
    } catch (const ProcessExit& exit) {
        ADD_FAILURE() << "the program exited with status " << exit.status;
    }
    const auto wallSeconds =
        std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - wallStart).count();

    const auto startUpMilliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(firstFrame - wallStart).count();
    std::printf("soak: seed %u, virtual %s of %s in %lld s wall (start-up %lld ms)%s; %llu "
                "frames, %llu games started, %llu ended, %llu late levels, best score %d, %llu "
                "closes in play, %llu frame-rate boxes\n",
                seed, minutesAndSeconds(virtualMilliseconds).c_str(),
                minutesAndSeconds(virtualLimit).c_str(), static_cast<long long>(wallSeconds),
                static_cast<long long>(startUpMilliseconds),
                wallTimeUp ? " (stopped by the wall-clock limit)" : "",
                static_cast<unsigned long long>(frames),
                static_cast<unsigned long long>(watch.gamesStarted),
                static_cast<unsigned long long>(watch.gamesEnded),
                static_cast<unsigned long long>(watch.lateLevelsReached), watch.bestScore,
                static_cast<unsigned long long>(player.closesInPlay),
                static_cast<unsigned long long>(player.frameRateBoxes));

    std::printf("soak: final scores");
    for (std::int32_t score : watch.finalScores) {
        std::printf(" %d", score);
    }
    std::printf("\n");

    EXPECT_EQ(fault, "");
    EXPECT_EQ(status, 0); // the window closed in the menu: an orderly shut-down
    for (const RecordedBox& box : fake.boxes) {
        EXPECT_EQ(box.caption, "FPS-o-meter") << box.text;
    }
    // A second game reaching the last level is what shows the late-level music is made once.
    // With the default seed that comes within about 12 virtual minutes; a run cut shorter (by
    // the settings, or by the wall clock on a very slow machine) is not held to it.
    if (virtualMilliseconds >= coverageMilliseconds) {
        EXPECT_GE(watch.lateLevelsReached, 2u);
        EXPECT_GE(watch.gamesEnded, 2u);
    } else {
        std::printf("soak: too short a run to require two games through the last level\n");
    }
}

} // namespace
