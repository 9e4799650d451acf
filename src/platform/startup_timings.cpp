#include "platform/startup_timings.h"

#include "platform/steady_clock.h"

#include <chrono>
#include <cstdio>

namespace {

std::uint64_t earliestMicros = 0;

// The one running measurement, if any: see startupTimingRunning.
StartupTimings* runningTimings = nullptr;

// Priority 101 runs before every initialiser without a priority, the font and the default
// record among them.
__attribute__((constructor(101))) void takeProgramStart() {
    earliestMicros = steadyMicros();
}

std::uint64_t loadWorkTotal(const StartupTimings& timings) {
    std::uint64_t total = 0;
    for (std::uint64_t micros : timings.loadMicros) {
        total += micros;
    }
    return total;
}

double milliseconds(std::int64_t micros) {
    return static_cast<double>(micros) / 1000.0;
}

} // namespace

std::uint64_t programStartMicros() {
    return earliestMicros;
}

void beginStartupTimings(StartupTimings& timings, const std::string& reportPath,
                         std::uint64_t startMicros) {
    timings = StartupTimings{};
    timings.reportPath = reportPath;
    timings.startMicros = startMicros;
    timings.lastMarkMicros = startMicros;
    runningTimings = &timings;
}

void markStartupStep(StartupTimings& timings, StartupStep step) {
    const std::uint64_t now = steadyMicros();
    const std::uint64_t loadWork = loadWorkTotal(timings);
    const std::int64_t wall = static_cast<std::int64_t>(now - timings.lastMarkMicros);
    const std::int64_t nested = static_cast<std::int64_t>(loadWork - timings.loadWorkAtLastMark);
    timings.stepMicros[static_cast<int>(step)] += wall - nested;
    timings.lastMarkMicros = now;
    timings.loadWorkAtLastMark = loadWork;
}

void writeStartupReport(StartupTimings& timings) {
    if (timings.reported) {
        return;
    }
    markStartupStep(timings, StartupStep::firstMenuFrame);
    timings.reported = true;
    if (runningTimings == &timings) {
        runningTimings = nullptr;
    }
    // Wall-clock time of the first frame, so a script can add what came before the program's
    // first instruction (exec, dynamic linking).
    const auto wallMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
    std::FILE* report = std::fopen(timings.reportPath.c_str(), "w");
    if (report == nullptr) {
        std::fprintf(stderr, "hemorune: cannot write the start-up report %s\n",
                     timings.reportPath.c_str());
        return;
    }
    for (int step = 0; step < static_cast<int>(StartupStep::count); ++step) {
        std::fprintf(report, "phase %s %.3f\n", startupStepName(static_cast<StartupStep>(step)),
                     milliseconds(timings.stepMicros[step]));
    }
    for (int work = 0; work < static_cast<int>(LoadWork::count); ++work) {
        std::fprintf(report, "phase %s %.3f\n", loadWorkName(static_cast<LoadWork>(work)),
                     milliseconds(static_cast<std::int64_t>(timings.loadMicros[work])));
    }
    std::fprintf(
        report, "total %.3f\n",
        milliseconds(static_cast<std::int64_t>(timings.lastMarkMicros - timings.startMicros)));
    for (const FileLoadCount& file : timings.fileLoads) {
        std::fprintf(report, "load %s %d\n", file.fileName.c_str(), file.loads);
    }
    std::fprintf(report, "first_frame_wall_clock_us %lld\n", static_cast<long long>(wallMicros));
    std::fclose(report);
}

bool startupTimingRunning() {
    return runningTimings != nullptr;
}

void countFileLoad(const std::string& fileName) {
    if (runningTimings == nullptr) {
        return;
    }
    for (FileLoadCount& file : runningTimings->fileLoads) {
        if (file.fileName == fileName) {
            file.loads += 1;
            return;
        }
    }
    runningTimings->fileLoads.push_back(FileLoadCount{fileName, 1});
}

void addLoadWork(LoadWork work, std::uint64_t micros) {
    if (runningTimings != nullptr) {
        runningTimings->loadMicros[static_cast<int>(work)] += micros;
    }
}

const char* startupStepName(StartupStep step) {
    switch (step) {
    case StartupStep::beforeMain:
        return "before_main";
    case StartupStep::textFiles:
        return "text_files";
    case StartupStep::windowAndContext:
        return "window_and_context";
    case StartupStep::soundInit:
        return "sound_init";
    case StartupStep::loadingRest:
        return "loading_rest";
    case StartupStep::firstMenuFrame:
        return "first_menu_frame";
    case StartupStep::count:
        break;
    }
    return "?";
}

const char* loadWorkName(LoadWork work) {
    switch (work) {
    case LoadWork::pictureRead:
        return "picture_read";
    case LoadWork::pictureDecode:
        return "picture_decode";
    case LoadWork::textureUpload:
        return "texture_upload";
    case LoadWork::soundLoad:
        return "sound_load";
    case LoadWork::count:
        break;
    }
    return "?";
}
