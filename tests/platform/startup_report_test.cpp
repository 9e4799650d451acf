#include "media/sound.h"
#include "media/texture.h"
#include "platform/key_state.h"
#include "platform/main_loop.h"
#include "platform/settings.h"
#include "platform/startup_timings.h"
#include "platform/steady_clock.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct StartupReport {
    std::map<std::string, double> phases;
    std::map<std::string, int> phaseLines; // how often each phase name appears
    double total = -1;
    int totalLines = 0;
    std::map<std::string, int> loads;
    long long wallClock = 0;
};

StartupReport readReport(const fs::path& path) {
    StartupReport report;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "phase") {
            std::string name;
            double milliseconds = 0;
            fields >> name >> milliseconds;
            report.phases[name] = milliseconds;
            report.phaseLines[name] += 1;
        } else if (key == "total") {
            fields >> report.total;
            report.totalLines += 1;
        } else if (key == "load") {
            std::string name;
            int count = 0;
            fields >> name >> count;
            report.loads[name] = count;
        } else if (key == "first_frame_wall_clock_us") {
            fields >> report.wallClock;
        }
    }
    return report;
}

// The whole program on the fake platform from the generated run directory, measured as the entry
// point measures it when HEMORUNE_STARTUP_REPORT is set.
class StartupReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousDirectory = fs::current_path();
        fs::current_path(HEMORUNE_RUN_DIR);
        keyState.fill(0);
        gameSettings = GameSettings{50, 50, true, 600, 800};
        fake = &installFakePlatform();
        state = std::make_unique<GameState>();
        reportPath =
            fs::temp_directory_path() / ("hemorune-startup-" + std::to_string(::getpid()) + ".txt");
        fs::remove(reportPath);
        beginStartupTimings(timings, reportPath.string(), steadyMicros());
        markStartupStep(timings, StartupStep::beforeMain);
        state->startupTimings = &timings;
    }

    void TearDown() override {
        shutDownSound();
        fs::remove(reportPath);
        fs::current_path(previousDirectory);
    }

    // Runs the program until the window is closed after the given frame.
    void runFrames(std::uint64_t frames) {
        fake->onSwap = [frames](FakePlatform& platform) {
            if (platform.swaps == frames) {
                closeWindow(platform);
            }
        };
        EXPECT_EQ(runProgram(*state), 0);
    }

    fs::path previousDirectory;
    fs::path reportPath;
    FakePlatform* fake = nullptr;
    StartupTimings timings;
    std::unique_ptr<GameState> state;
};

TEST_F(StartupReportTest, FirstMenuFrameWritesEveryPhaseOnceAndTheyAddUpToTheTotal) {
    runFrames(1);
    const StartupReport report = readReport(reportPath);

    // The measurement scripts read these names.
    const char* const phaseNames[] = {
        "before_main",      "text_files",   "window_and_context", "sound_init",     "loading_rest",
        "first_menu_frame", "picture_read", "picture_decode",     "texture_upload", "sound_load"};
    double sum = 0;
    for (const char* name : phaseNames) {
        ASSERT_EQ(report.phaseLines.count(name), 1u) << name;
        EXPECT_EQ(report.phaseLines.at(name), 1) << name;
        EXPECT_GE(report.phases.at(name), 0.0) << name;
        sum += report.phases.at(name);
    }
    EXPECT_EQ(report.phases.size(), std::size(phaseNames)) << "no phase beyond the known ones";
    ASSERT_EQ(report.totalLines, 1);
    EXPECT_GT(report.total, 0.0);
    // Each line is rounded to a microsecond, so the sum may differ from the total by that much.
    const double rounding = 0.001 * static_cast<double>(std::size(phaseNames));
    EXPECT_LE(sum, report.total + rounding);
    EXPECT_GE(sum, report.total - rounding) << "every part of start-up belongs to a phase";
    // Real pictures are decoded and uploaded into a real context, and real sounds loaded.
    EXPECT_GT(report.phases.at("picture_decode"), 0.0);
    EXPECT_GT(report.phases.at("texture_upload"), 0.0);
    EXPECT_GT(report.phases.at("sound_load"), 0.0);
    EXPECT_GT(report.wallClock, 0);
}

TEST_F(StartupReportTest, EveryFileLoadOfStartUpIsCountedByName) {
    runFrames(1);
    const StartupReport report = readReport(reportPath);
    struct Case {
        const char* file;
        int loads;
    };
    // The known repeats of the asset load (the default record of the real entry point is not
    // made in a test program), and files loaded once.
    for (const Case& c :
         {Case{"qor_bumm1.png", 3}, Case{"qor_virus5.png", 2}, Case{"qor_szuri.png", 2},
          Case{"qor_bullet1.png", 2}, Case{"loadclip.wav", 2}, Case{"qor_back.png", 1},
          Case{"IMGS/back.png", 1}, Case{"menu2.wav", 1}, Case{"beatmachine.wav", 1},
          Case{"qor_fver.png", 1}}) {
        ASSERT_EQ(report.loads.count(c.file), 1u) << c.file;
        EXPECT_EQ(report.loads.at(c.file), c.loads) << c.file;
    }
    EXPECT_EQ(report.loads.count("ingame5.wav"), 0u) << "loaded only when the last level begins";
}

TEST_F(StartupReportTest, ReportIsWrittenOnceAndLoadsAfterItAreNotCounted) {
    fake->onSwap = [this](FakePlatform& platform) {
        if (platform.swaps == 2) {
            // The first frame wrote the report; a second one must not write it again.
            fs::remove(reportPath);
        }
        if (platform.swaps == 3) {
            closeWindow(platform);
        }
    };
    EXPECT_EQ(runProgram(*state), 0);
    EXPECT_FALSE(fs::exists(reportPath));
    EXPECT_TRUE(timings.reported);
    EXPECT_FALSE(startupTimingRunning());

    const std::size_t before = timings.fileLoads.size();
    const std::uint64_t decodeBefore =
        timings.loadMicros[static_cast<int>(LoadWork::pictureDecode)];
    ensureGlContext();
    loadTexture("qor_back.png");
    EXPECT_EQ(timings.fileLoads.size(), before);
    EXPECT_EQ(timings.loadMicros[static_cast<int>(LoadWork::pictureDecode)], decodeBefore);
}

} // namespace
