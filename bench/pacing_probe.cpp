// The frame pacing alone, on the real clock and sleep: each frame busy-works a fixed time (in
// place of pump, game frame, drawing and swap), notes its "swap" on a microsecond clock, then calls
// the game's own paceFrame. Shows what the pacing rule itself gives (millisecond ticks, a sleep of
// 16 - elapsed) without any drawing, for a few amounts of work.
//
// Build: cmake --build build -j2 --target pacing_probe
// Run:   build/bench/pacing_probe [FRAMES]      (default 1000 frames per work value, ~16 s each)
// Read:  on an idle machine, p99 within 1 ms of 16 ms means the pacing rule meets the aim by
//        itself; compare with bench/measure_frames.sh, whose "work" column adds the real drawing.
#include "platform/main_loop.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/steady_clock.h"
#include "world/game_assets.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

// The entry point's definitions, which this program supplies itself.
GameSettings gameSettings{50, 50, true, 600, 800};
bool f2EndsGame = false;
std::array<GameObject, 1> staticRecord{};

namespace {

void busyWork(std::uint64_t micros) {
    const std::uint64_t start = steadyMicros();
    while (steadyMicros() - start < micros) {
    }
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size() - 1));
    return values[rank];
}

void probe(std::uint64_t workMicros, int frames) {
    std::vector<std::uint64_t> swaps;
    swaps.reserve(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const std::uint32_t frameStart = currentTime();
        busyWork(workMicros);
        swaps.push_back(steadyMicros());
        paceFrame(frameStart);
    }
    std::vector<double> gaps;
    for (std::size_t i = 1; i < swaps.size(); ++i) {
        gaps.push_back(static_cast<double>(swaps[i] - swaps[i - 1]) / 1000.0);
    }
    const double mean = static_cast<double>(swaps.back() - swaps.front()) / 1000.0 /
                        static_cast<double>(gaps.size());
    const auto late = std::count_if(gaps.begin(), gaps.end(), [](double g) { return g > 17.0; });
    std::printf("%8.2f %8.3f %8.3f %8.3f %8.3f %8.3f %7.2f%%\n",
                static_cast<double>(workMicros) / 1000.0, mean, percentile(gaps, 50),
                percentile(gaps, 1), percentile(gaps, 99),
                *std::max_element(gaps.begin(), gaps.end()),
                100.0 * static_cast<double>(late) / static_cast<double>(gaps.size()));
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (frames < 2) {
        std::fprintf(stderr, "usage: pacing_probe [FRAMES >= 2]\n");
        return 2;
    }
    std::printf("pacing alone, %d frames per row, ms\n", frames);
    std::printf("%8s %8s %8s %8s %8s %8s %8s\n", "work", "mean", "median", "p1", "p99", "worst",
                ">17 ms");
    for (std::uint64_t work : {500u, 3300u, 3900u, 8700u, 12500u}) {
        probe(work, frames);
    }
    return 0;
}
