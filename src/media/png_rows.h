// The inner loops of the PNG decoder (media/png.h): undoing a scanline's filter, and turning an
// unfiltered row into 8-bit RGBA. Each image picks its loops once, by byte distance and by colour
// type and depth, so that no byte or pixel pays for the choice.
#pragma once

#include "media/png.h"

#include <array>
#include <cstddef>

// Undoes one filter on a scanline of `length` bytes: `filtered` to `out`, which may be `filtered`
// itself. `previous` is the unfiltered row above, or null for the first row of an image or pass.
using RowUnfilter = void (*)(unsigned char* out, const unsigned char* filtered,
                             const unsigned char* previous, std::size_t length);

// The five filters (None, Sub, Up, Average, Paeth, by filter type) for pixels `byteDistance`
// bytes apart (1 to 8: the distance to the byte of the pixel on the left).
std::array<RowUnfilter, 5> chooseRowUnfilters(std::size_t byteDistance);

// Turns the `count` pixels of one unfiltered row `in` into RGBA at `out`. Returns 0, or the error
// code of a palette index outside the palette.
using RowConverter = unsigned (*)(unsigned char* out, const unsigned char* in, std::size_t count,
                                  const PngHeaderInfo& info);

// The converter for the image's colour type, bit depth and colour key; null for 8-bit RGBA,
// whose unfiltered rows are already the output.
RowConverter chooseRowConverter(const PngHeaderInfo& info);
