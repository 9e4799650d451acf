// The drawing surface of the picture generator: premultiplied float RGBA, painted with shapes
// given as signed distances (in pixels, negative inside) so that edges come out antialiased.
#pragma once

#include "image.h"

#include <algorithm>
#include <cmath>
#include <vector>

struct Colour {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels; // premultiplied
};

struct Point {
    float x = 0.0f;
    float y = 0.0f;
};

// What a shape gives at one pixel: how far outside it the pixel is, and its colour there.
struct Paint {
    float distance;
    Colour colour;
};

Canvas makeCanvas(int width, int height);

Colour rgb(int hex);
Colour mixColours(Colour a, Colour b, float t);
Colour scaleColour(Colour c, float factor); // brightness, alpha kept
Colour withAlpha(Colour c, float alpha);

float clamp01(float v);
float smoothStep(float edge0, float edge1, float v);
float length(Point p);

// Blends a straight (non-premultiplied) colour over a pixel with the given coverage.
void blendPixel(Canvas& canvas, int x, int y, Colour colour, float coverage);

// Paints `shape` (Point -> Paint, in pixel coordinates, pixel centres at +0.5) over the pixels of
// the box [x0, x1) x [y0, y1), clipped to the canvas.
template <class Shape>
void paintShape(Canvas& canvas, float x0, float y0, float x1, float y1, Shape&& shape) {
    const int left = std::max(0, static_cast<int>(std::floor(x0)));
    const int top = std::max(0, static_cast<int>(std::floor(y0)));
    const int right = std::min(canvas.width, static_cast<int>(std::ceil(x1)));
    const int bottom = std::min(canvas.height, static_cast<int>(std::ceil(y1)));
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const Paint paint = shape(Point{x + 0.5f, y + 0.5f});
            const float coverage = clamp01(0.5f - paint.distance);
            if (coverage > 0.0f) {
                blendPixel(canvas, x, y, paint.colour, coverage);
            }
        }
    }
}

template <class Shape> void paintShape(Canvas& canvas, Shape&& shape) {
    paintShape(canvas, 0.0f, 0.0f, static_cast<float>(canvas.width),
               static_cast<float>(canvas.height), shape);
}

// Signed distances, in the units of their arguments.
float circleDistance(Point p, Point centre, float radius);
float ellipseDistance(Point p, Point centre, float radiusX, float radiusY);
float segmentDistance(Point p, Point a, Point b, float radius); // a capsule
float boxDistance(Point p, Point centre, float halfWidth, float halfHeight, float cornerRadius);

Point rotatePoint(Point p, Point centre, float degrees);

// A sprite: alpha becomes 0 or 255 (covered at least half), and the colour of the nearest
// opaque pixels is spread over the transparent ones, so filtering at the edge shows no fringe.
Image finishSprite(const Canvas& canvas);

// An opaque picture: every pixel at alpha 255 (the canvas must be fully painted).
Image finishOpaque(const Canvas& canvas);

// Gives transparent pixels (alpha 0) the colour of the nearest opaque ones.
void bleedEdges(Image& image);
