#include "contact_sheet.h"

#include "canvas.h"

#include <algorithm>

namespace {

constexpr int columns = 8;
constexpr int cellWidth = 200;
constexpr int pictureBox = 176; // the largest side a picture is shown at
constexpr int captionHeight = 22;
constexpr int cellHeight = pictureBox + captionHeight + 12;
constexpr float grey = 0.5f;

// Bilinear sample of an image's straight colour, with its alpha, at a fractional position.
Colour sampleImage(const Image& image, float x, float y) {
    x = std::clamp(x - 0.5f, 0.0f, static_cast<float>(image.width - 1));
    y = std::clamp(y - 0.5f, 0.0f, static_cast<float>(image.height - 1));
    const int x0 = static_cast<int>(x);
    const int y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, image.width - 1);
    const int y1 = std::min(y0 + 1, image.height - 1);
    const float tx = x - x0;
    const float ty = y - y0;
    Colour sum{0, 0, 0, 0};
    const int xs[2] = {x0, x1};
    const int ys[2] = {y0, y1};
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            const float w = (i ? tx : 1.0f - tx) * (j ? ty : 1.0f - ty);
            const std::uint8_t* p =
                &image.rgba[(static_cast<std::size_t>(ys[j]) * image.width + xs[i]) * 4];
            const float a = p[3] / 255.0f;
            sum.r += w * a * p[0] / 255.0f;
            sum.g += w * a * p[1] / 255.0f;
            sum.b += w * a * p[2] / 255.0f;
            sum.a += w * a;
        }
    }
    return sum; // premultiplied
}

// Draws the picture scaled to fit the box (averaging several samples when shrinking), as the game
// would: only texels of alpha above 0.1 show.
void drawScaled(Canvas& sheet, const Image& image, int boxLeft, int boxTop) {
    const float scale =
        std::min(1.0f, static_cast<float>(pictureBox) / std::max(image.width, image.height));
    const int width = std::max(1, static_cast<int>(image.width * scale));
    const int height = std::max(1, static_cast<int>(image.height * scale));
    const int left = boxLeft + (pictureBox - width) / 2;
    const int top = boxTop + (pictureBox - height) / 2;
    const int taps = std::max(1, static_cast<int>(std::ceil(1.0f / scale)));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Colour sum{0, 0, 0, 0};
            for (int j = 0; j < taps; ++j) {
                for (int i = 0; i < taps; ++i) {
                    const Colour c = sampleImage(image, (x + (i + 0.5f) / taps) / scale,
                                                 (y + (j + 0.5f) / taps) / scale);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                    sum.a += c.a;
                }
            }
            const float n = static_cast<float>(taps * taps);
            if (sum.a / n > 0.1f) {
                blendPixel(sheet, left + x, top + y,
                           Colour{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, 1.0f}, 1.0f);
            }
        }
    }
}

} // namespace

Image makeContactSheet(const std::vector<NamedImage>& pictures, const FontFace& font) {
    const int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
    Canvas sheet = makeCanvas(columns * cellWidth, rows * cellHeight + 8);
    std::fill(sheet.pixels.begin(), sheet.pixels.end(), Colour{grey, grey, grey, 1.0f});
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const int column = static_cast<int>(i) % columns;
        const int row = static_cast<int>(i) / columns;
        const int left = column * cellWidth + (cellWidth - pictureBox) / 2;
        const int top = row * cellHeight + 8;
        drawScaled(sheet, pictures[i].image, left, top);
        const std::string& name = pictures[i].fileName;
        const int size = fitTextSize(font, name, cellWidth - 8.0f, 14.0f, 15);
        const TextMask caption = renderText(font, name, size);
        const InkBox ink = inkBounds(caption);
        const int captionLeft = column * cellWidth + (cellWidth - (ink.right + ink.left)) / 2;
        const int captionTop = top + pictureBox + 4 - (caption.baseline - 12);
        paintMask(sheet, caption, captionLeft, captionTop, [](Point) { return rgb(0x101010); });
    }
    return finishOpaque(sheet);
}
