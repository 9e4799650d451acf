// The explosion's ten frames and the three bars of the display (cell health, health, damage).
#include "paint_helpers.h"
#include "pictures.h"

namespace {

constexpr int explosionSize = 256;
constexpr int gaugeSize = 64;

// Fire colours by temperature: white-hot, yellow, orange, red, then sooty smoke below zero.
Colour fireColour(float temperature, float age, float billow) {
    const Colour smoke =
        scaleColour(mixColours(rgb(0x7a6a80), rgb(0x3a2e3e), age), 0.7f + 0.6f * billow);
    if (temperature <= 0.0f) {
        return smoke;
    }
    if (temperature < 0.2f) {
        return mixColours(smoke, rgb(0x8a1a14), temperature / 0.2f);
    }
    if (temperature < 0.45f) {
        return mixColours(rgb(0x8a1a14), rgb(0xf0501a), (temperature - 0.2f) / 0.25f);
    }
    if (temperature < 0.7f) {
        return mixColours(rgb(0xf0501a), rgb(0xffc830), (temperature - 0.45f) / 0.25f);
    }
    return mixColours(rgb(0xffc830), rgb(0xfffbe8), clamp01((temperature - 0.7f) / 0.25f));
}

// A vertical tube (uniform along y, so that it stretches cleanly) between columns left..right.
Image makeTube(Colour dark, Colour mid, Colour bright) {
    Canvas canvas = makeCanvas(gaugeSize, gaugeSize);
    const float left = 21.0f;
    const float right = 43.0f;
    paintShape(canvas, [&](Point p) {
        const float d = std::max(left - p.x, p.x - right);
        return Paint{d, palette::outline};
    });
    paintShape(canvas, [&](Point p) {
        const float d = std::max(left + 3.0f - p.x, p.x - (right - 3.0f));
        const float across = (p.x - (left + right) * 0.5f) / ((right - left) * 0.5f - 3.0f);
        const float light = clamp01(0.85f - across * across - 0.35f * across);
        Colour c = ramp3(dark, mid, bright, light);
        if (across > -0.55f && across < -0.3f) {
            c = mixColours(c, rgb(0xffffff), 0.6f);
        }
        return Paint{d, c};
    });
    return finishSprite(canvas);
}

} // namespace

Image makeExplosionFrame(int frame) {
    Canvas canvas = makeCanvas(explosionSize, explosionSize);
    const float t = (frame - 1) / 9.0f;
    const Point centre{128.0f, 128.0f};
    const float radius = 38.0f + 80.0f * (1.0f - std::pow(1.0f - t, 2.2f));
    const float heat = 1.05f - 1.15f * t;
    const float erosion = 0.6f * smoothStep(0.45f, 1.0f, t);
    const float drift = t * 3.0f;
    paintShape(canvas, [&](Point p) {
        const float r = length(Point{p.x - centre.x, p.y - centre.y}) / radius;
        const float n = fractalNoise(p.x / 26.0f, p.y / 26.0f - drift, 4, 64, 64, 101);
        const float holes = fractalNoise(p.x / 34.0f + 7.0f, p.y / 34.0f - drift, 3, 64, 64, 202);
        const float shape = r + 0.5f * (n - 0.5f) + 0.15f * t * (holes - 0.5f);
        float distance = (shape - 1.0f) * radius;
        // Late frames break up into drifting puffs of smoke.
        distance = std::max(distance, (erosion - holes) * 90.0f);
        const float temperature = heat * (1.25f - shape) + 0.35f * (n - 0.5f);
        // Smoke is lit from above: lighter on the upper side of each puff.
        const float billow = clamp01(holes - erosion + 0.3f - 0.004f * (p.y - centre.y));
        return Paint{distance, fireColour(temperature, t, billow)};
    });
    return finishSprite(canvas);
}

Image makeCellHealthBar() {
    // Uniform along x: the bar's width follows the cell's health.
    Canvas canvas = makeCanvas(gaugeSize, gaugeSize);
    paintShape(canvas, [&](Point p) {
        return Paint{std::fabs(p.y - 32.0f) - 8.0f, palette::outline};
    });
    paintShape(canvas, [&](Point p) {
        const float v = (p.y - 32.0f) / 5.5f;
        const float light = clamp01(0.8f - v * v - 0.4f * v);
        return Paint{std::fabs(p.y - 32.0f) - 5.5f,
                     ramp3(rgb(0x3a7a10), rgb(0x8ee03a), rgb(0xeaffb0), light)};
    });
    return finishSprite(canvas);
}

Image makeHealthGauge() {
    return makeTube(palette::bloodDark, rgb(0xf0243a), rgb(0xffb0a8));
}

Image makeDamageGauge() {
    return makeTube(rgb(0x7a3a00), rgb(0xffa020), rgb(0xfff0a0));
}
