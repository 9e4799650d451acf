#include "media/png_rows.h"

#include <cstdlib>
#include <cstring>

namespace {

// The filters run over whole pixels of D bytes, keeping the pixel on the left (and, for Paeth,
// the one above it) in locals: reading them back from the row just written would put a store
// and a load on the chain from one pixel to the next. Both start as zero, which is what the
// first pixel of a row sees. The loops over a pixel's bytes are unrolled so that those locals
// stay in registers. A row of a depth below 8 has D = 1; otherwise it is whole pixels,
// but a partial last pixel is still handled, by the same rule.

void unfilterNone(unsigned char* out, const unsigned char* filtered, const unsigned char*,
                  std::size_t length) {
    if (out != filtered) {
        std::memmove(out, filtered, length);
    }
}

template <std::size_t D>
void unfilterSub(unsigned char* out, const unsigned char* filtered, const unsigned char*,
                 std::size_t length) {
    std::array<unsigned, D> left{};
    std::size_t i = 0;
    for (; i + D <= length; i += D) {
#pragma GCC unroll 8
        for (std::size_t c = 0; c < D; ++c) {
            left[c] = (filtered[i + c] + left[c]) & 0xFFu;
            out[i + c] = static_cast<unsigned char>(left[c]);
        }
    }
    for (std::size_t c = 0; i + c < length; ++c) {
        out[i + c] = static_cast<unsigned char>(filtered[i + c] + left[c]);
    }
}

void unfilterUp(unsigned char* out, const unsigned char* filtered, const unsigned char* previous,
                std::size_t length) {
    if (previous == nullptr) {
        unfilterNone(out, filtered, previous, length);
        return;
    }
    for (std::size_t i = 0; i < length; ++i) {
        out[i] = static_cast<unsigned char>(filtered[i] + previous[i]);
    }
}

// Average on the first row, where the row above counts as zeros.
template <std::size_t D>
void unfilterAverageFirst(unsigned char* out, const unsigned char* filtered, std::size_t length) {
    std::array<unsigned, D> left{};
    std::size_t i = 0;
    for (; i + D <= length; i += D) {
#pragma GCC unroll 8
        for (std::size_t c = 0; c < D; ++c) {
            left[c] = (filtered[i + c] + (left[c] >> 1)) & 0xFFu;
            out[i + c] = static_cast<unsigned char>(left[c]);
        }
    }
    for (std::size_t c = 0; i + c < length; ++c) {
        out[i + c] = static_cast<unsigned char>(filtered[i + c] + (left[c] >> 1));
    }
}

template <std::size_t D>
void unfilterAverage(unsigned char* out, const unsigned char* filtered,
                     const unsigned char* previous, std::size_t length) {
    if (previous == nullptr) {
        unfilterAverageFirst<D>(out, filtered, length);
        return;
    }
    std::array<unsigned, D> left{};
    std::size_t i = 0;
    for (; i + D <= length; i += D) {
#pragma GCC unroll 8
        for (std::size_t c = 0; c < D; ++c) {
            left[c] = (filtered[i + c] + ((left[c] + previous[i + c]) >> 1)) & 0xFFu;
            out[i + c] = static_cast<unsigned char>(left[c]);
        }
    }
    for (std::size_t c = 0; i + c < length; ++c) {
        out[i + c] =
            static_cast<unsigned char>(filtered[i + c] + ((left[c] + previous[i + c]) >> 1));
    }
}

// Of left, up and up-left, the one nearest to left + up - upLeft; ties go in that order.
unsigned paethPredictor(int left, int up, int upLeft) {
    const int distanceLeft = std::abs(up - upLeft);
    const int distanceUp = std::abs(left - upLeft);
    const int distanceUpLeft = std::abs(left + up - 2 * upLeft);
    const int nearer = distanceUp <= distanceUpLeft ? up : upLeft;
    return static_cast<unsigned>(
        distanceLeft <= distanceUp && distanceLeft <= distanceUpLeft ? left : nearer);
}

template <std::size_t D>
void unfilterPaeth(unsigned char* out, const unsigned char* filtered, const unsigned char* previous,
                   std::size_t length) {
    // With the row above all zeros the predictor is always the left byte.
    if (previous == nullptr) {
        unfilterSub<D>(out, filtered, previous, length);
        return;
    }
    std::array<unsigned, D> left{};
    std::array<unsigned, D> upLeft{};
    std::size_t i = 0;
    for (; i + D <= length; i += D) {
#pragma GCC unroll 8
        for (std::size_t c = 0; c < D; ++c) {
            const unsigned up = previous[i + c];
            const unsigned predictor = paethPredictor(
                static_cast<int>(left[c]), static_cast<int>(up), static_cast<int>(upLeft[c]));
            left[c] = (filtered[i + c] + predictor) & 0xFFu;
            upLeft[c] = up;
            out[i + c] = static_cast<unsigned char>(left[c]);
        }
    }
    for (std::size_t c = 0; i + c < length; ++c) {
        const unsigned predictor =
            paethPredictor(static_cast<int>(left[c]), static_cast<int>(previous[i + c]),
                           static_cast<int>(upLeft[c]));
        out[i + c] = static_cast<unsigned char>(filtered[i + c] + predictor);
    }
}

template <std::size_t D> std::array<RowUnfilter, 5> unfiltersFor() {
    return {unfilterNone, unfilterSub<D>, unfilterUp, unfilterAverage<D>, unfilterPaeth<D>};
}

// --- Conversion to RGBA ---------------------------------------------------------------------

unsigned readBigEndian16(const unsigned char* bytes) {
    return (bytes[0] << 8) | bytes[1];
}

// A sample of 1, 2 or 4 bits; such samples never straddle a byte.
unsigned readLowBitSample(const unsigned char* bytes, std::size_t index, unsigned depth) {
    const std::size_t bit = index * depth;
    const unsigned shift = 8 - depth - static_cast<unsigned>(bit % 8);
    return (bytes[bit / 8] >> shift) & ((1u << depth) - 1);
}

void writePixel(unsigned char* out, unsigned red, unsigned green, unsigned blue, unsigned alpha) {
    out[0] = static_cast<unsigned char>(red);
    out[1] = static_cast<unsigned char>(green);
    out[2] = static_cast<unsigned char>(blue);
    out[3] = static_cast<unsigned char>(alpha);
}

// Without a colour key every pixel is opaque; with one, a pixel whose full-precision samples
// equal the key is transparent.
template <bool Keyed>
unsigned convertGreyLow(unsigned char* out, const unsigned char* in, std::size_t count,
                        const PngHeaderInfo& info) {
    const unsigned depth = info.bitDepth;
    const unsigned scale = 255 / ((1u << depth) - 1); // exact: 1, 3 and 15 divide 255
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned sample = readLowBitSample(in, i, depth);
        const unsigned value = sample * scale;
        writePixel(out + 4 * i, value, value, value, Keyed && sample == info.keyRed ? 0 : 255);
    }
    return 0;
}

template <bool Keyed>
unsigned convertGrey8(unsigned char* out, const unsigned char* in, std::size_t count,
                      const PngHeaderInfo& info) {
    const unsigned key = info.keyRed;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned value = in[i];
        writePixel(out + 4 * i, value, value, value, Keyed && value == key ? 0 : 255);
    }
    return 0;
}

template <bool Keyed>
unsigned convertGrey16(unsigned char* out, const unsigned char* in, std::size_t count,
                       const PngHeaderInfo& info) {
    const unsigned key = info.keyRed;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* pixel = in + 2 * i;
        const bool keyed = Keyed && readBigEndian16(pixel) == key;
        writePixel(out + 4 * i, pixel[0], pixel[0], pixel[0], keyed ? 0 : 255);
    }
    return 0;
}

template <bool Keyed>
unsigned convertRgb8(unsigned char* out, const unsigned char* in, std::size_t count,
                     const PngHeaderInfo& info) {
    const unsigned keyRed = info.keyRed;
    const unsigned keyGreen = info.keyGreen;
    const unsigned keyBlue = info.keyBlue;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* pixel = in + 3 * i;
        const bool keyed =
            Keyed && pixel[0] == keyRed && pixel[1] == keyGreen && pixel[2] == keyBlue;
        writePixel(out + 4 * i, pixel[0], pixel[1], pixel[2], keyed ? 0 : 255);
    }
    return 0;
}

template <bool Keyed>
unsigned convertRgb16(unsigned char* out, const unsigned char* in, std::size_t count,
                      const PngHeaderInfo& info) {
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* pixel = in + 6 * i;
        const bool keyed = Keyed && readBigEndian16(pixel) == info.keyRed &&
                           readBigEndian16(pixel + 2) == info.keyGreen &&
                           readBigEndian16(pixel + 4) == info.keyBlue;
        writePixel(out + 4 * i, pixel[0], pixel[2], pixel[4], keyed ? 0 : 255);
    }
    return 0;
}

unsigned convertGreyAlpha8(unsigned char* out, const unsigned char* in, std::size_t count,
                           const PngHeaderInfo&) {
    for (std::size_t i = 0; i < count; ++i) {
        writePixel(out + 4 * i, in[2 * i], in[2 * i], in[2 * i], in[2 * i + 1]);
    }
    return 0;
}

// 16-bit samples are cut to their high byte.
unsigned convertGreyAlpha16(unsigned char* out, const unsigned char* in, std::size_t count,
                            const PngHeaderInfo&) {
    for (std::size_t i = 0; i < count; ++i) {
        writePixel(out + 4 * i, in[4 * i], in[4 * i], in[4 * i], in[4 * i + 2]);
    }
    return 0;
}

unsigned convertRgba16(unsigned char* out, const unsigned char* in, std::size_t count,
                       const PngHeaderInfo&) {
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* pixel = in + 8 * i;
        writePixel(out + 4 * i, pixel[0], pixel[2], pixel[4], pixel[6]);
    }
    return 0;
}

unsigned convertPalette8(unsigned char* out, const unsigned char* in, std::size_t count,
                         const PngHeaderInfo& info) {
    const std::size_t entries = info.palette.size() / 4;
    const unsigned char* palette = info.palette.data();
    for (std::size_t i = 0; i < count; ++i) {
        if (in[i] >= entries) {
            return 46;
        }
        std::memcpy(out + 4 * i, palette + 4 * std::size_t{in[i]}, 4);
    }
    return 0;
}

unsigned convertPaletteLow(unsigned char* out, const unsigned char* in, std::size_t count,
                           const PngHeaderInfo& info) {
    const std::size_t entries = info.palette.size() / 4;
    const unsigned char* palette = info.palette.data();
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned index = readLowBitSample(in, i, info.bitDepth);
        if (index >= entries) {
            return 47;
        }
        std::memcpy(out + 4 * i, palette + 4 * std::size_t{index}, 4);
    }
    return 0;
}

} // namespace

std::array<RowUnfilter, 5> chooseRowUnfilters(std::size_t byteDistance) {
    switch (byteDistance) {
    case 1:
        return unfiltersFor<1>();
    case 2:
        return unfiltersFor<2>();
    case 3:
        return unfiltersFor<3>();
    case 4:
        return unfiltersFor<4>();
    case 6:
        return unfiltersFor<6>();
    default: // 8, 16-bit RGBA
        return unfiltersFor<8>();
    }
}

RowConverter chooseRowConverter(const PngHeaderInfo& info) {
    const bool keyed = info.keyDefined;
    const unsigned depth = info.bitDepth;
    switch (info.colorType) {
    case 0:
        if (depth < 8) {
            return keyed ? convertGreyLow<true> : convertGreyLow<false>;
        }
        if (depth == 8) {
            return keyed ? convertGrey8<true> : convertGrey8<false>;
        }
        return keyed ? convertGrey16<true> : convertGrey16<false>;
    case 2:
        if (depth == 8) {
            return keyed ? convertRgb8<true> : convertRgb8<false>;
        }
        return keyed ? convertRgb16<true> : convertRgb16<false>;
    case 3:
        return depth == 8 ? convertPalette8 : convertPaletteLow;
    case 4:
        return depth == 8 ? convertGreyAlpha8 : convertGreyAlpha16;
    default: // 6
        return depth == 8 ? nullptr : convertRgba16;
    }
}
