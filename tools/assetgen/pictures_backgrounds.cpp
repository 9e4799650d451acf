// The inside of the blood vessel: the static picture behind play, the flowing layer that scrolls
// over it, and the menu's title screen.
#include "paint_helpers.h"
#include "pictures.h"

#include <array>

namespace {

constexpr int backgroundWidth = 1024;
constexpr int backgroundHeight = 768;
// The flowing layer repeats every 767 rows, and row 767 repeats row 0: the game draws a second
// copy straight above the first, so the picture's top and bottom rows meet.
constexpr int flowPeriod = backgroundHeight - 1;
constexpr float pi = 3.14159265f;

struct VesselTint {
    Colour deep;
    Colour lumen;
    Colour wallDark;
    Colour wall;
    Colour wallLight;
    std::uint32_t seed;
};

// The vessel seen from inside: a dark lumen down the middle, folded walls on both sides that
// catch the light, veins running through them.
void paintVessel(Canvas& canvas, const VesselTint& tint) {
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const float u = (x + 0.5f) / canvas.width * 2.0f - 1.0f;
            const float v = (y + 0.5f) / canvas.height;
            const float wobble = fractalNoise(v * 6.0f, u * 2.0f, 3, 64, 64, tint.seed);
            const float side = std::fabs(u) + 0.14f * (wobble - 0.5f);
            const float wallness = smoothStep(0.5f, 0.92f, side);
            // Lumen: darkest in the middle distance, with faint streaks of flow.
            const float streak = fractalNoise(x / 26.0f, y / 160.0f, 4, 64, 64, tint.seed + 10);
            Colour lumen = mixColours(tint.deep, tint.lumen,
                                      0.35f + 0.5f * std::fabs(u) + 0.35f * (streak - 0.5f));
            // Wall: ring-shaped folds, a cell-like mottle and dark veins.
            const float fold =
                0.5f + 0.5f * std::sin(v * 2.0f * pi * 7.0f + wobble * 6.0f + std::fabs(u) * 3.0f);
            const float mottle = fractalNoise(x / 11.0f, y / 11.0f, 3, 128, 128, tint.seed + 20);
            const float veinNoise = fractalNoise(x / 90.0f, y / 90.0f, 4, 64, 64, tint.seed + 30);
            const float vein = smoothStep(0.035f, 0.0f, std::fabs(veinNoise - 0.5f));
            Colour wall = ramp3(tint.wallDark, tint.wall, tint.wallLight,
                                0.2f + 0.55f * fold * wallness + 0.25f * mottle);
            wall = mixColours(wall, rgb(0x2a0636), 0.65f * vein);
            Colour c = mixColours(lumen, wall, wallness);
            // The far walls fade into the dark towards the middle of the picture.
            c = scaleColour(c, 0.82f + 0.18f * std::fabs(u));
            canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x] = c;
        }
    }
}

const VesselTint gameTint{rgb(0x16030c), rgb(0x4c0c22), rgb(0x3a0a2c),
                          rgb(0x8c1c40), rgb(0xd05474), 300};
const VesselTint menuTint{rgb(0x12030e), rgb(0x3a0a2e), rgb(0x2c0a30),
                          rgb(0x6c1a52), rgb(0xb04c86), 400};

// Paints a shape twice when it crosses the period, so the flowing layer wraps without a seam.
template <class Shape>
void paintWrapped(Canvas& canvas, float x0, float y0, float x1, float y1, Shape&& shape) {
    for (int copy = -1; copy <= 1; ++copy) {
        const float offset = static_cast<float>(copy * flowPeriod);
        if (y1 + offset < 0.0f || y0 + offset > canvas.height) {
            continue;
        }
        paintShape(canvas, x0, y0 + offset, x1, y1 + offset, [&](Point p) {
            return shape(Point{p.x, p.y - offset});
        });
    }
}

void paintWallRidges(Canvas& canvas, Random& random) {
    // Folds of the wall sliding past on both sides.
    for (int side = 0; side < 2; ++side) {
        float y = randomRange(random, 0.0f, 40.0f);
        while (y < flowPeriod - 30.0f) {
            const float reach = randomRange(random, 80.0f, 140.0f);
            const float thickness = randomRange(random, 12.0f, 20.0f);
            const float sag = randomRange(random, 10.0f, 22.0f);
            const float edge = side == 0 ? -10.0f : backgroundWidth + 10.0f;
            const float inward = side == 0 ? 1.0f : -1.0f;
            const float yy = y;
            // A fold: a long ellipse from the wall, bent downstream towards its tip.
            auto ridge = [=](Point p) {
                const float along = clamp01((p.x - edge) * inward / reach);
                const Point bent{p.x, p.y - sag * along * along};
                return ellipseDistance(bent, Point{edge, yy}, reach, thickness);
            };
            const float x0 = side == 0 ? 0.0f : backgroundWidth - reach - 12.0f;
            const float x1 = side == 0 ? reach + 12.0f : static_cast<float>(backgroundWidth);
            paintWrapped(canvas, x0, yy - thickness - 4, x1, yy + thickness + sag + 4,
                         [&](Point p) {
                             return Paint{ridge(p) - 2.5f, rgb(0x2a0618)};
                         });
            paintWrapped(
                canvas, x0, yy - thickness - 4, x1, yy + thickness + sag + 4, [&](Point p) {
                    const float along = clamp01((p.x - edge) * inward / reach);
                    const float centreY = yy + sag * along * along;
                    const float across = (p.y - centreY) / thickness;
                    const float light = clamp01(0.7f - 0.55f * across - 0.25f * along);
                    return Paint{ridge(p),
                                 ramp3(rgb(0x6a1438), rgb(0xb83a62), rgb(0xf08aa0), light)};
                });
            y += randomRange(random, 95.0f, 170.0f);
        }
    }
}

void paintPlasma(Canvas& canvas, Random& random) {
    // Streaks of plasma flowing down the middle.
    for (int i = 0; i < 22; ++i) {
        const float x = randomRange(random, 150.0f, backgroundWidth - 150.0f);
        const float y = randomRange(random, 0.0f, static_cast<float>(flowPeriod));
        const float length = randomRange(random, 24.0f, 70.0f);
        const float width = randomRange(random, 1.5f, 3.2f);
        const Colour colour = mixColours(rgb(0x9a2a4a), palette::plasma, randomUnit(random));
        const Point a{x, y};
        const Point b{x + randomRange(random, -6.0f, 6.0f), y + length};
        paintWrapped(canvas, x - 12, y - 6, x + 12, y + length + 6, [&](Point p) {
            return Paint{segmentDistance(p, a, b, width), colour};
        });
    }
    // Platelets: small pale irregular flakes.
    for (int i = 0; i < 46; ++i) {
        const Point c{randomRange(random, 140.0f, backgroundWidth - 140.0f),
                      randomRange(random, 0.0f, static_cast<float>(flowPeriod))};
        const float size = randomRange(random, 4.0f, 8.5f);
        const float phase = randomRange(random, 0.0f, 6.0f);
        const float stretch = randomRange(random, 0.6f, 1.0f);
        paintWrapped(canvas, c.x - 14, c.y - 14, c.x + 14, c.y + 14, [&](Point p) {
            const float angle = std::atan2(p.y - c.y, p.x - c.x);
            const float r = size * (1.0f + 0.2f * std::sin(3.0f * angle + phase));
            const float d = ellipseDistance(p, c, r, r * stretch);
            const float light = sphereLight(p, c, size * 1.3f);
            return Paint{d, ramp3(rgb(0x9a5a60), rgb(0xe8b494), rgb(0xfff0d8), light)};
        });
    }
    // Far-off red cells, dim and small, for depth.
    for (int i = 0; i < 16; ++i) {
        const Point c{randomRange(random, 160.0f, backgroundWidth - 160.0f),
                      randomRange(random, 0.0f, static_cast<float>(flowPeriod))};
        const float size = randomRange(random, 8.0f, 13.0f);
        paintWrapped(canvas, c.x - 16, c.y - 16, c.x + 16, c.y + 16, [&](Point p) {
            const float r = length(Point{p.x - c.x, p.y - c.y}) / size;
            const float rim = std::exp(-std::pow((r - 0.65f) / 0.3f, 2.0f));
            return Paint{circleDistance(p, c, size), mixColours(rgb(0x5a0a1a), rgb(0xa02232), rim)};
        });
    }
}

// The word "Hemorune" in blood: dark outline, glossy red fill and drips below the letters.
void paintTitle(Canvas& canvas, const FontFace& font) {
    const char* title = "Hemorune";
    const int size = fitTextSize(font, title, 760.0f, 96.0f, 170);
    const TextMask text = renderText(font, title, size);
    const InkBox ink = inkBounds(text);
    const int left = static_cast<int>(std::lround(512.0f - (ink.left + ink.right) * 0.5f));
    const int top = static_cast<int>(std::lround(72.0f - (ink.top + ink.bottom) * 0.5f));
    const float inkTop = static_cast<float>(top + ink.top);
    const float inkBottom = static_cast<float>(top + ink.bottom);
    // Drips hang from columns where the letters end on the baseline.
    Random random{0x7e3a};
    std::vector<Point> drips;
    const int baselineRow = text.baseline - 2;
    for (int x = ink.left; x < ink.right; x += 3) {
        if (text.coverage[static_cast<std::size_t>(baselineRow) * text.width + x] > 0.9f &&
            randomInt(random, 9) == 0) {
            drips.push_back(Point{static_cast<float>(left + x), randomRange(random, 14.0f, 46.0f)});
            x += 28;
        }
    }
    const float baseline = static_cast<float>(top + text.baseline);
    auto dripDistance = [&](Point p) {
        float d = 1e9f;
        for (const Point& drip : drips) {
            const Point a{drip.x, baseline - 6.0f};
            const Point b{drip.x, baseline + drip.y};
            d = std::min(d, segmentDistance(p, a, b, 3.5f));
            d = std::min(d, circleDistance(p, Point{b.x, b.y + 3.0f}, 6.5f));
        }
        return d;
    };
    auto blood = [&](Point p) {
        const float v = clamp01((p.y - inkTop) / (inkBottom - inkTop));
        Colour c = ramp3(rgb(0x6a0010), rgb(0xd01424), rgb(0xff5a4a), 1.0f - v);
        if (v > 0.12f && v < 0.24f) {
            c = mixColours(c, rgb(0xffc0b0), 0.55f);
        }
        return c;
    };
    const TextMask glow = dilateMask(text, 14.0f);
    paintMask(canvas, glow, left - 15, top - 15,
              [&](Point) { return withAlpha(rgb(0xff2040), 0.25f); });
    const TextMask outline = dilateMask(text, 6.0f);
    paintMask(canvas, outline, left - 7, top - 7, [&](Point) { return rgb(0x120208); });
    paintShape(canvas, 0, baseline - 10, static_cast<float>(canvas.width), baseline + 70,
               [&](Point p) {
                   return Paint{dripDistance(p) - 4.0f, rgb(0x120208)};
               });
    paintShape(canvas, 0, baseline - 10, static_cast<float>(canvas.width), baseline + 70,
               [&](Point p) {
                   return Paint{dripDistance(p), blood(Point{p.x, inkBottom - 4.0f})};
               });
    paintMask(canvas, text, left, top, blood);
}

// A pale, softly lit patch of the wall where the settings screen writes the player's name in
// black; elsewhere it passes for light on the membrane.
void paintNamePlate(Canvas& canvas) {
    const Point centre{775.0f, 640.0f};
    const float radiusX = 330.0f;
    const float radiusY = 42.0f;
    for (int y = 560; y < 720; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Point p{x + 0.5f, y + 0.5f};
            // A flattened ellipse (a superellipse) whose edge wavers like the wall around it.
            const float dx = std::fabs(p.x - centre.x) / radiusX;
            const float dy = std::fabs(p.y - centre.y) / radiusY;
            const float wobble = fractalNoise(p.x / 40.0f, p.y / 40.0f, 2, 64, 64, 78) - 0.5f;
            const float d =
                (std::pow(std::pow(dx, 4.0f) + std::pow(dy, 4.0f), 0.25f) - 1.0f) * radiusY +
                14.0f * wobble;
            const float strength = smoothStep(26.0f, -6.0f, d);
            if (strength <= 0.0f) {
                continue;
            }
            const float grain = fractalNoise(p.x / 12.0f, p.y / 12.0f, 3, 128, 128, 77);
            const Colour light = mixColours(rgb(0xe8a8c0), rgb(0xfbe0ea), grain);
            blendPixel(canvas, x, y, light, strength);
        }
    }
}

} // namespace

Image makeVesselBackground() {
    Canvas canvas = makeCanvas(backgroundWidth, backgroundHeight);
    paintVessel(canvas, gameTint);
    return finishOpaque(canvas);
}

Image makeFlowLayer() {
    Canvas canvas = makeCanvas(backgroundWidth, backgroundHeight);
    Random random{0xb100d};
    paintWallRidges(canvas, random);
    paintPlasma(canvas, random);
    Image image = finishSprite(canvas);
    // The bled colours of clear pixels are not periodic; make the last row the first exactly.
    const std::size_t stride = static_cast<std::size_t>(backgroundWidth) * 4;
    std::copy(image.rgba.begin(), image.rgba.begin() + static_cast<std::ptrdiff_t>(stride),
              image.rgba.end() - static_cast<std::ptrdiff_t>(stride));
    return image;
}

Image makeMenuBackground(const FontFace& font) {
    Canvas canvas = makeCanvas(backgroundWidth, backgroundHeight);
    paintVessel(canvas, menuTint);
    paintTitle(canvas, font);
    paintNamePlate(canvas);
    return finishOpaque(canvas);
}
