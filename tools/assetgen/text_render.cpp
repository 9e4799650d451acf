#include "text_render.h"

#include <ft2build.h>
#include FT_FREETYPE_H

bool openFontFace(FontFace& font, const std::string& path) {
    if (FT_Init_FreeType(&font.library) != 0) {
        font.library = nullptr;
        return false;
    }
    if (FT_New_Face(font.library, path.c_str(), 0, &font.face) != 0) {
        FT_Done_FreeType(font.library);
        font = FontFace{};
        return false;
    }
    return true;
}

void closeFontFace(FontFace& font) {
    if (font.face != nullptr) {
        FT_Done_Face(font.face);
    }
    if (font.library != nullptr) {
        FT_Done_FreeType(font.library);
    }
    font = FontFace{};
}

TextMask renderText(const FontFace& font, std::string_view text, int pixelSize) {
    FT_Face face = font.face;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
    const int descender = static_cast<int>(-(face->size->metrics.descender >> 6));
    // First pass: the pen's travel, so the mask can be made wide enough.
    long penWidth = 0;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, ch);
        if (previous != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kerning;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kerning);
            penWidth += kerning.x;
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0) {
            penWidth += face->glyph->advance.x;
        }
        previous = glyph;
    }
    const int margin = pixelSize / 4 + 2; // room for glyphs that overhang their advance
    TextMask mask;
    mask.width = static_cast<int>(penWidth >> 6) + 2 * margin;
    mask.height = ascender + descender + 2;
    mask.baseline = ascender;
    mask.coverage.assign(static_cast<std::size_t>(mask.width) * mask.height, 0.0f);
    long pen = static_cast<long>(margin) << 6;
    previous = 0;
    for (unsigned char ch : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, ch);
        if (previous != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kerning;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kerning);
            pen += kerning.x;
        }
        previous = glyph;
        if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const int originX = static_cast<int>(pen >> 6) + slot->bitmap_left;
        const int originY = mask.baseline - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const int x = originX + static_cast<int>(column);
                const int y = originY + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= mask.width || y >= mask.height) {
                    continue;
                }
                const float value = bitmap.buffer[row * bitmap.pitch + column] / 255.0f;
                float& cell = mask.coverage[static_cast<std::size_t>(y) * mask.width + x];
                cell = std::max(cell, value);
            }
        }
        pen += slot->advance.x;
    }
    return mask;
}

InkBox inkBounds(const TextMask& mask) {
    InkBox box{mask.width, mask.height, 0, 0};
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (mask.coverage[static_cast<std::size_t>(y) * mask.width + x] > 0.0f) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
    }
    if (box.right == 0) {
        return InkBox{};
    }
    return box;
}

int fitTextSize(const FontFace& font, std::string_view text, float maxWidth, float maxHeight,
                int maxSize) {
    for (int size = maxSize; size > 6; --size) {
        const InkBox ink = inkBounds(renderText(font, text, size));
        if (ink.right - ink.left <= maxWidth && ink.bottom - ink.top <= maxHeight) {
            return size;
        }
    }
    return 6;
}

TextMask dilateMask(const TextMask& mask, float radius) {
    const int pad = static_cast<int>(std::ceil(radius)) + 1;
    TextMask grown;
    grown.width = mask.width + 2 * pad;
    grown.height = mask.height + 2 * pad;
    grown.baseline = mask.baseline + pad;
    grown.coverage.assign(static_cast<std::size_t>(grown.width) * grown.height, 0.0f);
    for (int y = 0; y < grown.height; ++y) {
        for (int x = 0; x < grown.width; ++x) {
            float best = 0.0f;
            for (int dy = -pad; dy <= pad; ++dy) {
                const int sy = y - pad + dy;
                if (sy < 0 || sy >= mask.height) {
                    continue;
                }
                for (int dx = -pad; dx <= pad; ++dx) {
                    const int sx = x - pad + dx;
                    if (sx < 0 || sx >= mask.width) {
                        continue;
                    }
                    const float weight =
                        clamp01(radius + 0.5f - std::sqrt(static_cast<float>(dx * dx + dy * dy)));
                    best = std::max(
                        best,
                        weight * mask.coverage[static_cast<std::size_t>(sy) * mask.width + sx]);
                }
            }
            grown.coverage[static_cast<std::size_t>(y) * grown.width + x] = best;
        }
    }
    return grown;
}
