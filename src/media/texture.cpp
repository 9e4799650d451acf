#include "media/texture.h"

#include "media/png.h"
#include "platform/platform.h"
#include "platform/startup_timings.h"
#include "platform/steady_clock.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// The caption is the UTF-8 form of "szarügy", passed on as it stands.
constexpr const char* boxText = "nyalod";
constexpr const char* boxCaption = "szar\xC3\xBCgy";

std::uint32_t createdCount = 0;

std::vector<unsigned char> readWholeFile(std::FILE* file) {
    std::fseek(file, 0, SEEK_END);
    const long end = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::vector<unsigned char> bytes(end > 0 ? static_cast<std::size_t>(end) : 0);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    // A short read leaves the rest zero-filled; the decoder then reports the damage.
    (void)got;
    return bytes;
}

// The clock only while start-up is measured; 0 otherwise.
std::uint64_t workClock(bool timed) {
    return timed ? steadyMicros() : 0;
}

} // namespace

TextureId loadTexture(const std::string& fileName) {
    const bool timed = startupTimingRunning();
    const std::uint64_t readStart = workClock(timed);
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) {
        showMessageBox(boxText, boxCaption, BoxIcon::information);
        exitProcess(1);
    }
    std::vector<unsigned char> fileBytes = readWholeFile(file);
    std::fclose(file);
    const std::uint64_t decodeStart = workClock(timed);

    std::vector<unsigned char> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    const unsigned error = pngToRgba(pixels, width, height, fileBytes.data(), fileBytes.size());
    const std::uint64_t uploadStart = workClock(timed);
    if (error != 0) {
        showMessageBox(boxText, boxCaption, BoxIcon::information);
    }

    // Without a GL context the calls below do nothing and the name stays 0.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (texture != 0) {
        createdCount += 1;
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    // After a decode error the decoder may hold fewer bytes than the header's size promises; the
    // texture then gets its size but no pixels, so the upload never reads past the buffer.
    const std::uint64_t needed =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4u;
    const bool complete = width <= 0x7FFFFFFFu && height <= 0x7FFFFFFFu &&
                          needed <= static_cast<std::uint64_t>(pixels.size());
    glTexImage2D(GL_TEXTURE_2D, 0, 4, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, complete ? pixels.data() : nullptr);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, 9729.0f);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    if (timed) {
        // The box of a decode error is counted as upload; it only happens on damaged files.
        countFileLoad(fileName);
        addLoadWork(LoadWork::pictureRead, decodeStart - readStart);
        addLoadWork(LoadWork::pictureDecode, uploadStart - decodeStart);
        addLoadWork(LoadWork::textureUpload, steadyMicros() - uploadStart);
    }
    return texture;
}

std::uint32_t texturesCreated() {
    return createdCount;
}
