#include "noise.h"

#include <cmath>

std::uint32_t nextRandom(Random& random) {
    // PCG-XSH-RR
    const std::uint64_t old = random.state;
    random.state = old * 6364136223846793005ull + 1442695040888963407ull;
    const std::uint32_t xorShifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
    const std::uint32_t rotation = static_cast<std::uint32_t>(old >> 59u);
    return (xorShifted >> rotation) | (xorShifted << ((32u - rotation) & 31u));
}

float randomUnit(Random& random) {
    return static_cast<float>(nextRandom(random) >> 8) / 16777216.0f;
}

float randomRange(Random& random, float low, float high) {
    return low + (high - low) * randomUnit(random);
}

int randomInt(Random& random, int count) {
    return static_cast<int>(nextRandom(random) % static_cast<std::uint32_t>(count));
}

std::uint32_t hashCoordinates(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

namespace {

float latticeValue(int x, int y, int periodX, int periodY, std::uint32_t seed) {
    const int wrappedX = ((x % periodX) + periodX) % periodX;
    const int wrappedY = ((y % periodY) + periodY) % periodY;
    return static_cast<float>(hashCoordinates(wrappedX, wrappedY, seed) >> 8) / 16777216.0f;
}

float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

} // namespace

float valueNoise(float x, float y, int periodX, int periodY, std::uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = smooth(x - fx);
    const float ty = smooth(y - fy);
    const float a = latticeValue(ix, iy, periodX, periodY, seed);
    const float b = latticeValue(ix + 1, iy, periodX, periodY, seed);
    const float c = latticeValue(ix, iy + 1, periodX, periodY, seed);
    const float d = latticeValue(ix + 1, iy + 1, periodX, periodY, seed);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float fractalNoise(float x, float y, int octaves, int periodX, int periodY, std::uint32_t seed) {
    float sum = 0.0f;
    float weight = 0.5f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum +=
            weight * valueNoise(x, y, periodX, periodY, seed + static_cast<std::uint32_t>(octave));
        total += weight;
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}
