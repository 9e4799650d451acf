// Loudness of a stretch of a recorded WAV file, for the real-window tests that record the game's
// sound through OpenAL Soft's wave writer.
//
//   wav-probe info FILE          rate, channels, sample bits and length in seconds
//   wav-probe rms FILE FROM TO   RMS of the samples from FROM to TO (channels averaged)
//   wav-probe edge FILE FROM TO  RMS of the sample-to-sample differences, which weighs the high
//                                frequencies of clicks and shots above the bass of the music
//   wav-probe at FILE MARK       the time in seconds of a position, also one past the end
//   wav-probe match FILE FROM TO SOURCE
//                                how closely the stretch follows the sound file SOURCE played in
//                                a loop: the best normalised correlation over every starting point
//                                of SOURCE (1 the same waveform at any volume, near 0 unrelated),
//                                and that starting point in seconds; SOURCE must have the
//                                recording's rate
//
// A position is seconds ("2.5") or a size the file had while it was being written ("b123456"):
// the writer keeps pace with the clock, so the size taken just before a key press marks the press;
// a mark may be followed by an offset in seconds ("b123456+0.5").
// The writer fills in the chunk sizes only when its device is closed, so a recording cut short by
// the end of the process is read to the end of the file whatever its header says.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct WavFile {
    int formatTag = 0; // 1 integer PCM, 3 float
    int channels = 0;
    int rate = 0;
    int bits = 0;
    long dataOffset = 0;
    std::vector<float> samples; // one per frame, channels averaged, -1..1
};

std::uint32_t readLe(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

float sampleAt(const unsigned char* bytes, const WavFile& wav) {
    if (wav.formatTag == 3 && wav.bits == 32) {
        const std::uint32_t raw = readLe(bytes, 4);
        float value = 0;
        std::memcpy(&value, &raw, sizeof value);
        return value;
    }
    switch (wav.bits) {
    case 8:
        return (static_cast<float>(bytes[0]) - 128.0f) / 128.0f;
    case 16:
        return static_cast<float>(static_cast<std::int16_t>(readLe(bytes, 2))) / 32768.0f;
    case 32:
        return static_cast<float>(static_cast<std::int32_t>(readLe(bytes, 4))) / 2147483648.0f;
    default:
        return 0.0f;
    }
}

bool readFileBytes(const char* path, std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    unsigned char block[65536];
    std::size_t count = 0;
    while ((count = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.insert(bytes.end(), block, block + count);
    }
    std::fclose(file);
    return true;
}

// Reads the format and the samples; false with a reason for anything it cannot read.
bool loadWav(const char* path, WavFile& wav, std::string& reason) {
    std::vector<unsigned char> bytes;
    if (!readFileBytes(path, bytes)) {
        reason = "cannot open";
        return false;
    }
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        reason = "not a RIFF WAVE file";
        return false;
    }
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + at;
        const std::uint32_t size = readLe(chunk + 4, 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && at + 8 + 16 <= bytes.size()) {
            wav.formatTag = static_cast<int>(readLe(chunk + 8, 2));
            wav.channels = static_cast<int>(readLe(chunk + 10, 2));
            wav.rate = static_cast<int>(readLe(chunk + 12, 4));
            wav.bits = static_cast<int>(readLe(chunk + 22, 2));
            // WAVE_FORMAT_EXTENSIBLE names the real format in the first bytes of its GUID.
            if (wav.formatTag == 0xFFFE && size >= 40 && at + 8 + 26 <= bytes.size()) {
                wav.formatTag = static_cast<int>(readLe(chunk + 8 + 24, 2));
            }
        }
        if (std::memcmp(chunk, "data", 4) == 0) {
            wav.dataOffset = static_cast<long>(at + 8);
            break;
        }
        at += 8 + size + (size & 1u);
    }
    if (wav.dataOffset == 0 || wav.channels < 1 || wav.rate < 1 ||
        (wav.formatTag != 1 && wav.formatTag != 3) ||
        (wav.bits != 8 && wav.bits != 16 && wav.bits != 32)) {
        reason = "no PCM or float format and data chunk";
        return false;
    }
    const std::size_t frameBytes = static_cast<std::size_t>(wav.channels * wav.bits / 8);
    const std::size_t frames =
        (bytes.size() - static_cast<std::size_t>(wav.dataOffset)) / frameBytes;
    wav.samples.resize(frames);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const unsigned char* first = bytes.data() + wav.dataOffset + frame * frameBytes;
        float sum = 0;
        for (int channel = 0; channel < wav.channels; ++channel) {
            sum += sampleAt(first + channel * wav.bits / 8, wav);
        }
        wav.samples[frame] = sum / static_cast<float>(wav.channels);
    }
    return true;
}

double secondsOf(const WavFile& wav, std::size_t frame) {
    return static_cast<double>(frame) / wav.rate;
}

// A position in frames, possibly outside the recording. A byte mark may carry an offset in seconds:
// "b123456+0.5", "b123456-1".
double framesAt(const WavFile& wav, const char* position) {
    double frame = 0;
    if (position[0] == 'b') {
        char* rest = nullptr;
        const double bytes = std::strtod(position + 1, &rest);
        frame = (bytes - static_cast<double>(wav.dataOffset)) / (wav.channels * wav.bits / 8);
        if (*rest == '+' || *rest == '-') {
            frame += std::strtod(rest, nullptr) * wav.rate;
        }
    } else {
        frame = std::strtod(position, nullptr) * wav.rate;
    }
    return frame;
}

// A position in frames, clamped to the recording.
std::size_t frameAt(const WavFile& wav, const char* position) {
    const double frame = framesAt(wav, position);
    if (frame < 0) {
        return 0;
    }
    const double last = static_cast<double>(wav.samples.size());
    return static_cast<std::size_t>(frame > last ? last : frame);
}

double rmsOf(const WavFile& wav, std::size_t from, std::size_t to, bool differences) {
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t i = from < 1 && differences ? 1 : from; i < to; ++i) {
        const double value = differences ? wav.samples[i] - wav.samples[i - 1] : wav.samples[i];
        sum += value * value;
        count += 1;
    }
    return count == 0 ? 0.0 : std::sqrt(sum / static_cast<double>(count));
}

struct Match {
    double correlation = 0;
    std::size_t start = 0;
};

// The best normalised correlation of samples from..to with the looped source, over every start.
Match bestMatch(const WavFile& wav, std::size_t from, std::size_t to, const WavFile& source) {
    const std::vector<float>& loop = source.samples;
    const std::size_t length = to - from;
    double own = 0;
    for (std::size_t i = from; i < to; ++i) {
        own += static_cast<double>(wav.samples[i]) * wav.samples[i];
    }
    // The energy of the source window, kept up to date as the window slides along the loop.
    double window = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const double value = loop[i % loop.size()];
        window += value * value;
    }
    Match best;
    for (std::size_t start = 0; start < loop.size(); ++start) {
        double dot = 0;
        for (std::size_t i = 0; i < length; ++i) {
            dot += static_cast<double>(wav.samples[from + i]) * loop[(start + i) % loop.size()];
        }
        if (own > 0 && window > 0) {
            const double correlation = dot / std::sqrt(own * window);
            if (correlation > best.correlation) {
                best.correlation = correlation;
                best.start = start;
            }
        }
        const double leaving = loop[start];
        const double entering = loop[(start + length) % loop.size()];
        window += entering * entering - leaving * leaving;
    }
    return best;
}

int usage() {
    std::fprintf(stderr, "usage: wav-probe info FILE | rms|edge FILE FROM TO | at FILE MARK | "
                         "match FILE FROM TO SOURCE\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return usage();
    }
    const std::string command = argv[1];
    WavFile wav;
    std::string reason;
    if (!loadWav(argv[2], wav, reason)) {
        std::fprintf(stderr, "wav-probe: %s: %s\n", argv[2], reason.c_str());
        return 1;
    }
    if (command == "info" && argc == 3) {
        std::printf("rate %d channels %d bits %d %s seconds %.3f\n", wav.rate, wav.channels,
                    wav.bits, wav.formatTag == 3 ? "float" : "pcm",
                    secondsOf(wav, wav.samples.size()));
        return 0;
    }
    if (command == "at" && argc == 4) {
        std::printf("%.3f\n", framesAt(wav, argv[3]) / wav.rate);
        return 0;
    }
    if ((command == "rms" || command == "edge") && argc == 5) {
        const std::size_t from = frameAt(wav, argv[3]);
        const std::size_t to = frameAt(wav, argv[4]);
        if (to <= from) {
            std::fprintf(stderr, "wav-probe: empty stretch %s..%s of a %.3f s recording\n", argv[3],
                         argv[4], secondsOf(wav, wav.samples.size()));
            return 1;
        }
        std::printf("%.4f\n", rmsOf(wav, from, to, command == "edge"));
        return 0;
    }
    if (command == "match" && argc == 6) {
        const std::size_t from = frameAt(wav, argv[3]);
        const std::size_t to = frameAt(wav, argv[4]);
        WavFile source;
        if (!loadWav(argv[5], source, reason)) {
            std::fprintf(stderr, "wav-probe: %s: %s\n", argv[5], reason.c_str());
            return 1;
        }
        if (to <= from || source.samples.empty() || source.rate != wav.rate) {
            std::fprintf(stderr, "wav-probe: cannot match %s..%s with %s (%d Hz against %d Hz)\n",
                         argv[3], argv[4], argv[5], source.rate, wav.rate);
            return 1;
        }
        const Match best = bestMatch(wav, from, to, source);
        std::printf("%.3f %.3f\n", best.correlation, secondsOf(source, best.start));
        return 0;
    }
    return usage();
}
