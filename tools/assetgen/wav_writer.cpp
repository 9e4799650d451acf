#include "wav_writer.h"

#include <algorithm>
#include <cmath>

namespace {

void putUint32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

void putUint16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(tag[i]));
    }
}

} // namespace

std::int16_t toPcm16(float sample) {
    const float clipped = std::clamp(sample, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lround(clipped * 32767.0f));
}

std::vector<std::uint8_t> encodeWav(const std::vector<float>& samples) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    putUint32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putUint32(out, 16);
    putUint16(out, 1); // PCM
    putUint16(out, 1); // mono
    putUint32(out, sampleRate);
    putUint32(out, sampleRate * 2);
    putUint16(out, 2);
    putUint16(out, 16);
    putTag(out, "data");
    putUint32(out, dataBytes);
    for (float sample : samples) {
        putUint16(out, static_cast<std::uint16_t>(toPcm16(sample)));
    }
    return out;
}
