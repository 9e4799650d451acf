// Small media files made in code, a scratch directory, and a way to run one test of this program
// in a fresh child process (for what must start before the process's first OpenAL or font call).
#pragma once

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

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// 16-bit mono PCM at 22050 Hz holding the given samples.
void writeWav(const std::string& path, const std::vector<std::int16_t>& samples);
// A constant level: sums of overlapping copies show as sums, whatever their start offsets.
std::vector<std::int16_t> steadyLevel(int milliseconds, std::int16_t level);
constexpr int wavRate = 22050;

// A PNG with one IDAT of stored (uncompressed) deflate blocks; rows are given unfiltered.
struct PngPicture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int colourType = 6;
    int bitDepth = 8;
    std::vector<unsigned char> rows;    // height rows of width samples, no filter bytes
    std::vector<unsigned char> palette; // 3 bytes an entry, for colour type 3
};
std::vector<unsigned char> encodePng(const PngPicture& picture);

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
