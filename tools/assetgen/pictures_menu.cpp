// The menu's buttons, labels and values. Every one is a panel with a label rendered from the
// game's font; the highlighted (or marked) form glows hot where the normal one stays dark.
#include "paint_helpers.h"
#include "pictures.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace {

enum class PanelStyle { normal, lit, display };

struct Panel {
    Point centre;
    float halfWidth;
    float halfHeight;
};

void paintPanel(Canvas& canvas, const Panel& panel, PanelStyle style) {
    const float corner = std::min(panel.halfHeight, 14.0f);
    auto box = [&](Point p) {
        return boxDistance(p, panel.centre, panel.halfWidth, panel.halfHeight, corner);
    };
    const bool lit = style == PanelStyle::lit;
    const float border = lit ? 5.0f : 3.0f;
    const Colour borderColour = lit                            ? rgb(0xfff0a0)
                                : style == PanelStyle::display ? rgb(0xff6a8a)
                                                               : rgb(0xb8447a);
    paintShape(canvas, [&](Point p) { return Paint{box(p) - border - 2.0f, palette::outline}; });
    paintShape(canvas, [&](Point p) { return Paint{box(p) - border, borderColour}; });
    paintShape(canvas, [&](Point p) {
        const float v =
            clamp01((p.y - (panel.centre.y - panel.halfHeight)) / (2.0f * panel.halfHeight));
        Colour c;
        if (lit) {
            c = ramp3(rgb(0xc00c34), rgb(0xff3a3a), rgb(0xffa040), 1.0f - v);
            if (v < 0.4f) {
                c = mixColours(c, rgb(0xffffff), 0.18f);
            }
        } else if (style == PanelStyle::display) {
            c = mixColours(rgb(0x2a0a24), rgb(0x12040e), v);
        } else {
            c = mixColours(rgb(0x561650), rgb(0x2a0828), v);
        }
        return Paint{box(p), c};
    });
    if (lit) {
        // Arrowheads pointing at the label from both ends.
        for (int side = -1; side <= 1; side += 2) {
            const float x = panel.centre.x + side * (panel.halfWidth - 7.0f);
            const Point tip{x - side * 5.0f, panel.centre.y};
            paintShape(canvas, [&](Point p) {
                const float dx = (p.x - tip.x) * side; // positive towards the panel's end
                const float d = std::max(std::fabs(p.y - tip.y) - dx * 0.9f, dx - 8.0f);
                return Paint{d * 0.75f, rgb(0xfff6c0)};
            });
        }
    }
}

void paintLabel(Canvas& canvas, const FontFace& font, const std::string& label, Point centre,
                int size, PanelStyle style) {
    const TextMask text = renderText(font, label, size);
    const InkBox ink = inkBounds(text);
    const int left = static_cast<int>(std::lround(centre.x - (ink.left + ink.right) * 0.5f));
    const int top = static_cast<int>(std::lround(centre.y - (ink.top + ink.bottom) * 0.5f));
    if (style == PanelStyle::lit) {
        const TextMask outline = dilateMask(text, 2.5f);
        paintMask(canvas, outline, left - 4, top - 4, [](Point) { return rgb(0x3a0010); });
        paintMask(canvas, text, left, top, [](Point) { return rgb(0xffffff); });
    } else if (style == PanelStyle::display) {
        paintMask(canvas, text, left, top, [](Point) { return rgb(0xffe070); });
    } else {
        paintMask(canvas, text, left, top, [](Point) { return rgb(0xf6c8e0); });
    }
}

// The text size of a family of labels: the largest at which its widest member fits.
int familyTextSize(const FontFace& font, std::initializer_list<const char*> family, float width,
                   float height) {
    int size = 64;
    for (const char* member : family) {
        size = std::min(size, fitTextSize(font, member, width, height, 64));
    }
    return size;
}

Image makeLabelled(const FontFace& font, const char* label, int size, const Panel& panel,
                   int textSize, PanelStyle style) {
    Canvas canvas = makeCanvas(size, size);
    paintPanel(canvas, panel, style);
    paintLabel(canvas, font, label, panel.centre, textSize, style);
    return finishSprite(canvas);
}

// The lowest row of the menus stands at y -3.5, where only a little of a 2 x 2 quad lies above
// the bottom of the screen: those panels sit higher in their pictures.
float rowLift(const char* label) {
    const std::string_view name = label;
    return name == "EXIT" || name == "APPLY" || name == "CANCEL" ? 18.0f : 0.0f;
}

PanelStyle styleFor(bool lit) {
    return lit ? PanelStyle::lit : PanelStyle::normal;
}

} // namespace

// Buttons fill a 2 x 2 quad but stand one unit apart: the panel keeps to the middle band.
Image makeMenuButton(const FontFace& font, const char* label, bool lit) {
    const int textSize = familyTextSize(font, {"SETTINGS", "SCORES", "CREDITS"}, 136.0f, 30.0f);
    return makeLabelled(font, label, 192, Panel{{96.0f, 96.0f - rowLift(label)}, 88.0f, 32.0f},
                        textSize, styleFor(lit));
}

// Settings labels end short of the volume values drawn right of them.
Image makeSettingsLabel(const FontFace& font, const char* label, bool lit) {
    const int textSize = familyTextSize(font, {"FULLSCREEN", "RESOLUTION"}, 124.0f, 28.0f);
    return makeLabelled(font, label, 192, Panel{{82.0f, 96.0f - rowLift(label)}, 76.0f, 30.0f},
                        textSize, styleFor(lit));
}

Image makePlayerNameLabel(const FontFace& font, bool lit) {
    const int textSize = fitTextSize(font, "PLAYER NAME", 220.0f, 30.0f, 64);
    return makeLabelled(font, "PLAYER NAME", 288, Panel{{144.0f, 144.0f}, 136.0f, 32.0f}, textSize,
                        styleFor(lit));
}

// On and off stand one unit apart in 2 x 2 quads: each keeps to the middle half.
Image makeSwitchValue(const FontFace& font, const char* label, bool lit) {
    const int textSize = fitTextSize(font, "OFF", 58.0f, 26.0f, 64);
    return makeLabelled(font, label, 192, Panel{{96.0f, 96.0f}, 42.0f, 28.0f}, textSize,
                        styleFor(lit));
}

Image makeResolutionValue(const FontFace& font, const char* label) {
    const int textSize = fitTextSize(font, "1280x1024", 150.0f, 26.0f, 64);
    return makeLabelled(font, label, 192, Panel{{96.0f, 96.0f}, 86.0f, 28.0f}, textSize,
                        PanelStyle::display);
}

// Volumes are 1 x 1 quads half a unit apart: a narrow tile with a level meter and the number.
Image makeVolumeValue(const FontFace& font, int volume, bool lit) {
    Canvas canvas = makeCanvas(96, 96);
    const Panel tile{{48.0f, 48.0f}, 20.0f, 40.0f};
    paintPanel(canvas, tile, lit ? PanelStyle::display : PanelStyle::normal);
    if (lit) {
        paintShape(canvas, [&](Point p) {
            const float d = boxDistance(p, tile.centre, tile.halfWidth, tile.halfHeight, 14.0f);
            return Paint{std::fabs(d + 2.5f) - 2.5f, rgb(0xfff0a0)};
        });
    }
    const float meterTop = 16.0f;
    const float meterBottom = 62.0f;
    const Point meterCentre{48.0f, (meterTop + meterBottom) * 0.5f};
    paintShape(canvas, [&](Point p) {
        return Paint{boxDistance(p, meterCentre, 9.0f, (meterBottom - meterTop) * 0.5f, 3.0f),
                     rgb(0x12040e)};
    });
    const float level = meterBottom - (meterBottom - meterTop) * volume / 100.0f;
    if (volume > 0) {
        paintShape(canvas, [&](Point p) {
            const float d = std::max(
                boxDistance(p, meterCentre, 6.0f, (meterBottom - meterTop) * 0.5f - 3.0f, 2.0f),
                level - p.y);
            const float v = (p.y - meterTop) / (meterBottom - meterTop);
            const Colour c = lit ? mixColours(rgb(0xfffbe0), rgb(0xffb020), v)
                                 : mixColours(rgb(0xf07aa8), rgb(0x9a2a60), v);
            return Paint{d, c};
        });
    }
    const std::string number = std::to_string(volume);
    paintLabel(canvas, font, number, Point{48.0f, 75.0f},
               fitTextSize(font, "100", 29.0f, 13.0f, 64),
               lit ? PanelStyle::display : PanelStyle::normal);
    return finishSprite(canvas);
}
