// The music loops: a small step sequencer over a few synthesised instruments. Every note is
// rendered on its own and mixed in with wrap-around, so the tails of the last bar ring on into
// the first and the loop has no seam.
#include "sounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace {

constexpr int stepsPerBar = 16;

struct Song {
    float bpm;
    int bars;
};

float stepSeconds(const Song& song) {
    return 60.0f / song.bpm / 4.0f;
}

int stepOffset(const Song& song, int step) {
    return toSampleCount(step * stepSeconds(song));
}

Samples songBuffer(const Song& song) {
    return Samples(static_cast<std::size_t>(stepOffset(song, song.bars * stepsPerBar)), 0.0f);
}

float midiHz(int note) {
    return 440.0f * std::pow(2.0f, (note - 69) / 12.0f);
}

float timeOf(int i) {
    return static_cast<float>(i) / sampleRate;
}

Samples kick(float length) {
    Samples out(static_cast<std::size_t>(toSampleCount(length)), 0.0f);
    float phase = 0.0f;
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        phase += (48.0f + 110.0f * decay(t, 0.035f)) / sampleRate;
        out[i] = std::tanh(2.0f * sineWave(phase)) * pluck(t, 0.002f, 0.13f);
    }
    return out;
}

Samples snare(Random& random) {
    Samples out(static_cast<std::size_t>(toSampleCount(0.25f)), 0.0f);
    Filter filter;
    float phase = 0.0f;
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        phase += 190.0f / sampleRate;
        filterStep(filter, whiteNoise(random), 4500.0f, 0.8f);
        out[i] = 0.7f * (filter.low + 0.5f * filter.band) * pluck(t, 0.001f, 0.06f) +
                 0.5f * sineWave(phase) * pluck(t, 0.001f, 0.04f);
    }
    return out;
}

Samples hat(Random& random, bool open) {
    Samples out(static_cast<std::size_t>(toSampleCount(open ? 0.18f : 0.06f)), 0.0f);
    Filter filter;
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        filterStep(filter, whiteNoise(random), 5200.0f, 1.0f);
        out[i] = filter.high * pluck(t, 0.0008f, open ? 0.05f : 0.014f);
    }
    return out;
}

// A filtered saw with a pinch of square an octave down.
Samples bassNote(int note, float length, float cutoff, float brightness) {
    Samples out(static_cast<std::size_t>(toSampleCount(length + 0.05f)), 0.0f);
    Filter filter;
    float phase = 0.0f;
    const float hz = midiHz(note);
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        phase += hz / sampleRate;
        const float raw = sawWave(phase) + 0.5f * squareWave(phase * 0.5f, 0.5f);
        const float envelope =
            pluck(t, 0.004f, 0.35f) * (t > length ? decay(t - length, 0.012f) : 1.0f);
        const float sweep = cutoff * (1.0f + brightness * decay(t, 0.06f));
        out[i] = filterStep(filter, raw, sweep, 1.6f) * envelope;
    }
    return out;
}

// A short plucked square, for arpeggios and riffs.
Samples pluckNote(int note, float length, float width, float cutoff) {
    Samples out(static_cast<std::size_t>(toSampleCount(length + 0.15f)), 0.0f);
    Filter filter;
    float phase = 0.0f;
    const float hz = midiHz(note);
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        phase += hz / sampleRate;
        const float envelope =
            pluck(t, 0.003f, length * 0.6f) * (t > length ? decay(t - length, 0.04f) : 1.0f);
        out[i] =
            filterStep(filter, squareWave(phase, width), cutoff * (0.5f + decay(t, 0.08f)), 1.2f) *
            envelope;
    }
    return out;
}

// Slowly swelling detuned saws: the pads under the menu and the late level.
Samples padChord(const std::array<int, 3>& notes, float length, float cutoff) {
    Samples out(static_cast<std::size_t>(toSampleCount(length + 0.6f)), 0.0f);
    std::array<float, 6> phases{};
    Filter filter;
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const float t = timeOf(i);
        float raw = 0.0f;
        for (int v = 0; v < 6; ++v) {
            const float detune = v % 2 == 0 ? 1.004f : 0.996f;
            phases[v] += midiHz(notes[v / 2]) * detune / sampleRate;
            raw += sawWave(phases[v]);
        }
        const float envelope =
            std::min(t / 0.35f, 1.0f) * (t > length ? decay(t - length, 0.2f) : 1.0f);
        out[i] = filterStep(filter, raw / 6.0f, cutoff, 0.9f) * envelope;
    }
    return out;
}

// Drum lines as 16-step strings, one character a step: x kick/snare/hat, o open hat.
void addDrums(Samples& loop, const Song& song, Random& random, std::string_view kicks,
              std::string_view snares, std::string_view hats, float hatGain) {
    const Samples kickSound = kick(0.4f);
    for (int bar = 0; bar < song.bars; ++bar) {
        for (int step = 0; step < stepsPerBar; ++step) {
            const int offset = stepOffset(song, bar * stepsPerBar + step);
            if (kicks[step] == 'x') {
                mixInto(loop, kickSound, offset, 0.9f, true);
            }
            if (snares[step] == 'x') {
                mixInto(loop, snare(random), offset, 0.6f, true);
            }
            if (hats[step] == 'x' || hats[step] == 'o') {
                mixInto(loop, hat(random, hats[step] == 'o'), offset, hatGain, true);
            }
        }
    }
}

// Closes the loop of a whole mix: soft saturation and one gain, both sample by sample, so the
// seam stays as smooth as the notes made it. Then the loop is turned (its start moved by at
// most 20 ms) to begin where the wave passes quietly through zero, so that also the join from
// the last sample to the first is a small step.
void finishLoop(Samples& loop) {
    finishSound(loop, 1.3f, 0.8f);
    const int size = static_cast<int>(loop.size());
    int best = 0;
    float bestScore = 1e9f;
    for (int k = 0; k < toSampleCount(0.02f); ++k) {
        const float before = loop[(k + size - 1) % size];
        const float after = loop[k];
        const float score = std::fabs(before) + std::fabs(after) + std::fabs(after - before);
        if (score < bestScore) {
            bestScore = score;
            best = k;
        }
    }
    std::rotate(loop.begin(), loop.begin() + best, loop.end());
}

} // namespace

// Menu: a slow dark groove in A minor, pads and a quiet arpeggio.
Samples makeMenuMusic() {
    const Song song{120.0f, 8};
    Samples loop = songBuffer(song);
    Random random{101};
    const std::array<std::array<int, 3>, 4> chords = {
        {{57, 60, 64}, {53, 57, 60}, {50, 53, 57}, {52, 56, 59}}};
    const float barSeconds = stepSeconds(song) * stepsPerBar;
    for (int bar = 0; bar < song.bars; bar += 2) {
        const auto& chord = chords[bar / 2];
        mixInto(loop, padChord(chord, barSeconds * 2.0f - 0.1f, 1400.0f),
                stepOffset(song, bar * stepsPerBar), 0.5f, true);
        for (int step = 0; step < 2 * stepsPerBar; step += 2) {
            const int root = chord[0] - 24 + (step % 8 == 6 ? 12 : 0);
            mixInto(loop, bassNote(root, stepSeconds(song) * 1.6f, 300.0f, 2.0f),
                    stepOffset(song, bar * stepsPerBar + step), 0.55f, true);
            const int arp = chord[(step / 2) % 3] + 12 + ((step / 6) % 2) * 12;
            mixInto(loop, pluckNote(arp, stepSeconds(song) * 1.5f, 0.25f, 2200.0f),
                    stepOffset(song, bar * stepsPerBar + step + 1), 0.14f, true);
        }
    }
    addDrums(loop, song, random, "x.........x.....", "....x.......x...", "..x...x...x...x.", 0.25f);
    finishLoop(loop);
    return loop;
}

// Level: a driving four-to-the-floor beat in D minor with a pulsing bass and a lead riff.
Samples makeLevelMusic() {
    const Song song{135.0f, 8};
    Samples loop = songBuffer(song);
    Random random{202};
    const std::array<int, 4> roots = {50, 46, 48, 45}; // D, Bb, C, A
    const std::array<int, 16> riff = {62, -1, 65, -1, 69, -1, 67, 65,
                                      62, -1, 60, -1, 62, -1, -1, -1};
    for (int bar = 0; bar < song.bars; ++bar) {
        const int root = roots[(bar / 2) % 4];
        for (int step = 0; step < stepsPerBar; ++step) {
            const int note = root - 12 + (step % 4 == 2 ? 12 : 0);
            mixInto(loop, bassNote(note, stepSeconds(song) * 0.8f, 420.0f, 3.0f),
                    stepOffset(song, bar * stepsPerBar + step), 0.5f, true);
            if (bar >= 4 && riff[step] > 0) {
                const int transpose = root - 50;
                mixInto(
                    loop,
                    pluckNote(riff[step] + transpose + 12, stepSeconds(song) * 1.8f, 0.5f, 3000.0f),
                    stepOffset(song, bar * stepsPerBar + step), 0.2f, true);
            }
        }
        mixInto(loop,
                padChord({root + 12, root + 15, root + 19}, stepSeconds(song) * 15.0f, 900.0f),
                stepOffset(song, bar * stepsPerBar), 0.25f, true);
    }
    addDrums(loop, song, random, "x...x...x...x...", "....x.......x...", "x.o.x.o.x.o.x.ox", 0.3f);
    finishLoop(loop);
    return loop;
}

// Late level: faster, phrygian, a bass that grinds a semitone and a high tremolo of tension.
Samples makeLateLevelMusic() {
    const Song song{150.0f, 8};
    Samples loop = songBuffer(song);
    Random random{303};
    const std::array<int, 16> bassLine = {40, 40, 41, 40, 40, 43, 40, 41,
                                          40, 40, 41, 40, 46, 45, 43, 41};
    for (int bar = 0; bar < song.bars; ++bar) {
        for (int step = 0; step < stepsPerBar; ++step) {
            mixInto(loop, bassNote(bassLine[step], stepSeconds(song) * 0.85f, 520.0f, 4.0f),
                    stepOffset(song, bar * stepsPerBar + step), 0.55f, true);
            // Tremolo: the same high note struck on every step, the chord moving every two bars.
            const int high = (bar / 2) % 2 == 0 ? 76 : 77;
            mixInto(loop,
                    pluckNote(high + (step % 2) * 12, stepSeconds(song) * 0.7f, 0.5f, 2600.0f),
                    stepOffset(song, bar * stepsPerBar + step), 0.09f, true);
        }
        const std::array<int, 3> chord =
            (bar / 2) % 2 == 0 ? std::array<int, 3>{64, 67, 71} : std::array<int, 3>{65, 69, 72};
        mixInto(loop, padChord(chord, stepSeconds(song) * 15.0f, 1600.0f),
                stepOffset(song, bar * stepsPerBar), 0.22f, true);
    }
    addDrums(loop, song, random, "x..x..x.x..x..x.", "....x.......x.xx", "xxoxxxoxxxoxxxox", 0.22f);
    finishLoop(loop);
    return loop;
}

// Intro: five seconds of a revving chainsaw under a countdown beep each second.
Samples makeIntroMusic() {
    constexpr float seconds = 5.0f;
    Samples loop(static_cast<std::size_t>(toSampleCount(seconds)), 0.0f);
    // The engine's pitch: idling, with two revs; periodic over the five seconds.
    auto engineHz = [&](float t) {
        const float rev1 = std::exp(-std::pow((t - 1.4f) / 0.35f, 2.0f));
        const float rev2 = std::exp(-std::pow((t - 3.6f) / 0.5f, 2.0f));
        return 52.0f + 30.0f * rev1 + 42.0f * rev2 + 3.0f * std::sin(twoPi * t / seconds * 10.0f);
    };
    float cycles = 0.0f;
    for (int i = 0; i < static_cast<int>(loop.size()); ++i) {
        cycles += engineHz(timeOf(i)) / sampleRate;
    }
    // Stretch the pitch a hair so a whole number of cycles fits: the wave then wraps cleanly.
    const float fit = std::round(cycles) / cycles;
    Samples raw(loop.size(), 0.0f);
    float phase = 0.0f;
    for (int i = 0; i < static_cast<int>(raw.size()); ++i) {
        const float hz = engineHz(timeOf(i)) * fit;
        phase += hz / sampleRate;
        raw[i] = std::tanh(3.0f * (sawWave(phase) + 0.6f * squareWave(phase * 2.0f, 0.3f)));
    }
    // The filter runs over the loop twice and keeps the second pass, so its state wraps too.
    Filter filter;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < static_cast<int>(raw.size()); ++i) {
            const float out = filterStep(filter, raw[i], 1800.0f, 1.4f);
            if (pass == 1) {
                loop[i] = 0.5f * out;
            }
        }
    }
    for (int beep = 0; beep < 5; ++beep) {
        Samples tone(static_cast<std::size_t>(toSampleCount(0.16f)), 0.0f);
        const float hz = beep == 4 ? 1320.0f : 880.0f;
        for (int i = 0; i < static_cast<int>(tone.size()); ++i) {
            const float t = timeOf(i);
            const float envelope =
                std::min(t / 0.004f, 1.0f) * (t > 0.12f ? decay(t - 0.12f, 0.01f) : 1.0f);
            tone[i] = (sineWave(hz * t) + 0.3f * squareWave(hz * t, 0.5f)) * envelope;
        }
        mixInto(loop, tone, toSampleCount(beep * 1.0f), 0.45f, true);
    }
    finishLoop(loop);
    return loop;
}

std::vector<NamedSound> makeAllSounds() {
    return {
        {"DRIPITY.WAV", makeBubbleBurst()},
        {"TAOOOT.WAV", makeSyringePickup()},
        {"THUMP.WAV", makeOilPickup()},
        {"WALL.WAV", makeCigarettePickup()},
        {"explode.wav", makeExplosion()},
        {"loadclip.wav", makeReloadClick()},
        {"pig.wav", makeSqueal()},
        {"ploop.wav", makePlop()},
        {"pig_4.wav", makeVirusHurt()},
        {"implosion2.wav", makeImplosion()},
        {"HIT.WAV", makeHitCrack()},
        {"loves.wav", makeFiringLoop()},
        {"menu2.wav", makeMenuMusic()},
        {"ingame2.wav", makeLevelMusic()},
        {"ingame5.wav", makeLateLevelMusic()},
        {"chainsaw.wav", makeIntroMusic()},
    };
}
