// Where the time from program start to the first presented menu frame goes, for the start-up
// report (HEMORUNE_STARTUP_REPORT names the file). Measurement only: nothing of the game reads it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The steps of start-up, one after the other. Picture and sound work done inside a step is not
// counted in the step but in the load work below, so every microsecond is counted once.
enum class StartupStep {
    beforeMain,       // static initialisation: the font, the default record
    textFiles,        // "help.txt", "credits.txt"
    windowAndContext, // createGameWindow
    soundInit,        // srand, initSound
    loadingRest,      // the asset load less its picture and sound work: records, pools, copies
    firstMenuFrame,   // pump, draw and swap of the first menu frame
    count
};

// Picture and sound work, added up over every load from program start to the first menu frame.
enum class LoadWork { pictureRead, pictureDecode, textureUpload, soundLoad, count };

struct FileLoadCount {
    std::string fileName;
    int loads = 0;
};

struct StartupTimings {
    std::string reportPath;
    std::uint64_t startMicros = 0;
    std::uint64_t lastMarkMicros = 0;
    std::uint64_t loadWorkAtLastMark = 0;
    // Signed: a step that came out negative would show double counting instead of hiding it.
    std::array<std::int64_t, static_cast<int>(StartupStep::count)> stepMicros{};
    std::array<std::uint64_t, static_cast<int>(LoadWork::count)> loadMicros{};
    std::vector<FileLoadCount> fileLoads; // in first-load order
    bool reported = false;
};

// The earliest moment this program can see: taken by a constructor that runs before the other
// static initialisers of the program.
std::uint64_t programStartMicros();

// Starts measuring from startMicros and makes the loaders report their work into timings (until
// the report is written). Called by the entry point during static initialisation, before the
// first picture is loaded, and by tests.
void beginStartupTimings(StartupTimings& timings, const std::string& reportPath,
                         std::uint64_t startMicros);
// Closes a start-up step at the current time.
void markStartupStep(StartupTimings& timings, StartupStep step);
// Closes the first-menu-frame step, writes the report and detaches the loaders. Later calls do
// nothing.
void writeStartupReport(StartupTimings& timings);

// Called by the loaders. They do nothing unless a start-up measurement is running; the loaders
// are reached from static initialisation and from every record's construction, so they find the
// running measurement here rather than through their callers.
bool startupTimingRunning();
void countFileLoad(const std::string& fileName);
void addLoadWork(LoadWork work, std::uint64_t micros);

// The names the report uses.
const char* startupStepName(StartupStep step);
const char* loadWorkName(LoadWork work);
