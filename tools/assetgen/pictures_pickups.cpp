// What bursts out of a bubble: the cigarette (and its burnt butt), the oil drop, the syringe.
#include "paint_helpers.h"
#include "pictures.h"

namespace {

constexpr float pi = 3.14159265f;

// Coordinates along a stick lying at `degrees` through `centre`: x along it, y across it.
Point alongStick(Point p, Point centre, float degrees) {
    const Point r = rotatePoint(p, centre, -degrees);
    return Point{r.x - centre.x, r.y - centre.y};
}

} // namespace

Image makeCigarette(CigaretteLook look) {
    Canvas canvas = makeCanvas(160, 160);
    const Point centre{74.0f, 96.0f};
    const float angle = -35.0f;
    const bool burnt = look == CigaretteLook::burnt;
    const float halfLength = burnt ? 34.0f : 62.0f;
    const float halfWidth = 12.0f;
    const float filterEnd = -halfLength + 38.0f;
    const Point shift{burnt ? -18.0f : 0.0f, burnt ? 12.0f : 0.0f};
    const Point c{centre.x + shift.x, centre.y + shift.y};
    auto stick = [&](Point p) {
        const Point q = alongStick(p, c, angle);
        return boxDistance(q, Point{0, 0}, halfLength, halfWidth, 4.0f);
    };
    paintOutlined(canvas, 3.5f, palette::outline, stick, [&](Point p) {
        const Point q = alongStick(p, c, angle);
        const float across = q.y / halfWidth;
        const float round = clamp01(1.0f - across * across);
        const float light = clamp01(0.35f + 0.65f * round - 0.3f * across);
        if (q.x < filterEnd) {
            const float speck = fractalNoise(p.x / 3.0f, p.y / 3.0f, 2, 64, 64, 5);
            Colour filter = ramp3(rgb(0x8a3a08), rgb(0xe08a2a), rgb(0xffd08a), light);
            return scaleColour(filter, 0.85f + 0.3f * speck);
        }
        if (q.x < filterEnd + 3.0f) {
            return rgb(0xc8a040);
        }
        const float toEnd = halfLength - q.x;
        if (burnt) {
            const float soot = smoothStep(22.0f, 0.0f, toEnd);
            Colour paper = ramp3(rgb(0x6a6068), rgb(0xb8b0b4), rgb(0xe0d8dc), light);
            const float crumple = fractalNoise(q.x / 4.0f, q.y / 4.0f, 2, 64, 64, 8);
            paper = scaleColour(paper, 0.8f + 0.3f * crumple);
            return mixColours(paper, rgb(0x201818), soot);
        }
        if (toEnd < 10.0f) {
            // The glowing ember, under a fringe of grey ash.
            const float ember = fractalNoise(q.x / 3.0f, q.y / 3.0f, 2, 64, 64, 9);
            Colour glow =
                ramp3(rgb(0x9a1000), rgb(0xff4a10), rgb(0xffe060), ember * 0.7f + 0.3f * light);
            return toEnd < 3.0f ? rgb(0x8a8088) : glow;
        }
        return ramp3(rgb(0x9a94a4), rgb(0xf0eef2), rgb(0xffffff), light);
    });
    if (!burnt) {
        // Smoke curls rising from the tip.
        const float radians = angle * pi / 180.0f;
        const Point tip{c.x + std::cos(radians) * halfLength, c.y + std::sin(radians) * halfLength};
        for (int i = 0; i < 3; ++i) {
            const Point puff{tip.x + 4.0f + 5.0f * std::sin(i * 1.9f), tip.y - 14.0f - i * 10.0f};
            const float size = 5.0f + i * 1.2f;
            paintOutlined(
                canvas, 2.0f, rgb(0x4a3a50), [&](Point p) { return circleDistance(p, puff, size); },
                [&](Point p) {
                    return ramp3(rgb(0x8a7c98), rgb(0xc8c0d4), rgb(0xf4f0f8),
                                 sphereLight(p, puff, size + 2.0f));
                });
        }
    }
    return finishSprite(canvas);
}

Image makeOilDrop() {
    Canvas canvas = makeCanvas(128, 128);
    const Point centre{64.0f, 78.0f};
    const float radius = 36.0f;
    const Point top{64.0f, 10.0f};
    auto drop = [&](Point p) {
        // A round belly that narrows to a point above it.
        const Point axis{top.x - centre.x, top.y - centre.y};
        const Point rel{p.x - centre.x, p.y - centre.y};
        const float t =
            clamp01((rel.x * axis.x + rel.y * axis.y) / (axis.x * axis.x + axis.y * axis.y));
        const float r = radius * (1.0f - t) * (1.0f - 0.25f * t);
        const Point nearest{centre.x + axis.x * t, centre.y + axis.y * t};
        return std::min(circleDistance(p, centre, radius), circleDistance(p, nearest, r));
    };
    paintOutlined(canvas, 3.5f, rgb(0x1a0c02), drop, [&](Point p) {
        const float light = sphereLight(p, Point{centre.x, centre.y - 10.0f}, radius + 16.0f);
        Colour c = ramp3(rgb(0x5a2a00), rgb(0xd88a10), rgb(0xffe27a), 0.1f + 0.9f * light);
        // A thin film of rainbow colours near the edge, as oil shows.
        const float edge = clamp01(1.0f + drop(p) / 8.0f);
        const float hue = std::sin((p.x + p.y) * 0.12f);
        c = mixColours(c, hue > 0 ? rgb(0x9a3ad0) : rgb(0x20a0a0), 0.35f * edge);
        return c;
    });
    paintShape(canvas, [&](Point p) {
        return Paint{ellipseDistance(p, Point{centre.x - 13.0f, centre.y - 14.0f}, 7.0f, 11.0f),
                     rgb(0xfffbe8)};
    });
    paintShape(canvas, [&](Point p) {
        return Paint{circleDistance(p, Point{centre.x + 18.0f, centre.y + 16.0f}, 3.0f),
                     rgb(0xfff0c0)};
    });
    return finishSprite(canvas);
}

Image makeSyringe() {
    Canvas canvas = makeCanvas(160, 160);
    const Point centre{80.0f, 80.0f};
    const float angle = 40.0f; // needle to the lower right
    auto local = [&](Point p) { return alongStick(p, centre, angle); };
    // Needle.
    paintOutlined(
        canvas, 2.0f, palette::outline,
        [&](Point p) {
            return segmentDistance(local(p), Point{40.0f, 0.0f}, Point{74.0f, 0.0f}, 2.0f);
        },
        [&](Point p) { return local(p).y < 0.0f ? rgb(0xf4f8ff) : rgb(0x9aa4b8); });
    // Plunger rod and thumb rest.
    paintOutlined(
        canvas, 2.5f, palette::outline,
        [&](Point p) {
            const Point q = local(p);
            return std::min(boxDistance(q, Point{-52.0f, 0.0f}, 14.0f, 4.0f, 1.0f),
                            boxDistance(q, Point{-66.0f, 0.0f}, 3.5f, 15.0f, 2.0f));
        },
        [&](Point p) {
            return ramp3(rgb(0x30283a), rgb(0x6a6278), rgb(0xb0a8c0), 0.5f - local(p).y / 30.0f);
        });
    // Barrel with finger grips; the liquid fills its front part.
    paintOutlined(
        canvas, 3.0f, palette::outline,
        [&](Point p) {
            const Point q = local(p);
            return std::min(boxDistance(q, Point{0.0f, 0.0f}, 38.0f, 13.0f, 4.0f),
                            boxDistance(q, Point{-36.0f, 0.0f}, 3.0f, 21.0f, 2.0f));
        },
        [&](Point p) {
            const Point q = local(p);
            const float across = q.y / 13.0f;
            const float light = clamp01(0.5f - 0.5f * across);
            const bool liquid = q.x > -12.0f && q.x < 36.0f && std::fabs(q.y) < 10.0f;
            if (std::fabs(q.x + 36.0f) <= 3.0f) {
                return rgb(0xc8d0e0);
            }
            if (liquid) {
                const Colour c = ramp3(rgb(0x0a6a4a), rgb(0x2ad08a), rgb(0xb0ffd8), light);
                const bool mark = std::fmod(q.x + 60.0f, 12.0f) < 2.0f && q.y < -3.0f;
                return mark ? rgb(0x064030) : c;
            }
            if (q.x > -34.0f && q.x < -12.0f && std::fabs(q.y) < 10.0f) {
                return rgb(0x3a3448); // the plunger's rubber seal inside
            }
            return ramp3(rgb(0x8aa0b8), rgb(0xdce8f4), rgb(0xffffff), light);
        });
    // A glint along the barrel.
    paintShape(canvas, [&](Point p) {
        return Paint{segmentDistance(local(p), Point{-8.0f, -8.5f}, Point{30.0f, -8.5f}, 1.6f),
                     rgb(0xffffff)};
    });
    return finishSprite(canvas);
}
