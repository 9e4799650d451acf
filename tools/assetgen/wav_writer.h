// WAV files: RIFF, PCM 16-bit, mono, at the sample rate of every sound we make.
#pragma once

#include <cstdint>
#include <vector>

constexpr int sampleRate = 22050;

// Samples are floats in -1..1; anything beyond is clipped.
std::vector<std::uint8_t> encodeWav(const std::vector<float>& samples);

std::int16_t toPcm16(float sample);
