// Deterministic randomness for the generator: the same seed gives the same pictures and sounds
// on every machine and every build (no std distributions, whose results vary by library).
#pragma once

#include <cstdint>

struct Random {
    std::uint64_t state;
};

std::uint32_t nextRandom(Random& random);
float randomUnit(Random& random); // 0 <= r < 1
float randomRange(Random& random, float low, float high);
int randomInt(Random& random, int count); // 0 <= r < count

std::uint32_t hashCoordinates(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Smooth value noise in 0..1 on a lattice that repeats every periodX by periodY cells.
float valueNoise(float x, float y, int periodX, int periodY, std::uint32_t seed);

// Octaves of value noise, each twice as fine and half as strong; tiles like its first octave.
float fractalNoise(float x, float y, int octaves, int periodX, int periodY, std::uint32_t seed);
