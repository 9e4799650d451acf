#include "canvas.h"

#include <array>
#include <cstdint>

Canvas makeCanvas(int width, int height) {
    return Canvas{width, height,
                  std::vector<Colour>(static_cast<std::size_t>(width) * height,
                                      Colour{0.0f, 0.0f, 0.0f, 0.0f})};
}

Colour rgb(int hex) {
    return Colour{static_cast<float>((hex >> 16) & 0xFF) / 255.0f,
                  static_cast<float>((hex >> 8) & 0xFF) / 255.0f,
                  static_cast<float>(hex & 0xFF) / 255.0f, 1.0f};
}

Colour mixColours(Colour a, Colour b, float t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
                  a.a + (b.a - a.a) * t};
}

Colour scaleColour(Colour c, float factor) {
    return Colour{c.r * factor, c.g * factor, c.b * factor, c.a};
}

Colour withAlpha(Colour c, float alpha) {
    return Colour{c.r, c.g, c.b, alpha};
}

float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

float smoothStep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float length(Point p) {
    return std::sqrt(p.x * p.x + p.y * p.y);
}

void blendPixel(Canvas& canvas, int x, int y, Colour colour, float coverage) {
    Colour& dst = canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x];
    const float alpha = clamp01(colour.a) * coverage;
    dst.r = clamp01(colour.r) * alpha + dst.r * (1.0f - alpha);
    dst.g = clamp01(colour.g) * alpha + dst.g * (1.0f - alpha);
    dst.b = clamp01(colour.b) * alpha + dst.b * (1.0f - alpha);
    dst.a = alpha + dst.a * (1.0f - alpha);
}

float circleDistance(Point p, Point centre, float radius) {
    return length(Point{p.x - centre.x, p.y - centre.y}) - radius;
}

float ellipseDistance(Point p, Point centre, float radiusX, float radiusY) {
    // Scaled-circle approximation, accurate enough near the edge for antialiasing.
    const float dx = (p.x - centre.x) / radiusX;
    const float dy = (p.y - centre.y) / radiusY;
    const float k = std::sqrt(dx * dx + dy * dy);
    const float gradient =
        std::sqrt(dx * dx / (radiusX * radiusX) + dy * dy / (radiusY * radiusY)) + 1e-6f;
    return (k - 1.0f) * k / gradient;
}

float segmentDistance(Point p, Point a, Point b, float radius) {
    const Point ab{b.x - a.x, b.y - a.y};
    const Point ap{p.x - a.x, p.y - a.y};
    const float t = clamp01((ap.x * ab.x + ap.y * ab.y) / (ab.x * ab.x + ab.y * ab.y + 1e-9f));
    return length(Point{ap.x - ab.x * t, ap.y - ab.y * t}) - radius;
}

float boxDistance(Point p, Point centre, float halfWidth, float halfHeight, float cornerRadius) {
    const float qx = std::fabs(p.x - centre.x) - halfWidth + cornerRadius;
    const float qy = std::fabs(p.y - centre.y) - halfHeight + cornerRadius;
    const float outside = length(Point{std::max(qx, 0.0f), std::max(qy, 0.0f)});
    return outside + std::min(std::max(qx, qy), 0.0f) - cornerRadius;
}

Point rotatePoint(Point p, Point centre, float degrees) {
    const float radians = degrees * 3.14159265f / 180.0f;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float dx = p.x - centre.x;
    const float dy = p.y - centre.y;
    return Point{centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
}

namespace {

std::uint8_t toByte(float v) {
    return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f));
}

} // namespace

void bleedEdges(Image& image) {
    const int w = image.width;
    const int h = image.height;
    std::vector<std::uint8_t> filled(static_cast<std::size_t>(w) * h, 0);
    std::vector<int> frontier;
    for (int i = 0; i < w * h; ++i) {
        filled[i] = image.rgba[i * 4 + 3] != 0 ? 1 : 0;
    }
    if (std::find(filled.begin(), filled.end(), 1) == filled.end()) {
        return;
    }
    auto collectFrontier = [&]() {
        frontier.clear();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (filled[y * w + x]) {
                    continue;
                }
                bool touches = false;
                for (int dy = -1; dy <= 1 && !touches; ++dy) {
                    for (int dx = -1; dx <= 1 && !touches; ++dx) {
                        const int nx = x + dx;
                        const int ny = y + dy;
                        touches = nx >= 0 && ny >= 0 && nx < w && ny < h && filled[ny * w + nx];
                    }
                }
                if (touches) {
                    frontier.push_back(y * w + x);
                }
            }
        }
    };
    // Ring by ring outwards from the opaque pixels; each new pixel averages its filled neighbours.
    collectFrontier();
    while (!frontier.empty()) {
        std::vector<std::array<std::uint8_t, 3>> colours;
        colours.reserve(frontier.size());
        for (int index : frontier) {
            const int x = index % w;
            const int y = index / w;
            int sum[3] = {0, 0, 0};
            int count = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < w && ny < h && filled[ny * w + nx]) {
                        const std::uint8_t* p = &image.rgba[(ny * w + nx) * 4];
                        sum[0] += p[0];
                        sum[1] += p[1];
                        sum[2] += p[2];
                        ++count;
                    }
                }
            }
            colours.push_back({static_cast<std::uint8_t>(sum[0] / count),
                               static_cast<std::uint8_t>(sum[1] / count),
                               static_cast<std::uint8_t>(sum[2] / count)});
        }
        std::vector<int> next;
        for (std::size_t i = 0; i < frontier.size(); ++i) {
            std::uint8_t* p = &image.rgba[frontier[i] * 4];
            p[0] = colours[i][0];
            p[1] = colours[i][1];
            p[2] = colours[i][2];
            filled[frontier[i]] = 1;
        }
        // The next ring: unfilled neighbours of this one.
        for (int index : frontier) {
            const int x = index % w;
            const int y = index / w;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < w && ny < h && filled[ny * w + nx] == 0) {
                        filled[ny * w + nx] = 2; // queued
                        next.push_back(ny * w + nx);
                    }
                }
            }
        }
        for (int index : next) {
            filled[index] = 0;
        }
        std::sort(next.begin(), next.end());
        frontier.swap(next);
    }
}

Image finishSprite(const Canvas& canvas) {
    Image image{
        canvas.width, canvas.height,
        std::vector<std::uint8_t>(static_cast<std::size_t>(canvas.width) * canvas.height * 4)};
    for (std::size_t i = 0; i < canvas.pixels.size(); ++i) {
        const Colour& c = canvas.pixels[i];
        std::uint8_t* p = &image.rgba[i * 4];
        if (c.a >= 0.5f) {
            p[0] = toByte(c.r / c.a);
            p[1] = toByte(c.g / c.a);
            p[2] = toByte(c.b / c.a);
            p[3] = 255;
        } else {
            p[0] = p[1] = p[2] = p[3] = 0;
        }
    }
    bleedEdges(image);
    return image;
}

Image finishOpaque(const Canvas& canvas) {
    Image image{
        canvas.width, canvas.height,
        std::vector<std::uint8_t>(static_cast<std::size_t>(canvas.width) * canvas.height * 4)};
    for (std::size_t i = 0; i < canvas.pixels.size(); ++i) {
        const Colour& c = canvas.pixels[i];
        std::uint8_t* p = &image.rgba[i * 4];
        p[0] = toByte(c.r);
        p[1] = toByte(c.g);
        p[2] = toByte(c.b);
        p[3] = 255;
    }
    return image;
}
