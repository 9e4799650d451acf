#include "png_oracle.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct MemoryReader {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->position) {
        png_error(png, "read past the end of the file");
    }
    std::memcpy(out, reader->data + reader->position, count);
    reader->position += count;
}

void writeToMemory(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

void flushNothing(png_structp) {}

void ignoreWarning(png_structp, png_const_charp) {}

// A refused file is an expected answer here, not worth a line on stderr.
[[noreturn]] void quietError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Everything libpng touches between setjmp and longjmp lives here, outside the function's frame.
struct ReadJob {
    MemoryReader reader;
    std::vector<png_bytep> rows;
};

bool runRead(ReadJob& job, OraclePicture& picture, bool ignoreCrc) {
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, ignoreWarning);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &job.reader, readFromMemory);
    if (ignoreCrc) {
        png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
    }
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    picture.width = png_get_image_width(png, info);
    picture.height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{picture.width} * 4) {
        png_error(png, "unexpected row size");
    }
    picture.rgba.assign(std::size_t{picture.width} * picture.height * 4, 0);
    job.rows.resize(picture.height);
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        job.rows[y] = picture.rgba.data() + std::size_t{y} * picture.width * 4;
    }
    png_read_image(png, job.rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

struct WriteJob {
    std::vector<unsigned char> out;
    std::vector<png_color> palette;
    std::vector<png_bytep> rows;
};

bool runWrite(WriteJob& job, const OracleImage& image) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, ignoreWarning);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &job.out, writeToMemory, flushNothing);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colorType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!image.palette.empty()) {
        for (std::size_t i = 0; i + 2 < image.palette.size(); i += 3) {
            job.palette.push_back(
                png_color{image.palette[i], image.palette[i + 1], image.palette[i + 2]});
        }
        png_set_PLTE(png, info, job.palette.data(), static_cast<int>(job.palette.size()));
    }
    if (!image.paletteAlpha.empty()) {
        png_set_tRNS(png, info, image.paletteAlpha.data(),
                     static_cast<int>(image.paletteAlpha.size()), nullptr);
    }
    png_write_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        job.rows.push_back(const_cast<png_bytep>(image.rows.data()) + y * rowBytes);
    }
    png_set_interlace_handling(png);
    png_write_image(png, job.rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool decodeWithLibpng(const std::vector<unsigned char>& file, OraclePicture& picture,
                      bool ignoreCrc) {
    ReadJob job;
    job.reader = MemoryReader{file.data(), file.size(), 0};
    return runRead(job, picture, ignoreCrc);
}

std::vector<unsigned char> encodeWithLibpng(const OracleImage& image) {
    WriteJob job;
    if (!runWrite(job, image)) {
        return {};
    }
    return job.out;
}

std::string pngSuiteDirectory() {
    if (const char* fromEnvironment = std::getenv("HEMORUNE_PNGSUITE")) {
        return fromEnvironment;
    }
    const std::string besideSource = HEMORUNE_SOURCE_DIR "/../shared/pngsuite";
    if (std::filesystem::is_directory(besideSource)) {
        return besideSource;
    }
    return "/work/shared/pngsuite";
}

std::vector<std::string> pngSuiteFiles() {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(pngSuiteDirectory(), error)) {
        if (entry.path().extension() == ".png") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<unsigned char> readFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}
