// Text as coverage masks, rendered with FreeType from the game's own font file.
#pragma once

#include "canvas.h"

#include <string>
#include <string_view>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

struct FontFace {
    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* face = nullptr;
};

// False (and nothing open) when the file is not a font FreeType can read.
bool openFontFace(FontFace& font, const std::string& path);
void closeFontFace(FontFace& font);

// Coverage 0..1 of one line of text; the box runs from the face's ascender to its descender.
struct TextMask {
    int width = 0;
    int height = 0;
    int baseline = 0; // rows from the top of the mask to the baseline
    std::vector<float> coverage;
};

TextMask renderText(const FontFace& font, std::string_view text, int pixelSize);

// The largest pixel size, at most maxSize, whose ink fits maxWidth by maxHeight.
int fitTextSize(const FontFace& font, std::string_view text, float maxWidth, float maxHeight,
                int maxSize);

// Ink bounds of a mask: [left, right) x [top, bottom); all zero for an empty mask.
struct InkBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
InkBox inkBounds(const TextMask& mask);

// The mask grown by `radius` pixels on every side (round outline), for outlines and glows.
TextMask dilateMask(const TextMask& mask, float radius);

// Paints the mask with its top-left corner at (left, top); shade(Point on the canvas) -> Colour.
template <class Shade>
void paintMask(Canvas& canvas, const TextMask& mask, int left, int top, Shade&& shade) {
    for (int y = 0; y < mask.height; ++y) {
        const int cy = top + y;
        if (cy < 0 || cy >= canvas.height) {
            continue;
        }
        for (int x = 0; x < mask.width; ++x) {
            const int cx = left + x;
            const float coverage = mask.coverage[static_cast<std::size_t>(y) * mask.width + x];
            if (cx < 0 || cx >= canvas.width || coverage <= 0.0f) {
                continue;
            }
            blendPixel(canvas, cx, cy, shade(Point{cx + 0.5f, cy + 0.5f}), coverage);
        }
    }
}

// Paints text with its ink centred on (centreX, centreY).
template <class Shade>
void paintTextCentred(Canvas& canvas, const TextMask& mask, float centreX, float centreY,
                      Shade&& shade) {
    const InkBox ink = inkBounds(mask);
    const int left = static_cast<int>(std::lround(centreX - (ink.left + ink.right) * 0.5f));
    const int top = static_cast<int>(std::lround(centreY - (ink.top + ink.bottom) * 0.5f));
    paintMask(canvas, mask, left, top, shade);
}
