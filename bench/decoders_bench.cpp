// Our inflate against zlib's uncompress on the same zlib streams, and our PNG decoder against
// libpng set up for the same RGBA8 output on the same file bytes, side by side in one run. The
// inputs are the whole PngSuite, every picture of the game's run directory, a 1024 x 1024
// photo-like picture, a 1024 x 1024 sprite sheet and two bare zlib streams; an aggregate input
// decodes all its files one after another in each iteration. Before timing, every output is
// checked against the reference; an input where they differ is reported and not timed.
//
// Run (a Release or RelWithDebInfo build; the run-data target fills the run directory):
//   cmake --build build -j2 --target bench_decoders
//   build/bench/bench_decoders [--run-dir=DIR] [--per-file] [--benchmark_filter=REGEX]
//     --run-dir   pictures to load instead of the build's run directory
//     --per-file  also one line per PngSuite file
//
// Every line reports bytes_per_second of output (decompressed bytes for inflate, RGBA bytes for
// PNG). The table at the end compares CPU time (the machine may be shared) within this run:
// ratio = our MB/s / reference MB/s, above 1 when ours is faster. For PNG it also gives the share
// of our decoding time spent in inflate and the ratio of the time outside inflate
// ((libpng - zlib) / (ours - our inflate)).
#include "bench_inputs.h"
#include "media/inflate.h"
#include "media/png.h"
#include "png_oracle.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void runOurInflate(benchmark::State& state, const BenchInput& input) {
    Bytes out;
    for (auto _ : state) {
        for (const ZlibStream& stream : input.streams) {
            out.clear();
            const unsigned error = inflateZlibStream(out, stream.compressed);
            benchmark::DoNotOptimize(error);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.inflatedBytes));
}

void runZlibUncompress(benchmark::State& state, const BenchInput& input) {
    Bytes out;
    for (auto _ : state) {
        for (const ZlibStream& stream : input.streams) {
            out.resize(stream.inflatedSize);
            uLongf size = out.size();
            const int result =
                uncompress(out.data(), &size, stream.compressed.data(), stream.compressed.size());
            benchmark::DoNotOptimize(result);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.inflatedBytes));
}

// Both decoders write into an output buffer kept from file to file, so neither pays for fresh
// pages there.
void runOurPng(benchmark::State& state, const BenchInput& input) {
    Bytes pixels;
    for (auto _ : state) {
        for (const Bytes& file : input.pngFiles) {
            std::uint32_t width = 0;
            std::uint32_t height = 0;
            const unsigned error = pngToRgba(pixels, width, height, file.data(), file.size());
            benchmark::DoNotOptimize(error);
            benchmark::DoNotOptimize(pixels.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.rgbaBytes));
}

void runLibpng(benchmark::State& state, const BenchInput& input) {
    OraclePicture picture;
    for (auto _ : state) {
        for (const Bytes& file : input.pngFiles) {
            const bool decoded = decodeWithLibpng(file, picture);
            benchmark::DoNotOptimize(decoded);
            benchmark::DoNotOptimize(picture.rgba.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.rgbaBytes));
}

using Runner = void (*)(benchmark::State&, const BenchInput&);

struct Contender {
    const char* name;
    Runner run;
};

constexpr Contender ourInflate{"inflate/ours", runOurInflate};
constexpr Contender zlibInflate{"inflate/zlib", runZlibUncompress};
constexpr Contender ourPng{"png/ours", runOurPng};
constexpr Contender libpngPng{"png/libpng", runLibpng};

void registerContender(const BenchInput& input, const Contender& contender) {
    const std::string name = input.name + "/" + contender.name;
    benchmark::RegisterBenchmark(name.c_str(), [&input, contender](benchmark::State& state) {
        if (!input.problem.empty()) {
            state.SkipWithError(input.problem.c_str());
            return;
        }
        contender.run(state, input);
    });
}

void registerInput(const BenchInput& input) {
    registerContender(input, ourInflate);
    registerContender(input, zlibInflate);
    if (!input.pngFiles.empty()) {
        registerContender(input, ourPng);
        registerContender(input, libpngPng);
    }
}

// Seconds of CPU time per iteration of every benchmark run, by name.
using Timings = std::map<std::string, double>;

// The usual console output, and the timings kept for the summary. With repetitions the median
// is kept.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    explicit SummaryReporter(Timings& timings)
        : ConsoleReporter(isatty(fileno(stdout)) != 0 ? OO_Color : OO_None), timings_(timings) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) {
                continue;
            }
            const std::string name = run.run_name.function_name;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !medians_.count(name))) {
                timings_[name] = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            }
            if (median) {
                medians_[name] = true;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

  private:
    Timings& timings_;
    std::map<std::string, bool> medians_;
};

double megabytesPerSecond(std::size_t bytes, double seconds) {
    return static_cast<double>(bytes) / seconds / 1e6;
}

// One line comparing ours with the reference; false when either was not run.
bool printComparison(const Timings& timings, const std::string& input, const char* what,
                     std::size_t bytes, const Contender& ours, const Contender& reference) {
    const auto oursTime = timings.find(input + "/" + ours.name);
    const auto referenceTime = timings.find(input + "/" + reference.name);
    if (oursTime == timings.end() || referenceTime == timings.end()) {
        return false;
    }
    const double oursRate = megabytesPerSecond(bytes, oursTime->second);
    const double referenceRate = megabytesPerSecond(bytes, referenceTime->second);
    std::printf("%-28s %-8s %10.1f %10.1f %8.2f\n", input.c_str(), what, oursRate, referenceRate,
                oursRate / referenceRate);
    return true;
}

void printSummary(const std::vector<BenchInput>& inputs, const Timings& timings) {
    std::printf("\n%-28s %-8s %10s %10s %8s\n", "input", "decoder", "ours MB/s", "ref MB/s",
                "ratio");
    for (const BenchInput& input : inputs) {
        printComparison(timings, input.name, "inflate", input.inflatedBytes, ourInflate,
                        zlibInflate);
        printComparison(timings, input.name, "png", input.rgbaBytes, ourPng, libpngPng);
    }
    std::printf("\n%-28s %14s %14s %14s\n", "input", "ours inflate%", "libpng zlib%",
                "outside ratio");
    for (const BenchInput& input : inputs) {
        const auto find = [&](const Contender& contender) {
            const auto found = timings.find(input.name + "/" + contender.name);
            return found == timings.end() ? 0.0 : found->second;
        };
        const double oursInflate = find(ourInflate);
        const double oursPng = find(ourPng);
        const double zlib = find(zlibInflate);
        const double libpng = find(libpngPng);
        if (oursInflate <= 0 || oursPng <= 0 || zlib <= 0 || libpng <= 0) {
            continue;
        }
        std::printf("%-28s %13.1f%% %13.1f%% %14.2f\n", input.name.c_str(),
                    100 * oursInflate / oursPng, 100 * zlib / libpng,
                    (libpng - zlib) / (oursPng - oursInflate));
    }
}

// Takes this program's own options out of the argument list.
void takeOwnOptions(int& argc, char** argv, std::string& runDirectory, bool& perFile) {
    const std::string runDirOption = "--run-dir=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind(runDirOption, 0) == 0) {
            runDirectory = argument.substr(runDirOption.size());
        } else if (argument == "--per-file") {
            perFile = true;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
}

} // namespace

int main(int argc, char** argv) {
    std::string runDirectory = HEMORUNE_RUN_DIR;
    bool perFile = false;
    takeOwnOptions(argc, argv, runDirectory, perFile);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    std::vector<BenchInput> inputs;
    inputs.push_back(pngSuiteInput());
    inputs.push_back(runDirectoryInput(runDirectory));
    inputs.push_back(photoInput());
    inputs.push_back(spriteSheetInput());
    inputs.push_back(textStreamInput());
    inputs.push_back(noisyStreamInput());
    if (perFile) {
        for (BenchInput& input : pngSuiteFileInputs()) {
            inputs.push_back(std::move(input));
        }
    }
    for (const BenchInput& input : inputs) {
        if (!input.problem.empty()) {
            std::fprintf(stderr, "%s: %s\n", input.name.c_str(), input.problem.c_str());
        }
        registerInput(input);
    }
    Timings timings;
    SummaryReporter reporter(timings);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(inputs, timings);
    benchmark::Shutdown();
    return 0;
}
