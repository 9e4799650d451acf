#include "announcer.h"

#include "process.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct Line {
    const char* fileName;
    const char* words;
};

constexpr std::array<Line, 6> lines = {{
    {"damageborsos.wav", "Double damage!"},
    {"bloodpressure.wav", "Blood pressure!"},
    {"godlike.wav", "Unharmable!"},
    {"perfectshooter.wav", "Perfect shooter!"},
    {"hardrockin.wav", "Hard rockin!"},
    {"beatmachine.wav", "Beat machine!"},
}};

// Lower and slower: the voice is read out at 0.8 of its speed.
constexpr float pitchFactor = 0.8f;

std::uint32_t readLittle(const std::vector<std::uint8_t>& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[at + i];
    }
    return value;
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool speak(const std::string& words, Samples& samples, int& rate, std::string& error) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("hemorune-voice-" + std::to_string(getpid()) + ".wav");
    const ProgramResult result = runProgram({"espeak-ng", "-v", "en-us", "-p", "38", "-s", "150",
                                             "-a", "160", "-w", file.string(), words});
    const std::vector<std::uint8_t> bytes = readFile(file);
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (!result.started) {
        error = "espeak-ng is not installed; it voices the announcer (run scripts/setup.sh)";
        return false;
    }
    if (result.exitStatus != 0 || !decodeWav(bytes, samples, rate) || samples.empty()) {
        error = "espeak-ng could not voice \"" + words + "\"";
        return false;
    }
    return true;
}

// The samples from just before the first sound to just after the last.
Samples trimSilence(const Samples& in, int rate) {
    auto loud = [](float s) { return std::fabs(s) > 0.02f; };
    const auto first = std::find_if(in.begin(), in.end(), loud);
    const auto last = std::find_if(in.rbegin(), in.rend(), loud);
    if (first == in.end()) {
        return {};
    }
    const std::ptrdiff_t margin = rate / 100;
    const std::ptrdiff_t begin = std::max<std::ptrdiff_t>(0, (first - in.begin()) - margin);
    const std::ptrdiff_t end = std::min<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(in.size()),
                                                        (in.rend() - last) + margin);
    return Samples(in.begin() + begin, in.begin() + end);
}

} // namespace

bool decodeWav(const std::vector<std::uint8_t>& bytes, Samples& samples, int& rate) {
    samples.clear();
    if (bytes.size() < 12 || readLittle(bytes, 0, 4) != 0x46464952u ||
        readLittle(bytes, 8, 4) != 0x45564157u) { // "RIFF", "WAVE"
        return false;
    }
    int channels = 0;
    int bits = 0;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t tag = readLittle(bytes, at, 4);
        const std::size_t size = readLittle(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        if (tag == 0x20746D66u && size >= 16 && body + 16 <= bytes.size()) { // "fmt "
            if (readLittle(bytes, body, 2) != 1) {
                return false;
            }
            channels = static_cast<int>(readLittle(bytes, body + 2, 2));
            rate = static_cast<int>(readLittle(bytes, body + 4, 4));
            bits = static_cast<int>(readLittle(bytes, body + 14, 2));
        } else if (tag == 0x61746164u) { // "data"
            if (channels < 1 || bits != 16) {
                return false;
            }
            // A writer that could not seek back leaves the size too large: take what is there.
            const std::size_t available = std::min(size, bytes.size() - body);
            const std::size_t frame = static_cast<std::size_t>(channels) * 2;
            for (std::size_t i = 0; i + frame <= available; i += frame) {
                const auto value = static_cast<std::int16_t>(readLittle(bytes, body + i, 2));
                samples.push_back(value / 32768.0f);
            }
            return rate > 0;
        }
        at = body + size + (size & 1);
    }
    return false;
}

Samples makeAnnouncerVoice(const Samples& voice, int rate) {
    const Samples trimmed = trimSilence(voice, rate);
    // Resample to our rate and slow down in one step (linear interpolation).
    const float step = pitchFactor * static_cast<float>(rate) / sampleRate;
    Samples slow;
    for (float position = 0.0f; position + 1.0f < static_cast<float>(trimmed.size());
         position += step) {
        const std::size_t i = static_cast<std::size_t>(position);
        const float t = position - static_cast<float>(i);
        slow.push_back(trimmed[i] * (1.0f - t) + trimmed[i + 1] * t);
    }
    normalizePeak(slow, 1.0f);
    // Body: a boost of the lows; bite: saturation.
    Filter filter;
    Samples dry(slow.size());
    for (std::size_t i = 0; i < slow.size(); ++i) {
        const float low = filterStep(filter, slow[i], 350.0f, 0.8f);
        dry[i] = std::tanh(2.2f * (slow[i] + 0.8f * low));
    }
    // The hall: a few echoes, each darker than the last.
    const std::array<float, 4> delays = {0.075f, 0.15f, 0.24f, 0.36f};
    const std::array<float, 4> gains = {0.38f, 0.26f, 0.16f, 0.09f};
    Samples out(dry.size() + static_cast<std::size_t>(toSampleCount(0.5f)), 0.0f);
    mixInto(out, dry, 0, 1.0f, false);
    for (std::size_t e = 0; e < delays.size(); ++e) {
        Filter dark;
        Samples echo(dry.size());
        for (std::size_t i = 0; i < dry.size(); ++i) {
            echo[i] = filterStep(dark, dry[i], 2500.0f - 450.0f * e, 0.7f);
        }
        mixInto(out, echo, toSampleCount(delays[e]), gains[e], false);
    }
    // Fade the very end so the clip stops on silence.
    const std::size_t fade = static_cast<std::size_t>(toSampleCount(0.05f));
    for (std::size_t i = 0; i < fade && i < out.size(); ++i) {
        out[out.size() - 1 - i] *= static_cast<float>(i) / fade;
    }
    normalizePeak(out, 0.92f);
    return out;
}

std::vector<NamedSound> makeAnnouncerClips(std::string& error) {
    std::vector<NamedSound> clips;
    for (const Line& line : lines) {
        Samples voice;
        int rate = 0;
        if (!speak(line.words, voice, rate, error)) {
            return {};
        }
        clips.push_back(NamedSound{line.fileName, makeAnnouncerVoice(voice, rate)});
    }
    return clips;
}
