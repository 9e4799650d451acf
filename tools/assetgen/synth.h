// The building blocks of every synthesised sound: oscillators, envelopes, a filter, noise, and
// mixing into sample buffers (floats in -1..1 at sampleRate).
#pragma once

#include "noise.h"
#include "wav_writer.h"

#include <string>
#include <vector>

using Samples = std::vector<float>;

struct NamedSound {
    std::string fileName;
    Samples samples;
};

constexpr float twoPi = 6.28318531f;

int toSampleCount(float seconds);

float sineWave(float phase); // phase in cycles
float sawWave(float phase);
float squareWave(float phase, float width);
float triangleWave(float phase);

// 1 at t = 0 falling to 1/e after `time` seconds.
float decay(float t, float time);
// Linear rise over `attack` seconds, then exponential decay.
float pluck(float t, float attack, float decayTime);

// Chamberlin state-variable filter; step returns the low-pass output, band and high are kept.
struct Filter {
    float low = 0.0f;
    float band = 0.0f;
    float high = 0.0f;
};
float filterStep(Filter& filter, float input, float cutoffHz, float resonance);

float whiteNoise(Random& random);

// Adds `source` into `target` from `offset` on, times `gain`. With `wrap`, whatever runs past
// the end comes in again at the start, which is what makes a loop seamless.
void mixInto(Samples& target, const Samples& source, int offset, float gain, bool wrap);

// Soft saturation, then scaled so the loudest sample reaches `peak`.
void finishSound(Samples& samples, float drive, float peak);

void normalizePeak(Samples& samples, float peak);
