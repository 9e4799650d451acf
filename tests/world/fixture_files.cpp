#include "fixture_files.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

void putBigEndian32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void putLittleEndian(Bytes& out, std::uint32_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void putText(Bytes& out, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        out.push_back(static_cast<std::uint8_t>(*c));
    }
}

std::uint32_t crc32Of(const Bytes& bytes, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t adler32Of(const Bytes& bytes) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : bytes) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void putChunk(Bytes& png, const char* type, const Bytes& data) {
    putBigEndian32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = png.size();
    putText(png, type);
    png.insert(png.end(), data.begin(), data.end());
    putBigEndian32(png, crc32Of(png, typeStart));
}

// A zlib stream of stored blocks (no compression).
Bytes storedZlib(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - offset, 65535);
        const bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        putLittleEndian(out, static_cast<std::uint32_t>(length), 2);
        putLittleEndian(out, static_cast<std::uint32_t>(~length & 0xFFFFu), 2);
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                   raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < raw.size());
    putBigEndian32(out, adler32Of(raw));
    return out;
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

} // namespace

void writePng(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height,
              const std::vector<std::uint8_t>& rgba) {
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    putBigEndian32(header, width);
    putBigEndian32(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    putChunk(png, "IHDR", header);
    Bytes raw;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (std::uint32_t row = 0; row < height; ++row) {
        raw.push_back(0); // filter: none
        raw.insert(raw.end(), rgba.begin() + static_cast<std::ptrdiff_t>(row * rowBytes),
                   rgba.begin() + static_cast<std::ptrdiff_t>((row + 1) * rowBytes));
    }
    putChunk(png, "IDAT", storedZlib(raw));
    putChunk(png, "IEND", {});
    writeFile(path, png);
}

void writeWav(const std::filesystem::path& path, std::uint32_t sampleCount) {
    const std::uint32_t dataBytes = sampleCount * 2;
    Bytes wav;
    putText(wav, "RIFF");
    putLittleEndian(wav, 36 + dataBytes, 4);
    putText(wav, "WAVEfmt ");
    putLittleEndian(wav, 16, 4);
    putLittleEndian(wav, 1, 2);     // PCM
    putLittleEndian(wav, 1, 2);     // mono
    putLittleEndian(wav, 8000, 4);  // samples per second
    putLittleEndian(wav, 16000, 4); // bytes per second
    putLittleEndian(wav, 2, 2);     // bytes per frame
    putLittleEndian(wav, 16, 2);    // bits per sample
    putText(wav, "data");
    putLittleEndian(wav, dataBytes, 4);
    wav.resize(wav.size() + dataBytes, 0);
    writeFile(path, wav);
}
