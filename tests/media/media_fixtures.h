// Small media files made in code, a scratch directory, and a way to run one test of this program
// in a fresh child process (for what must start before the process's first OpenAL or font call).
#pragma once

#include "support/fixture_files.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A directory under the system's temporary directory, removed with everything in it.
struct ScratchDir {
    std::filesystem::path path;
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string file(const std::string& name) const { return (path / name).string(); }
};

// A constant level: sums of overlapping copies show as sums, whatever their start offsets.
std::vector<std::int16_t> steadyLevel(int milliseconds, std::int16_t level);
constexpr int wavRate = 22050; // the rate of the sounds these tests write

// The channel-0 samples of a 16-bit PCM WAV file (for reading what OpenAL Soft's wave writer
// wrote), empty when the file is missing or not such a WAV.
std::vector<std::int16_t> readWavSamples(const std::string& path);
// The largest absolute sample in [begin, end) of the samples, as fractions of the length.
int peakLevel(const std::vector<std::int16_t>& samples, double begin = 0.0, double end = 1.0);

struct ChildRun {
    int status = -1; // exit status, or 128 + signal
    std::string output;
};
// Runs this test program again with only the named (disabled) test, in the given working
// directory and with the given extra NAME=value environment entries.
ChildRun runChildTest(const std::string& testName, const std::string& workDir,
                      const std::vector<std::string>& environment);
