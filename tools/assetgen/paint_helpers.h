// Shading helpers shared by the picture makers: one light from the upper left for every sprite,
// so the whole set looks lit the same way.
#pragma once

#include "canvas.h"
#include "noise.h"

// Lambert term (0..1) of a sphere of `radius` at `centre`, seen at p; 0 outside.
float sphereLight(Point p, Point centre, float radius);

// A small sharp highlight on that sphere (0..1).
float sphereGloss(Point p, Point centre, float radius, float sharpness);

// dark -> mid -> light as t goes 0 -> 0.5 -> 1.
Colour ramp3(Colour dark, Colour mid, Colour light, float t);

Colour desaturate(Colour c, float amount);

// Paints a filled shape with an outline of `outlineWidth` pixels around it in `outlineColour`.
template <class Distance, class Shade>
void paintOutlined(Canvas& canvas, float outlineWidth, Colour outlineColour, Distance&& distance,
                   Shade&& shade) {
    paintShape(canvas, [&](Point p) { return Paint{distance(p) - outlineWidth, outlineColour}; });
    paintShape(canvas, [&](Point p) { return Paint{distance(p), shade(p)}; });
}

// The game's palette.
namespace palette {
inline const Colour lumenDeep = rgb(0x1a0410);
inline const Colour lumen = rgb(0x420a1e);
inline const Colour wall = rgb(0x8a1c3c);
inline const Colour wallLight = rgb(0xc4406a);
inline const Colour wallPurple = rgb(0x4e1448);
inline const Colour plasma = rgb(0xe67a94);
inline const Colour outline = rgb(0x1c0612);
inline const Colour virusDark = rgb(0x2a6a14);
inline const Colour virus = rgb(0x8ed82a);
inline const Colour virusLight = rgb(0xe4ff86);
inline const Colour whiteCell = rgb(0xf4ecf6);
inline const Colour whiteCellShadow = rgb(0xa98fc0);
inline const Colour nucleus = rgb(0x6a2488);
inline const Colour blood = rgb(0xd8222e);
inline const Colour bloodLight = rgb(0xff7a62);
inline const Colour bloodDark = rgb(0x760818);
inline const Colour flashWhite = rgb(0xfffbe0);
inline const Colour flashYellow = rgb(0xffe040);
inline const Colour flashOrange = rgb(0xff8a1c);
} // namespace palette
