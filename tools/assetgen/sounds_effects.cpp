// The game's sound effects, each a few tenths of a second of synthesis.
#include "sounds.h"

#include <cmath>

namespace {

Samples silence(float seconds) {
    return Samples(static_cast<std::size_t>(toSampleCount(seconds)), 0.0f);
}

float timeOf(int i) {
    return static_cast<float>(i) / sampleRate;
}

// A water drop: a sine whose pitch jumps upwards as it dies away.
void addDrip(Samples& out, float start, float fromHz, float toHz, float gain) {
    float phase = 0.0f;
    const int first = toSampleCount(start);
    for (int i = first; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i - first);
        const float hz = toHz + (fromHz - toHz) * decay(t, 0.018f);
        phase += hz / sampleRate;
        out[i] += gain * sineWave(phase) * pluck(t, 0.002f, 0.045f);
    }
}

void addNoiseBurst(Samples& out, Random& random, float start, float length, float cutoffHz,
                   float gain) {
    Filter filter;
    const int first = toSampleCount(start);
    for (int i = first; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i - first);
        out[i] += gain * filterStep(filter, whiteNoise(random), cutoffHz, 0.7f) *
                  pluck(t, 0.001f, length);
    }
}

// A falling sine: the body of thumps, booms and plops.
void addThump(Samples& out, float start, float fromHz, float toHz, float sweep, float length,
              float gain) {
    float phase = 0.0f;
    const int first = toSampleCount(start);
    for (int i = first; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i - first);
        const float hz = toHz + (fromHz - toHz) * decay(t, sweep);
        phase += hz / sampleRate;
        out[i] += gain * sineWave(phase) * pluck(t, 0.003f, length);
    }
}

// A struck bit of metal: a click and a ringing pair of partials.
void addClick(Samples& out, Random& random, float start, float pitchHz, float gain) {
    addNoiseBurst(out, random, start, 0.004f, 6000.0f, gain);
    const int first = toSampleCount(start);
    for (int i = first; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i - first);
        const float ring = sineWave(pitchHz * t) + 0.6f * sineWave(pitchHz * 1.53f * t);
        out[i] += gain * 0.5f * ring * pluck(t, 0.0005f, 0.03f);
    }
}

} // namespace

Samples makeBubbleBurst() {
    Samples out = silence(0.45f);
    Random random{11};
    addNoiseBurst(out, random, 0.0f, 0.012f, 5000.0f, 0.9f);
    addDrip(out, 0.005f, 380.0f, 1250.0f, 0.8f);
    addDrip(out, 0.11f, 520.0f, 1600.0f, 0.6f);
    addDrip(out, 0.2f, 300.0f, 1000.0f, 0.5f);
    finishSound(out, 1.5f, 0.9f);
    return out;
}

Samples makeSyringePickup() {
    Samples out = silence(0.75f);
    float phase = 0.0f;
    Filter filter;
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        float sample = 0.0f;
        if (t < 0.08f) {
            // "Ta": a short blip a fifth below.
            phase += 587.0f / sampleRate;
            sample = 0.6f * squareWave(phase, 0.3f) * pluck(t, 0.003f, 0.05f);
        } else {
            // "Ooot": a bright horn that swells, with vibrato, opening its filter.
            const float u = t - 0.08f;
            const float hz = 880.0f * (1.0f + 0.012f * std::sin(twoPi * 6.0f * u)) *
                             (1.0f + 0.06f * std::min(u / 0.06f, 1.0f));
            phase += hz / sampleRate;
            const float envelope =
                std::min(u / 0.04f, 1.0f) * (u > 0.5f ? decay(u - 0.5f, 0.05f) : 1.0f);
            const float raw = 0.5f * sawWave(phase) + 0.3f * squareWave(phase * 0.5f, 0.5f);
            sample = envelope *
                     filterStep(filter, raw, 1200.0f + 5000.0f * std::min(u / 0.3f, 1.0f), 1.5f);
        }
        out[i] = sample;
    }
    finishSound(out, 1.8f, 0.85f);
    return out;
}

Samples makeOilPickup() {
    Samples out = silence(0.5f);
    Random random{13};
    addThump(out, 0.0f, 160.0f, 45.0f, 0.05f, 0.18f, 1.0f);
    addThump(out, 0.13f, 120.0f, 50.0f, 0.04f, 0.12f, 0.6f);
    // The glug of something thick.
    addDrip(out, 0.06f, 180.0f, 420.0f, 0.45f);
    addNoiseBurst(out, random, 0.0f, 0.03f, 400.0f, 0.8f);
    finishSound(out, 2.0f, 0.95f);
    return out;
}

Samples makeCigarettePickup() {
    Samples out = silence(0.6f);
    Random random{17};
    Filter filter;
    // The hiss of a deep drag, with the crackle of burning tobacco.
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        const float swell =
            std::min(t / 0.25f, 1.0f) * (t > 0.35f ? decay(t - 0.35f, 0.07f) : 1.0f);
        filterStep(filter, whiteNoise(random), 2500.0f + 3000.0f * t, 2.0f);
        out[i] = 0.5f * filter.band * swell;
    }
    for (int crackle = 0; crackle < 14; ++crackle) {
        addNoiseBurst(out, random, randomRange(random, 0.02f, 0.45f), 0.002f, 7000.0f,
                      randomRange(random, 0.3f, 0.8f));
    }
    addThump(out, 0.0f, 220.0f, 150.0f, 0.1f, 0.08f, 0.4f);
    finishSound(out, 1.5f, 0.8f);
    return out;
}

Samples makeExplosion() {
    Samples out = silence(1.8f);
    Random random{19};
    Filter filter;
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        const float cutoff = 150.0f + 5500.0f * decay(t, 0.18f);
        out[i] =
            1.2f * filterStep(filter, whiteNoise(random), cutoff, 0.8f) * pluck(t, 0.004f, 0.45f);
    }
    addThump(out, 0.0f, 90.0f, 28.0f, 0.25f, 0.5f, 1.0f);
    for (int crackle = 0; crackle < 20; ++crackle) {
        addNoiseBurst(out, random, randomRange(random, 0.05f, 0.9f), 0.006f, 3000.0f,
                      randomRange(random, 0.1f, 0.4f));
    }
    finishSound(out, 2.5f, 0.95f);
    return out;
}

Samples makeReloadClick() {
    Samples out = silence(0.35f);
    Random random{23};
    addClick(out, random, 0.0f, 2400.0f, 0.8f);
    addClick(out, random, 0.15f, 1500.0f, 1.0f);
    addThump(out, 0.15f, 200.0f, 120.0f, 0.02f, 0.04f, 0.5f);
    finishSound(out, 1.5f, 0.85f);
    return out;
}

Samples makeSqueal() {
    Samples out = silence(0.45f);
    float phase = 0.0f;
    Filter filter;
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        const float hz =
            (500.0f + 500.0f * decay(t, 0.15f)) * (1.0f + 0.08f * std::sin(twoPi * 22.0f * t));
        phase += hz / sampleRate;
        filterStep(filter, sawWave(phase), 1400.0f, 3.0f);
        out[i] = (filter.band + 0.3f * filter.low) * pluck(t, 0.01f, 0.14f);
    }
    finishSound(out, 2.0f, 0.85f);
    return out;
}

Samples makePlop() {
    Samples out = silence(0.3f);
    Random random{29};
    addThump(out, 0.0f, 750.0f, 140.0f, 0.03f, 0.07f, 1.0f);
    addNoiseBurst(out, random, 0.0f, 0.02f, 1200.0f, 0.5f);
    addDrip(out, 0.07f, 250.0f, 700.0f, 0.35f);
    finishSound(out, 1.5f, 0.9f);
    return out;
}

Samples makeVirusHurt() {
    Samples out = silence(0.4f);
    Random random{31};
    float phase = 0.0f;
    Filter filter;
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        const float hz = 85.0f + 70.0f * decay(t, 0.08f);
        phase += hz / sampleRate;
        const float raw = sawWave(phase) + 0.3f * whiteNoise(random);
        out[i] = filterStep(filter, raw, 900.0f, 2.5f) * pluck(t, 0.005f, 0.12f);
    }
    addNoiseBurst(out, random, 0.0f, 0.02f, 2500.0f, 0.8f);
    finishSound(out, 3.0f, 0.9f);
    return out;
}

Samples makeImplosion() {
    Samples out = silence(0.75f);
    Random random{37};
    Filter filter;
    // A rush that grows and rises, sucked in, and cut off by a dull thud.
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        if (t >= 0.5f) {
            break;
        }
        const float u = t / 0.5f;
        filterStep(filter, whiteNoise(random), 300.0f + 4500.0f * u * u, 3.0f);
        out[i] = filter.band * u * u * u;
    }
    addThump(out, 0.5f, 140.0f, 40.0f, 0.04f, 0.1f, 1.0f);
    addNoiseBurst(out, random, 0.5f, 0.015f, 1500.0f, 0.6f);
    finishSound(out, 1.8f, 0.9f);
    return out;
}

Samples makeHitCrack() {
    Samples out = silence(0.25f);
    Random random{41};
    addNoiseBurst(out, random, 0.0f, 0.015f, 8000.0f, 1.0f);
    addThump(out, 0.0f, 260.0f, 120.0f, 0.02f, 0.07f, 0.9f);
    finishSound(out, 3.0f, 0.9f);
    return out;
}

// Six shots, 80 ms apart. The game restarts the clip on every frame of fire, so the first
// 16 ms alone must be a shot: the zap and the crack start at the very first sample.
Samples makeFiringLoop() {
    constexpr int shots = 6;
    constexpr float spacing = 0.08f;
    Samples out = silence(shots * spacing);
    Random random{43};
    for (int shot = 0; shot < shots; ++shot) {
        Samples one = silence(spacing);
        float phase = 0.0f;
        Filter filter;
        const float pitch = shot % 2 == 0 ? 1.0f : 0.9f;
        for (int i = 0; i < static_cast<int>(one.size()); ++i) {
            const float t = timeOf(i);
            const float hz = pitch * (260.0f + 1700.0f * decay(t, 0.012f));
            phase += hz / sampleRate;
            const float zap = squareWave(phase, 0.4f) * pluck(t, 0.0004f, 0.018f);
            const float crack =
                filterStep(filter, whiteNoise(random), 6000.0f, 0.7f) * pluck(t, 0.0004f, 0.008f);
            one[i] = 0.55f * zap + 0.7f * crack;
        }
        mixInto(out, one, toSampleCount(shot * spacing), 1.0f, true);
    }
    finishSound(out, 1.6f, 0.8f);
    return out;
}
