#include "synth.h"

#include <algorithm>
#include <cmath>

int toSampleCount(float seconds) {
    return static_cast<int>(std::lround(seconds * sampleRate));
}

float sineWave(float phase) {
    return std::sin(twoPi * phase);
}

float sawWave(float phase) {
    return 2.0f * (phase - std::floor(phase)) - 1.0f;
}

float squareWave(float phase, float width) {
    return (phase - std::floor(phase)) < width ? 1.0f : -1.0f;
}

float triangleWave(float phase) {
    const float f = phase - std::floor(phase);
    return f < 0.5f ? 4.0f * f - 1.0f : 3.0f - 4.0f * f;
}

float decay(float t, float time) {
    return std::exp(-t / time);
}

float pluck(float t, float attack, float decayTime) {
    if (t < 0.0f) {
        return 0.0f;
    }
    if (t < attack) {
        return t / attack;
    }
    return std::exp(-(t - attack) / decayTime);
}

float filterStep(Filter& filter, float input, float cutoffHz, float resonance) {
    // Two passes per sample keep the filter stable up to a quarter of the sample rate.
    const float f =
        2.0f * std::sin(3.14159265f * std::min(cutoffHz, sampleRate * 0.24f) / (2.0f * sampleRate));
    const float damping = 1.0f / std::max(resonance, 0.5f);
    for (int pass = 0; pass < 2; ++pass) {
        filter.low += f * filter.band;
        filter.high = input - filter.low - damping * filter.band;
        filter.band += f * filter.high;
    }
    return filter.low;
}

float whiteNoise(Random& random) {
    return randomUnit(random) * 2.0f - 1.0f;
}

void mixInto(Samples& target, const Samples& source, int offset, float gain, bool wrap) {
    const int size = static_cast<int>(target.size());
    for (int i = 0; i < static_cast<int>(source.size()); ++i) {
        int index = offset + i;
        if (wrap) {
            index = ((index % size) + size) % size;
        } else if (index < 0 || index >= size) {
            continue;
        }
        target[index] += source[i] * gain;
    }
}

void normalizePeak(Samples& samples, float peak) {
    float loudest = 0.0f;
    for (float s : samples) {
        loudest = std::max(loudest, std::fabs(s));
    }
    if (loudest <= 0.0f) {
        return;
    }
    for (float& s : samples) {
        s *= peak / loudest;
    }
}

void finishSound(Samples& samples, float drive, float peak) {
    normalizePeak(samples, 1.0f);
    for (float& s : samples) {
        s = std::tanh(drive * s);
    }
    normalizePeak(samples, peak);
}
