// The desktop icon: the resting virus, the game's own hero, scaled to the sizes desktops ask for.
#pragma once

#include "image.h"

// An RGBA image of width x height, each pixel the area-weighted average of the source pixels it
// covers. Colours are averaged premultiplied by alpha, so transparent pixels add no colour; where
// all is transparent the colours are averaged plainly, which keeps a sprite's bled edge colours.
Image scaleImage(const Image& source, int width, int height);

// The square icon of size x size pixels (size from 1 to 1024).
Image makeIcon(int size);
