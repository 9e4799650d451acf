#include "paint_helpers.h"

namespace {

// Light from the upper left and towards the viewer (normalised).
constexpr float lightX = -0.48f;
constexpr float lightY = -0.58f;
constexpr float lightZ = 0.66f;

} // namespace

float sphereLight(Point p, Point centre, float radius) {
    const float nx = (p.x - centre.x) / radius;
    const float ny = (p.y - centre.y) / radius;
    const float rr = nx * nx + ny * ny;
    if (rr >= 1.0f) {
        return 0.0f;
    }
    const float nz = std::sqrt(1.0f - rr);
    return clamp01(nx * lightX + ny * lightY + nz * lightZ);
}

float sphereGloss(Point p, Point centre, float radius, float sharpness) {
    return std::pow(sphereLight(p, centre, radius), sharpness);
}

Colour ramp3(Colour dark, Colour mid, Colour light, float t) {
    t = clamp01(t);
    if (t < 0.5f) {
        return mixColours(dark, mid, t * 2.0f);
    }
    return mixColours(mid, light, (t - 0.5f) * 2.0f);
}

Colour desaturate(Colour c, float amount) {
    const float grey = 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
    return mixColours(c, Colour{grey, grey, grey, c.a}, amount);
}
