#include "support/fixture_files.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace {

using Bytes = std::vector<unsigned char>;

void putLittle(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

void putBig(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void putText(Bytes& out, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        out.push_back(static_cast<unsigned char>(*c));
    }
}

std::uint32_t crcOf(const unsigned char* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

void putChunk(Bytes& out, const char* type, const Bytes& data) {
    putBig(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    putText(out, type);
    out.insert(out.end(), data.begin(), data.end());
    putBig(out, crcOf(out.data() + typeStart, out.size() - typeStart));
}

// A zlib stream of stored blocks: valid deflate without any compression.
Bytes storedZlib(const Bytes& raw) {
    Bytes out{0x78, 0x01};
    std::size_t position = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - position, 65535);
        const bool last = position + length == raw.size();
        out.push_back(last ? 1 : 0);
        putLittle(out, static_cast<std::uint32_t>(length), 2);
        putLittle(out, static_cast<std::uint32_t>(~length & 0xFFFF), 2);
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(position),
                   raw.begin() + static_cast<std::ptrdiff_t>(position + length));
        position += length;
    } while (position < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBig(out, (b << 16) | a);
    return out;
}

int channelsOf(int colourType) {
    switch (colourType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

} // namespace

std::filesystem::path makeTemporaryDirectory(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary directory " + pattern);
    }
    return pattern;
}

void writeBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::vector<unsigned char> encodePng(const PngPicture& picture) {
    Bytes out{137, 80, 78, 71, 13, 10, 26, 10};
    Bytes header;
    putBig(header, picture.width);
    putBig(header, picture.height);
    header.insert(header.end(), {static_cast<unsigned char>(picture.bitDepth),
                                 static_cast<unsigned char>(picture.colourType), 0, 0, 0});
    putChunk(out, "IHDR", header);
    if (!picture.palette.empty()) {
        putChunk(out, "PLTE", picture.palette);
    }
    const std::size_t rowBytes =
        (picture.width *
             static_cast<std::size_t>(channelsOf(picture.colourType) * picture.bitDepth) +
         7) /
        8;
    Bytes scanlines;
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        scanlines.push_back(0);
        const auto row = picture.rows.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
        scanlines.insert(scanlines.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    putChunk(out, "IDAT", storedZlib(scanlines));
    putChunk(out, "IEND", {});
    return out;
}

void writePng(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height,
              const std::vector<std::uint8_t>& rgba) {
    writeBytes(path, encodePng({width, height, 6, 8, rgba, {}}));
}

void writeWav(const std::filesystem::path& path, const std::vector<std::int16_t>& samples,
              std::uint32_t rate) {
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    Bytes out;
    putText(out, "RIFF");
    putLittle(out, 36 + dataSize, 4);
    putText(out, "WAVEfmt ");
    putLittle(out, 16, 4);
    putLittle(out, 1, 2); // PCM
    putLittle(out, 1, 2); // mono
    putLittle(out, rate, 4);
    putLittle(out, rate * 2, 4);
    putLittle(out, 2, 2);
    putLittle(out, 16, 2);
    putText(out, "data");
    putLittle(out, dataSize, 4);
    for (std::int16_t sample : samples) {
        putLittle(out, static_cast<std::uint16_t>(sample), 2);
    }
    writeBytes(path, out);
}

void writeSilentWav(const std::filesystem::path& path, std::uint32_t sampleCount,
                    std::uint32_t rate) {
    writeWav(path, std::vector<std::int16_t>(sampleCount, 0), rate);
}
