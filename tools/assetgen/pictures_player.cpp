// The player's virus in its four looks, its bullet and the bullet's impact flash.
#include "paint_helpers.h"
#include "pictures.h"

#include <array>

namespace {

constexpr int virusSize = 256;
constexpr Point virusCentre{128.0f, 148.0f};
constexpr float bodyRadius = 62.0f;
constexpr float pi = 3.14159265f;

// A star of `rays` points: its radius swings between inner and outer around the circle.
float starDistance(Point p, Point centre, int rays, float inner, float outer, float turn) {
    const float dx = p.x - centre.x;
    const float dy = p.y - centre.y;
    const float angle = std::atan2(dy, dx) + turn;
    const float wave = std::pow(std::fabs(std::cos(angle * rays * 0.5f)), 3.0f);
    return std::sqrt(dx * dx + dy * dy) - (inner + (outer - inner) * wave);
}

Colour virusColour(Colour c, bool dying) {
    if (!dying) {
        return c;
    }
    Colour grey = desaturate(c, 0.85f);
    return mixColours(scaleColour(grey, 0.8f), rgb(0x5a4a66), 0.25f);
}

void paintSpikes(Canvas& canvas, bool dying) {
    for (int i = 1; i < 12; ++i) {
        float degrees = i * 30.0f;
        float reach = 34.0f;
        if (dying) {
            // The spikes wilt towards the bottom.
            degrees += (degrees < 180.0f ? 1.0f : -1.0f) * 18.0f * std::sin(degrees * pi / 180.0f);
            reach = 22.0f + 4.0f * (i % 3);
        }
        const float radians = degrees * pi / 180.0f;
        const Point direction{std::sin(radians), -std::cos(radians)};
        const Point base{virusCentre.x + direction.x * (bodyRadius - 8.0f),
                         virusCentre.y + direction.y * (bodyRadius - 8.0f)};
        const Point tip{virusCentre.x + direction.x * (bodyRadius + reach),
                        virusCentre.y + direction.y * (bodyRadius + reach)};
        paintOutlined(
            canvas, 3.0f, palette::outline,
            [&](Point p) { return segmentDistance(p, base, tip, 4.5f); },
            [&](Point) { return virusColour(rgb(0x3f8a1c), dying); });
        const float knob = dying ? 7.0f : 9.5f;
        paintOutlined(
            canvas, 3.0f, palette::outline, [&](Point p) { return circleDistance(p, tip, knob); },
            [&](Point p) {
                const float light = sphereLight(p, Point{tip.x - 2.0f, tip.y - 2.0f}, knob + 2.0f);
                return virusColour(ramp3(rgb(0x9a7a10), rgb(0xf4e03a), rgb(0xfffbd0), light),
                                   dying);
            });
    }
}

void paintNozzle(Canvas& canvas, bool dying) {
    const Point centre{virusCentre.x, virusCentre.y - bodyRadius - 6.0f};
    paintOutlined(
        canvas, 3.0f, palette::outline,
        [&](Point p) { return boxDistance(p, centre, 13.0f, 24.0f, 6.0f); },
        [&](Point p) {
            const float across = (p.x - centre.x) / 13.0f;
            const float light = clamp01(0.75f - 0.6f * across * across - 0.3f * across);
            return virusColour(ramp3(palette::virusDark, rgb(0x4fa82a), rgb(0xb8f060), light),
                               dying);
        });
    const Point rim{centre.x, centre.y - 22.0f};
    paintOutlined(
        canvas, 3.0f, palette::outline,
        [&](Point p) { return boxDistance(p, rim, 17.0f, 6.0f, 4.0f); },
        [&](Point p) {
            const float light = clamp01(0.7f - 0.04f * (p.x - rim.x));
            return virusColour(ramp3(rgb(0x6a1a5a), rgb(0xb03a9a), rgb(0xf08ae0), light), dying);
        });
}

void paintBody(Canvas& canvas, bool dying) {
    paintOutlined(
        canvas, 4.0f, palette::outline,
        [&](Point p) { return circleDistance(p, virusCentre, bodyRadius); },
        [&](Point p) {
            const float light = sphereLight(p, virusCentre, bodyRadius);
            const float spots = fractalNoise(p.x / 14.0f, p.y / 14.0f, 3, 64, 64, 17);
            Colour c = ramp3(palette::virusDark, palette::virus, palette::virusLight,
                             0.15f + 0.85f * light);
            // Darker capsid patches, and a rim of purple where the body turns away.
            c = scaleColour(c, 0.8f + 0.4f * smoothStep(0.35f, 0.65f, spots));
            c = mixColours(c, rgb(0x6a1a6a), 0.5f * smoothStep(0.25f, 0.0f, light));
            const float gloss = sphereGloss(p, virusCentre, bodyRadius, 24.0f);
            c = mixColours(c, rgb(0xffffff), 0.8f * gloss);
            return virusColour(c, dying);
        });
}

void paintFace(Canvas& canvas, bool dying) {
    for (int side = -1; side <= 1; side += 2) {
        const Point eye{virusCentre.x + side * 23.0f, virusCentre.y - 6.0f};
        if (dying) {
            for (int stroke = -1; stroke <= 1; stroke += 2) {
                const Point a{eye.x - 10.0f, eye.y - 10.0f * stroke};
                const Point b{eye.x + 10.0f, eye.y + 10.0f * stroke};
                paintShape(canvas, [&](Point p) {
                    return Paint{segmentDistance(p, a, b, 3.5f), rgb(0x1c1420)};
                });
            }
            continue;
        }
        paintOutlined(
            canvas, 3.0f, palette::outline,
            [&](Point p) { return ellipseDistance(p, eye, 14.0f, 16.0f); },
            [&](Point p) {
                return mixColours(rgb(0xfff8d8), rgb(0xd8c890), clamp01((p.y - eye.y) / 20.0f));
            });
        const Point pupil{eye.x - side * 3.0f, eye.y - 5.0f};
        paintShape(canvas, [&](Point p) {
            return Paint{circleDistance(p, pupil, 7.0f), rgb(0x200810)};
        });
        paintShape(canvas, [&](Point p) {
            return Paint{circleDistance(p, Point{pupil.x - 2.5f, pupil.y - 2.5f}, 2.2f),
                         rgb(0xffffff)};
        });
        // Angry brows slanting down to the middle.
        const Point outer{eye.x + side * 18.0f, eye.y - 24.0f};
        const Point inner{eye.x - side * 8.0f, eye.y - 14.0f};
        paintShape(canvas, [&](Point p) {
            return Paint{segmentDistance(p, outer, inner, 4.5f), rgb(0x1a3a08)};
        });
    }
    const Point mouth{virusCentre.x, virusCentre.y + 22.0f};
    if (dying) {
        const std::array<Point, 5> wave = {
            Point{mouth.x - 20, mouth.y}, Point{mouth.x - 10, mouth.y - 6}, Point{mouth.x, mouth.y},
            Point{mouth.x + 10, mouth.y - 6}, Point{mouth.x + 20, mouth.y}};
        for (std::size_t i = 0; i + 1 < wave.size(); ++i) {
            paintShape(canvas, [&](Point p) {
                return Paint{segmentDistance(p, wave[i], wave[i + 1], 3.0f), rgb(0x1c1420)};
            });
        }
        return;
    }
    // A wide grin: the lower half of an ellipse, with a row of teeth.
    auto grin = [&](Point p) {
        return std::max(ellipseDistance(p, mouth, 24.0f, 15.0f), mouth.y - 2.0f - p.y);
    };
    paintOutlined(canvas, 2.5f, palette::outline, grin, [&](Point) { return rgb(0x4a0814); });
    paintShape(canvas, [&](Point p) {
        const float teeth = std::max(grin(p) + 1.0f, p.y - (mouth.y + 5.0f));
        return Paint{teeth, rgb(0xfff4e0)};
    });
}

void paintMuzzleFlash(Canvas& canvas, VirusLook look) {
    const bool big = look == VirusLook::firingA;
    const Point centre{virusCentre.x, big ? 30.0f : 34.0f};
    const int rays = big ? 8 : 6;
    const float outer = big ? 29.0f : 22.0f;
    const float turn = big ? 0.0f : pi / 6.0f;
    auto star = [&](float scale) {
        return [&, scale](Point p) {
            return starDistance(p, centre, rays, outer * 0.42f * scale, outer * scale, turn);
        };
    };
    paintShape(canvas, [&](Point p) { return Paint{star(1.0f)(p), palette::flashOrange}; });
    paintShape(canvas, [&](Point p) { return Paint{star(0.78f)(p), palette::flashYellow}; });
    paintShape(canvas, [&](Point p) { return Paint{star(0.5f)(p), palette::flashWhite}; });
    if (!big) {
        // Side sparks, so the two firing looks flicker against each other.
        for (int side = -1; side <= 1; side += 2) {
            const Point a{centre.x + side * 20.0f, centre.y + 4.0f};
            const Point b{centre.x + side * 34.0f, centre.y - 6.0f};
            paintShape(canvas, [&](Point p) {
                return Paint{segmentDistance(p, a, b, 2.5f), palette::flashYellow};
            });
        }
    }
}

} // namespace

Image makeVirus(VirusLook look) {
    Canvas canvas = makeCanvas(virusSize, virusSize);
    const bool dying = look == VirusLook::dying;
    paintSpikes(canvas, dying);
    paintNozzle(canvas, dying);
    paintBody(canvas, dying);
    paintFace(canvas, dying);
    if (look == VirusLook::firingA || look == VirusLook::firingB) {
        paintMuzzleFlash(canvas, look);
    }
    return finishSprite(canvas);
}

Image makeBullet() {
    Canvas canvas = makeCanvas(32, 32);
    const Point centre{16.0f, 16.0f};
    paintShape(canvas, [&](Point p) {
        return Paint{circleDistance(p, centre, 12.5f), rgb(0x3a8a10)};
    });
    paintShape(canvas, [&](Point p) {
        const float t = 1.0f - length(Point{p.x - centre.x, p.y - centre.y}) / 10.5f;
        return Paint{circleDistance(p, centre, 10.5f),
                     ramp3(palette::virus, palette::virusLight, rgb(0xffffff), t * 1.4f)};
    });
    return finishSprite(canvas);
}

Image makeImpactFlash(int frame) {
    Canvas canvas = makeCanvas(32, 32);
    const Point centre{16.0f, 16.0f};
    if (frame == 1) {
        paintShape(canvas, [&](Point p) {
            return Paint{starDistance(p, centre, 8, 5.0f, 14.5f, 0.0f), palette::flashYellow};
        });
        paintShape(canvas, [&](Point p) {
            return Paint{circleDistance(p, centre, 5.0f), palette::flashWhite};
        });
    } else if (frame == 2) {
        paintShape(canvas, [&](Point p) {
            return Paint{std::fabs(circleDistance(p, centre, 10.0f)) - 2.5f, palette::flashOrange};
        });
        paintShape(canvas, [&](Point p) {
            return Paint{starDistance(p, centre, 4, 1.5f, 14.0f, pi / 4.0f), palette::flashYellow};
        });
    } else {
        for (int i = 0; i < 7; ++i) {
            const float angle = i * 2.0f * pi / 7.0f + 0.4f;
            const Point spark{centre.x + std::cos(angle) * 11.5f,
                              centre.y + std::sin(angle) * 11.5f};
            paintShape(canvas, [&](Point p) {
                return Paint{circleDistance(p, spark, 2.6f),
                             i % 2 ? palette::flashOrange : rgb(0xe0302a)};
            });
        }
    }
    return finishSprite(canvas);
}
