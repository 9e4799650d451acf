#include "icon.h"

#include "pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// How much of each source cell [i, i + 1) a target cell [start, start + span) covers.
struct Cover {
    int first = 0;
    std::vector<double> weights;
};

Cover coverOf(double start, double span, int sourceLength) {
    Cover cover;
    const double end = start + span;
    cover.first = static_cast<int>(std::floor(start));
    const int last = std::min(sourceLength, static_cast<int>(std::ceil(end)));
    for (int i = cover.first; i < last; ++i) {
        const double overlap = std::min(end, i + 1.0) - std::max(start, static_cast<double>(i));
        cover.weights.push_back(std::max(0.0, overlap));
    }
    return cover;
}

} // namespace

Image scaleImage(const Image& source, int width, int height) {
    Image result;
    result.width = width;
    result.height = height;
    result.rgba.assign(static_cast<std::size_t>(width) * height * 4, 0);
    const double spanX = static_cast<double>(source.width) / width;
    const double spanY = static_cast<double>(source.height) / height;
    for (int y = 0; y < height; ++y) {
        const Cover rows = coverOf(y * spanY, spanY, source.height);
        for (int x = 0; x < width; ++x) {
            const Cover columns = coverOf(x * spanX, spanX, source.width);
            std::array<double, 4> sum{};   // premultiplied r, g, b and alpha
            std::array<double, 3> plain{}; // straight r, g, b, for a wholly transparent result
            double area = 0.0;
            for (std::size_t j = 0; j < rows.weights.size(); ++j) {
                for (std::size_t i = 0; i < columns.weights.size(); ++i) {
                    const double weight = rows.weights[j] * columns.weights[i];
                    const std::size_t at =
                        (static_cast<std::size_t>(rows.first + j) * source.width + columns.first +
                         i) *
                        4;
                    const double alpha = source.rgba[at + 3] / 255.0;
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += weight * alpha * source.rgba[at + c];
                        plain[c] += weight * source.rgba[at + c];
                    }
                    sum[3] += weight * alpha;
                    area += weight;
                }
            }
            const std::size_t out = (static_cast<std::size_t>(y) * width + x) * 4;
            const double alpha = area > 0.0 ? sum[3] / area : 0.0;
            for (int c = 0; c < 3; ++c) {
                const double colour =
                    sum[3] > 0.0 ? sum[c] / sum[3] : (area > 0.0 ? plain[c] / area : 0.0);
                result.rgba[out + c] = static_cast<std::uint8_t>(std::lround(colour));
            }
            result.rgba[out + 3] = static_cast<std::uint8_t>(std::lround(alpha * 255.0));
        }
    }
    return result;
}

Image makeIcon(int size) {
    return scaleImage(makeVirus(VirusLook::resting), size, size);
}
