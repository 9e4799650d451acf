// The cells of the blood stream: white cells (alive, dead, revived, and the two halves of a split
// one), the red cell and the bubble.
#include "paint_helpers.h"
#include "pictures.h"

#include <array>

namespace {

constexpr int cellSize = 160;
constexpr Point cellCentre{80.0f, 80.0f};
constexpr float pi = 3.14159265f;

// A lumpy round outline: the radius wobbles with a few slow waves.
float lumpyDistance(Point p, Point centre, float radius, float squash, float phase) {
    const float dx = p.x - centre.x;
    const float dy = (p.y - centre.y) / squash;
    const float angle = std::atan2(dy, dx);
    const float wobble = 1.0f + 0.055f * std::sin(5.0f * angle + phase) +
                         0.035f * std::sin(9.0f * angle + 2.0f * phase) +
                         0.02f * std::sin(13.0f * angle);
    return (std::sqrt(dx * dx + dy * dy) - radius * wobble) * std::min(1.0f, squash + 0.15f);
}

struct CellColours {
    Colour shadow;
    Colour body;
    Colour light;
    Colour nucleusDark;
    Colour nucleus;
    Colour granule;
};

CellColours coloursFor(WhiteCellLook look) {
    switch (look) {
    case WhiteCellLook::dead:
        return {rgb(0x5c4a58), rgb(0x9c8a92), rgb(0xc8bcc0),
                rgb(0x2a1e28), rgb(0x4a3a48), rgb(0x6e5c68)};
    case WhiteCellLook::revived:
        return {rgb(0x5e7a2e), rgb(0xbcd47a), rgb(0xf0ffc0),
                rgb(0x6a0010), rgb(0xff2a2a), rgb(0x7a9a3a)};
    default:
        return {palette::whiteCellShadow, rgb(0xe4d6ee), palette::whiteCell, rgb(0x3a0c52),
                palette::nucleus,         rgb(0xc2a6dc)};
    }
}

// The lobes of the nucleus (a neutrophil's), strung together as one blobby distance.
float nucleusDistance(Point p, Point centre, float scale) {
    struct Lobe {
        Point offset;
        float radius;
    };
    const std::array<Lobe, 4> lobes = {{{{-22.0f, 6.0f}, 10.0f},
                                        {{-7.0f, -6.0f}, 12.5f},
                                        {{10.0f, 2.0f}, 11.5f},
                                        {{22.0f, -11.0f}, 9.0f}}};
    float d = 1e9f;
    for (const Lobe& lobe : lobes) {
        const float di = circleDistance(
            p, Point{centre.x + lobe.offset.x * scale, centre.y + lobe.offset.y * scale},
            lobe.radius * scale);
        // Smooth union, so the lobes join by bridges.
        const float k = 6.0f * scale;
        const float h = clamp01(0.5f + 0.5f * (di - d) / k);
        d = di + (d - di) * h - k * h * (1.0f - h);
    }
    return d;
}

void paintWhiteCell(Canvas& canvas, WhiteCellLook look) {
    const CellColours colours = coloursFor(look);
    const bool dead = look == WhiteCellLook::dead;
    const float squash = dead ? 0.8f : 1.0f;
    const float radius = dead ? 66.0f : 64.0f;
    auto body = [&](Point p) {
        return lumpyDistance(p, cellCentre, radius, squash, dead ? 2.1f : 0.7f);
    };
    paintOutlined(canvas, 4.0f, palette::outline, body, [&](Point p) {
        const float light = sphereLight(p, cellCentre, radius * 1.08f);
        const float grain = fractalNoise(p.x / 9.0f, p.y / 9.0f, 3, 64, 64, dead ? 41 : 29);
        Colour c = ramp3(colours.shadow, colours.body, colours.light, 0.2f + 0.8f * light);
        c = scaleColour(c, 0.92f + 0.16f * grain);
        return c;
    });
    // Granules scattered through the cytoplasm.
    Random random{static_cast<std::uint64_t>(look == WhiteCellLook::revived ? 77 : 55)};
    for (int i = 0; i < 26; ++i) {
        const float angle = randomRange(random, 0.0f, 2.0f * pi);
        const float distance = randomRange(random, 32.0f, 54.0f);
        const Point g{cellCentre.x + std::cos(angle) * distance,
                      cellCentre.y + std::sin(angle) * distance * squash};
        const float size = randomRange(random, 2.0f, 3.6f);
        paintShape(canvas, g.x - 5, g.y - 5, g.x + 5, g.y + 5, [&](Point p) {
            return Paint{circleDistance(p, g, size), colours.granule};
        });
    }
    if (dead) {
        // The nucleus has fallen apart into dark crumbs.
        for (int i = 0; i < 7; ++i) {
            const float angle = randomRange(random, 0.0f, 2.0f * pi);
            const float distance = randomRange(random, 0.0f, 26.0f);
            const Point c{cellCentre.x + std::cos(angle) * distance,
                          cellCentre.y + std::sin(angle) * distance * 0.8f};
            const float size = randomRange(random, 4.0f, 8.0f);
            paintShape(canvas, [&](Point p) {
                return Paint{circleDistance(p, c, size), colours.nucleus};
            });
        }
        return;
    }
    auto nucleus = [&](Point p) {
        return nucleusDistance(p, Point{cellCentre.x, cellCentre.y + 2.0f}, 1.0f);
    };
    paintOutlined(canvas, 2.5f, colours.nucleusDark, nucleus, [&](Point p) {
        const float light = sphereLight(p, Point{cellCentre.x - 4.0f, cellCentre.y - 2.0f}, 40.0f);
        Colour c = ramp3(colours.nucleusDark, colours.nucleus,
                         mixColours(colours.nucleus, rgb(0xffffff), 0.5f), 0.25f + 0.75f * light);
        if (look == WhiteCellLook::revived) {
            // A hot glowing core: the revived cell is plainly something else.
            const float core = clamp01(-nucleus(p) / 8.0f);
            c = mixColours(c, rgb(0xffd040), 0.7f * core);
        }
        return c;
    });
}

// The jagged line along which a split cell comes apart (x as a function of y).
float splitLine(float y) {
    return cellCentre.x + 6.0f * std::sin(y * 0.21f) + 4.0f * std::sin(y * 0.57f + 1.0f);
}

Image makeHalf(bool left) {
    Canvas whole = makeCanvas(cellSize, cellSize);
    paintWhiteCell(whole, WhiteCellLook::alive);
    Canvas half = makeCanvas(cellSize, cellSize);
    for (int y = 0; y < cellSize; ++y) {
        for (int x = 0; x < cellSize; ++x) {
            const float offset = (x + 0.5f) - splitLine(y + 0.5f);
            const float inside = left ? -offset : offset;
            const float coverage = clamp01(inside + 0.5f);
            const Colour& src = whole.pixels[static_cast<std::size_t>(y) * cellSize + x];
            if (src.a <= 0.0f || coverage <= 0.0f) {
                continue;
            }
            Colour straight{src.r / src.a, src.g / src.a, src.b / src.a, 1.0f};
            // A raw red wound along the cut, darker right at the edge.
            if (inside < 7.0f && src.a > 0.5f) {
                straight = mixColours(rgb(0xc01838), straight, clamp01((inside - 2.0f) / 5.0f));
                if (inside < 2.5f) {
                    straight = rgb(0x5a0818);
                }
            }
            blendPixel(half, x, y, straight, coverage * src.a);
        }
    }
    return finishSprite(half);
}

} // namespace

Image makeWhiteCell(WhiteCellLook look) {
    if (look == WhiteCellLook::leftHalf || look == WhiteCellLook::rightHalf) {
        return makeHalf(look == WhiteCellLook::leftHalf);
    }
    Canvas canvas = makeCanvas(cellSize, cellSize);
    paintWhiteCell(canvas, look);
    return finishSprite(canvas);
}

Image makeRedCell() {
    Canvas canvas = makeCanvas(cellSize, cellSize);
    const float radiusX = 64.0f;
    const float radiusY = 58.0f;
    auto disc = [&](Point p) { return ellipseDistance(p, cellCentre, radiusX, radiusY); };
    paintOutlined(canvas, 4.0f, rgb(0x2a0408), disc, [&](Point p) {
        // A biconcave disc: a thick bright rim (a torus) around a sunken, paler middle.
        const float dx = (p.x - cellCentre.x) / radiusX;
        const float dy = (p.y - cellCentre.y) / radiusY;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float height = std::exp(-std::pow((r - 0.68f) / 0.26f, 2.0f)) - 0.25f * (1.0f - r);
        // Slope of the height towards the light (upper left) gives the shading.
        const float slope =
            -(r - 0.68f) / 0.26f * (r > 1e-3f ? (dx * -0.6f + dy * -0.7f) / r : 0.0f);
        const float light = clamp01(0.45f + 0.55f * height * 0.6f + 0.35f * slope * height);
        Colour c = ramp3(palette::bloodDark, palette::blood, palette::bloodLight, light);
        const float dimple = smoothStep(0.45f, 0.0f, r);
        c = mixColours(c, rgb(0xb01a2a), 0.5f * dimple);
        const float gloss = std::pow(clamp01(1.0f - std::fabs(r - 0.62f) / 0.08f), 2.0f) *
                            clamp01(-(dx + dy) * 1.2f);
        return mixColours(c, rgb(0xffd8c8), 0.8f * gloss);
    });
    return finishSprite(canvas);
}

Image makeBubble() {
    Canvas canvas = makeCanvas(96, 96);
    const Point centre{48.0f, 48.0f};
    const float radius = 40.0f;
    // Only the film shows: the inside is left clear, so the vessel is seen through the bubble.
    auto ring = [&](Point p) { return std::fabs(circleDistance(p, centre, radius - 4.0f)) - 4.5f; };
    paintOutlined(canvas, 2.0f, rgb(0x2a1440), ring, [&](Point p) {
        const float angle = std::atan2(p.y - centre.y, p.x - centre.x);
        const Colour a = rgb(0xbfe8ff);
        const Colour b = rgb(0xf6b6ff);
        const Colour c = rgb(0xfff2b0);
        const float t = 0.5f + 0.5f * std::sin(angle * 2.0f);
        Colour film = t < 0.5f ? mixColours(a, b, t * 2.0f) : mixColours(b, c, t * 2.0f - 1.0f);
        const float light = clamp01(0.55f - 0.45f * std::sin(angle + 2.4f));
        return scaleColour(film, 0.65f + 0.45f * light);
    });
    // Window-shaped gloss on the upper left.
    paintShape(canvas, [&](Point p) {
        const float d = std::max(std::fabs(circleDistance(p, centre, radius - 13.0f)) - 3.5f,
                                 -(std::atan2(p.y - centre.y, p.x - centre.x) + 2.9f) * 40.0f);
        return Paint{std::max(d, (std::atan2(p.y - centre.y, p.x - centre.x) + 1.75f) * 40.0f),
                     rgb(0xffffff)};
    });
    paintShape(canvas, [&](Point p) {
        return Paint{circleDistance(p, Point{centre.x + 18.0f, centre.y + 20.0f}, 3.5f),
                     rgb(0xffffff)};
    });
    return finishSprite(canvas);
}
