// The PNG decoder against libpng (an oracle only) on the PngSuite, and hand-made files for every
// error code and the corner cases of the format.
#include "media/png.h"
#include "png_oracle.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

struct Decoded {
    unsigned error = 0;
    Bytes rgba;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

Decoded decode(const Bytes& file) {
    Decoded result;
    result.width = result.height = 0xDEADBEEF; // must be overwritten in every case
    result.error = pngToRgba(result.rgba, result.width, result.height, file.data(), file.size());
    return result;
}

void appendBigEndian32(Bytes& bytes, std::uint32_t value) {
    for (const int shift : {24, 16, 8, 0}) {
        bytes.push_back(static_cast<unsigned char>(value >> shift));
    }
}

// One chunk with its length and a correct CRC.
Bytes chunk(const std::string& type, const Bytes& data) {
    Bytes bytes;
    appendBigEndian32(bytes, static_cast<std::uint32_t>(data.size()));
    bytes.insert(bytes.end(), type.begin(), type.end());
    bytes.insert(bytes.end(), data.begin(), data.end());
    const uLong crc =
        crc32(crc32(0, nullptr, 0), bytes.data() + 4, static_cast<uInt>(data.size() + 4));
    appendBigEndian32(bytes, static_cast<std::uint32_t>(crc));
    return bytes;
}

struct Header {
    std::uint32_t width = 2;
    std::uint32_t height = 2;
    unsigned bitDepth = 8;
    unsigned colorType = 2;
    unsigned compression = 0;
    unsigned filter = 0;
    unsigned interlace = 0;
};

Bytes ihdr(const Header& header) {
    Bytes data;
    appendBigEndian32(data, header.width);
    appendBigEndian32(data, header.height);
    for (const unsigned field :
         {header.bitDepth, header.colorType, header.compression, header.filter, header.interlace}) {
        data.push_back(static_cast<unsigned char>(field));
    }
    return chunk("IHDR", data);
}

Bytes zlibOf(const Bytes& raw) {
    uLongf size = compressBound(raw.size());
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, raw.data(), raw.size(), 9), Z_OK);
    out.resize(size);
    return out;
}

Bytes idat(const Bytes& scanlines) {
    return chunk("IDAT", zlibOf(scanlines));
}

Bytes iend() {
    return chunk("IEND", {});
}

Bytes pngFile(const std::vector<Bytes>& chunks) {
    Bytes file = {137, 80, 78, 71, 13, 10, 26, 10};
    for (const Bytes& piece : chunks) {
        file.insert(file.end(), piece.begin(), piece.end());
    }
    return file;
}

// A 2 x 2 RGB image: red, green / blue, white; the second row filtered with "up".
const Bytes rgbScanlines = {0, 255, 0, 0, 0, 255, 0, 2, 1, 0, 255, 255, 0, 255};
const Bytes rgbPixels = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};

Bytes goodRgbFile() {
    return pngFile({ihdr(Header{}), idat(rgbScanlines), iend()});
}

Bytes withHeader(const Header& header, const Bytes& scanlines,
                 const std::vector<Bytes>& side = {}) {
    std::vector<Bytes> chunks = {ihdr(header)};
    chunks.insert(chunks.end(), side.begin(), side.end());
    chunks.push_back(idat(scanlines));
    chunks.push_back(iend());
    return pngFile(chunks);
}

Bytes palette(unsigned entries) {
    Bytes data;
    for (unsigned i = 0; i < entries; ++i) {
        data.insert(data.end(), {static_cast<unsigned char>(i), 10, 20});
    }
    return chunk("PLTE", data);
}

Bytes cut(Bytes file, std::size_t bytesRemoved) {
    file.resize(file.size() - bytesRemoved);
    return file;
}

// --- PngSuite against libpng ----------------------------------------------------------------

bool isCorruptSuiteFile(const std::string& name) {
    return name[0] == 'x';
}

// Corrupt only in a CRC, which this decoder never reads.
bool hasOnlyCrcDamage(const std::string& name) {
    return name == "xcsn0g01.png" || name == "xhdn0g08.png";
}

TEST(PngSuite, EveryGoodFileDecodesExactlyAsLibpngDoes) {
    const std::vector<std::string> files = pngSuiteFiles();
    ASSERT_FALSE(files.empty()) << "no PngSuite in " << pngSuiteDirectory();
    unsigned compared = 0;
    for (const std::string& path : files) {
        const std::string name = std::filesystem::path(path).filename().string();
        if (isCorruptSuiteFile(name) && !hasOnlyCrcDamage(name)) {
            continue;
        }
        const Bytes file = readFileBytes(path);
        OraclePicture expected;
        ASSERT_TRUE(decodeWithLibpng(file, expected, hasOnlyCrcDamage(name))) << name;
        const Decoded ours = decode(file);
        ASSERT_EQ(ours.error, 0u) << name << ": " << decodeErrorText(ours.error);
        EXPECT_EQ(ours.width, expected.width) << name;
        EXPECT_EQ(ours.height, expected.height) << name;
        EXPECT_TRUE(ours.rgba == expected.rgba) << name;
        ++compared;
    }
    EXPECT_GT(compared, 100u);
}

TEST(PngSuite, CorruptFilesAreRefused) {
    unsigned refused = 0;
    for (const std::string& path : pngSuiteFiles()) {
        const std::string name = std::filesystem::path(path).filename().string();
        if (!isCorruptSuiteFile(name) || hasOnlyCrcDamage(name)) {
            continue;
        }
        const Bytes file = readFileBytes(path);
        OraclePicture ignored;
        EXPECT_FALSE(decodeWithLibpng(file, ignored)) << name;
        EXPECT_NE(decode(file).error, 0u) << name;
        ++refused;
    }
    EXPECT_GE(refused, 12u);
}

TEST(PngSuite, EveryPrefixOfAFileIsRefusedWithoutReadingPastIt) {
    // The IEND chunk's CRC is never read: a cut is an error only when it leaves fewer than 9 of
    // IEND's 12 bytes.
    for (const char* name : {"basn0g01.png", "basi6a16.png", "s03i3p01.png", "oi9n2c16.png"}) {
        const Bytes file = readFileBytes(pngSuiteDirectory() + "/" + name);
        ASSERT_GT(file.size(), 12u) << name;
        for (std::size_t size = 0; size <= file.size(); ++size) {
            // Exactly `size` bytes on the heap, so the sanitizer build sees any read beyond.
            const Bytes prefix(file.begin(), file.begin() + static_cast<long>(size));
            const Decoded result = decode(prefix);
            if (size + 3 >= file.size()) {
                ASSERT_EQ(result.error, 0u) << name << " cut at " << size;
            } else {
                ASSERT_NE(result.error, 0u) << name << " cut at " << size;
            }
        }
    }
}

// --- Error codes ----------------------------------------------------------------------------

struct ErrorCase {
    const char* name;
    Bytes file;
    unsigned error;
    std::uint32_t width; // what the decoder reports, 0 when the header was not read
    std::uint32_t height;
};

Bytes withChunkLength(Bytes file, std::size_t position, std::uint32_t length) {
    for (int i = 0; i < 4; ++i) {
        file[position + i] = static_cast<unsigned char>(length >> (24 - 8 * i));
    }
    return file;
}

std::vector<ErrorCase> errorCases() {
    const Bytes good = goodRgbFile();
    const Header rgb;
    std::vector<ErrorCase> cases;
    cases.push_back({"empty", {}, 48, 0, 0});
    cases.push_back({"20 bytes", Bytes(good.begin(), good.begin() + 20), 27, 0, 0});
    cases.push_back({"28 bytes", Bytes(good.begin(), good.begin() + 28), 27, 0, 0});
    {
        Bytes file = good;
        file[1] = 'p';
        cases.push_back({"signature", file, 28, 0, 0});
    }
    {
        Bytes file = good;
        file[15] = 'X';
        cases.push_back({"first chunk not IHDR", file, 29, 0, 0});
    }
    cases.push_back({"no IEND", cut(good, 12), 30, 2, 2});
    cases.push_back({"IEND without its CRC", cut(good, 4), 30, 2, 2});
    for (const unsigned type : {1u, 5u, 7u, 255u}) {
        cases.push_back({"colour type", withHeader({2, 2, 8, type}, rgbScanlines), 31, 2, 2});
    }
    cases.push_back({"compression method", withHeader({2, 2, 8, 2, 1}, rgbScanlines), 32, 2, 2});
    cases.push_back({"filter method", withHeader({2, 2, 8, 2, 0, 1}, rgbScanlines), 33, 2, 2});
    cases.push_back(
        {"interlace method", withHeader({2, 2, 8, 2, 0, 0, 2}, rgbScanlines), 34, 2, 2});
    {
        Bytes file = good;
        const std::size_t idatPosition = 33;
        cases.push_back(
            {"IDAT length past the end",
             withChunkLength(file, idatPosition, static_cast<std::uint32_t>(file.size())), 35, 2,
             2});
    }
    {
        // A last chunk whose length test passes but whose data would end 2 bytes past the file.
        Bytes file = pngFile({ihdr(rgb), idat(rgbScanlines)});
        appendBigEndian32(file, 10);
        file.insert(file.end(), {'t', 'E', 'X', 't', 1, 2, 3, 4, 5, 6, 7, 8});
        cases.push_back({"chunk data past the end", file, 35, 2, 2});
    }
    {
        Bytes scanlines = rgbScanlines;
        scanlines[7] = 5;
        cases.push_back({"filter type 5", withHeader(rgb, scanlines), 36, 2, 2});
    }
    const std::vector<Header> badDepths = {{2, 2, 3, 0}, {2, 2, 32, 0}, {2, 2, 4, 2}, {2, 2, 16, 3},
                                           {2, 2, 1, 4}, {2, 2, 2, 6},  {2, 2, 0, 6}};
    for (const Header& header : badDepths) {
        cases.push_back({"bit depth", withHeader(header, rgbScanlines), 37, 2, 2});
    }
    const Header paletted{2, 2, 8, 3};
    const Bytes indexScanlines = {0, 0, 1, 0, 1, 0};
    cases.push_back(
        {"palette of 257", withHeader(paletted, indexScanlines, {palette(257)}), 38, 2, 2});
    cases.push_back({"tRNS longer than the palette",
                     withHeader(paletted, indexScanlines, {palette(2), chunk("tRNS", {1, 2, 3})}),
                     39, 2, 2});
    cases.push_back({"tRNS before PLTE",
                     withHeader(paletted, indexScanlines, {chunk("tRNS", {1}), palette(2)}), 39, 2,
                     2});
    cases.push_back({"grey tRNS of 4 bytes",
                     withHeader({2, 2, 8, 0}, {0, 1, 2, 0, 3, 4}, {chunk("tRNS", {0, 1, 0, 2})}),
                     40, 2, 2});
    cases.push_back(
        {"RGB tRNS of 2 bytes", withHeader(rgb, rgbScanlines, {chunk("tRNS", {0, 1})}), 41, 2, 2});
    cases.push_back(
        {"tRNS with grey and alpha",
         withHeader({2, 2, 8, 4}, {0, 1, 2, 3, 4, 0, 1, 2, 3, 4}, {chunk("tRNS", {0, 1})}), 42, 2,
         2});
    cases.push_back({"tRNS with RGBA",
                     withHeader({1, 1, 8, 6}, {0, 1, 2, 3, 4}, {chunk("tRNS", {0, 1})}), 42, 1, 1});
    cases.push_back({"8-bit index outside the palette",
                     withHeader(paletted, {0, 0, 1, 0, 2, 0}, {palette(2)}), 46, 2, 2});
    cases.push_back({"1-bit index outside the palette",
                     withHeader({2, 2, 1, 3}, {0, 0x40, 0, 0x00}, {palette(1)}), 47, 2, 2});
    cases.push_back(
        {"palette image without PLTE", withHeader({2, 2, 4, 3}, {0, 0, 0, 0}), 47, 2, 2});
    cases.push_back(
        {"chunk length with the top bit", withChunkLength(good, 33, 0x80000001u), 63, 2, 2});
    cases.push_back({"unknown critical chunk",
                     withHeader(rgb, rgbScanlines, {chunk("HEMO", {1, 2})}), 69, 2, 2});
    cases.push_back({"second IHDR", withHeader(rgb, rgbScanlines, {ihdr(rgb)}), 69, 2, 2});
    cases.push_back(
        {"2^32 pixels", withHeader({65536, 65536, 8, 2}, rgbScanlines), 90, 65536, 65536});
    cases.push_back(
        {"too wide, zero high", withHeader({0x10000001, 0, 8, 6}, {}), 90, 0x10000001, 0});
    cases.push_back(
        {"too high, zero wide", withHeader({0, 0x10000001, 1, 0}, {0}), 90, 0, 0x10000001});
    cases.push_back({"one scanline of two",
                     withHeader(rgb, Bytes(rgbScanlines.begin(), rgbScanlines.begin() + 7)), 91, 2,
                     2});
    cases.push_back({"one byte short",
                     withHeader(rgb, Bytes(rgbScanlines.begin(), rgbScanlines.end() - 1)), 91, 2,
                     2});
    cases.push_back({"Adam7 without its last pass",
                     withHeader({2, 2, 8, 2, 0, 0, 1}, {0, 1, 2, 3, 0, 4, 5, 6}), 91, 2, 2});
    cases.push_back({"zlib header check",
                     pngFile({ihdr(rgb), chunk("IDAT", {0x78, 0x9D, 3, 0}), iend()}), 24, 2, 2});
    cases.push_back({"no IDAT", pngFile({ihdr(rgb), iend()}), 53, 2, 2});
    return cases;
}

TEST(PngErrors, EachFaultGivesItsCodeAndTheHeaderSizeOnceRead) {
    for (const ErrorCase& c : errorCases()) {
        const Decoded result = decode(c.file);
        EXPECT_EQ(result.error, c.error) << c.name << ": " << decodeErrorText(result.error);
        EXPECT_EQ(result.width, c.width) << c.name;
        EXPECT_EQ(result.height, c.height) << c.name;
    }
}

TEST(PngErrors, ABadFilterTypeOutranksAnEarlierBadPaletteIndex) {
    // Row 0 (or pass 1) holds index 5 of a 2-entry palette; a later scanline has filter type 5.
    const std::vector<ErrorCase> cases = {
        {"progressive", withHeader({2, 2, 8, 3}, {0, 5, 0, 5, 1, 0}, {palette(2)}), 36, 2, 2},
        {"Adam7", withHeader({2, 2, 8, 3, 0, 0, 1}, {0, 5, 0, 1, 5, 0, 1}, {palette(2)}), 36, 2, 2},
    };
    for (const ErrorCase& c : cases) {
        EXPECT_EQ(decode(c.file).error, c.error) << c.name;
    }
}

TEST(PngErrors, NullDataIsEmptyInput) {
    Bytes pixels;
    std::uint32_t width = 7;
    std::uint32_t height = 7;
    EXPECT_EQ(pngToRgba(pixels, width, height, nullptr, 100), 48u);
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(height, 0u);
}

TEST(PngErrors, EveryCodeHasItsOwnReason) {
    const std::vector<unsigned> codes = {
        10, 11, 13, 14, 15, 16, 18, 20, 21, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36,
        37, 38, 39, 40, 41, 42, 46, 47, 48, 49, 50, 51, 52, 53, 55, 63, 64, 69, 80, 81, 82, 90, 91};
    std::set<std::string> reasons;
    const std::string unknown = decodeErrorText(12345);
    for (const unsigned code : codes) {
        const std::string reason = decodeErrorText(code);
        EXPECT_NE(reason, unknown) << code;
        EXPECT_EQ(reason.find('\n'), std::string::npos) << code;
        reasons.insert(reason);
    }
    EXPECT_EQ(reasons.size(), codes.size());
}

// --- Corner cases ---------------------------------------------------------------------------

std::vector<unsigned> greyValues(const Decoded& result) {
    std::vector<unsigned> values;
    for (std::size_t i = 0; i < result.rgba.size(); i += 4) {
        EXPECT_EQ(result.rgba[i], result.rgba[i + 1]);
        EXPECT_EQ(result.rgba[i], result.rgba[i + 2]);
        EXPECT_EQ(result.rgba[i + 3], 255);
        values.push_back(result.rgba[i]);
    }
    return values;
}

TEST(PngConversion, LowBitGreyIsScaledToFullRange) {
    struct Case {
        unsigned depth;
        std::uint32_t width;
        Bytes row;
        std::vector<unsigned> values;
    };
    const std::vector<Case> cases = {
        {1, 10, {0xB2, 0x80}, {255, 0, 255, 255, 0, 0, 255, 0, 255, 0}},
        {2, 5, {0x1B, 0xC0}, {0, 85, 170, 255, 255}},
        {4, 3, {0x0F, 0x70}, {0, 255, 119}},
    };
    for (const Case& c : cases) {
        Bytes scanlines = {0};
        scanlines.insert(scanlines.end(), c.row.begin(), c.row.end());
        const Decoded result = decode(withHeader({c.width, 1, c.depth, 0}, scanlines));
        ASSERT_EQ(result.error, 0u) << c.depth;
        EXPECT_EQ(greyValues(result), c.values) << c.depth;
    }
}

TEST(PngConversion, RowsOfLowBitImagesStartInsideBytes) {
    // 3 x 3 at 1 bit: rows are 3 bits apart in the pixel stream, 1 byte each in the scanlines.
    const Bytes scanlines = {0, 0xA0, 0, 0x40, 0, 0xE0};
    const Decoded result = decode(withHeader({3, 3, 1, 0}, scanlines));
    ASSERT_EQ(result.error, 0u);
    const std::vector<unsigned> expected = {255, 0, 255, 0, 255, 0, 255, 255, 255};
    EXPECT_EQ(greyValues(result), expected);
}

TEST(PngConversion, ShortPaletteTransparencyKeepsTheRestOpaque) {
    const Decoded result =
        decode(withHeader({3, 1, 8, 3}, {0, 0, 1, 2}, {palette(3), chunk("tRNS", {10})}));
    ASSERT_EQ(result.error, 0u);
    const Bytes expected = {0, 10, 20, 10, 1, 10, 20, 255, 2, 10, 20, 255};
    EXPECT_EQ(result.rgba, expected);
}

TEST(PngConversion, ColourKeysMakeMatchingPixelsTransparent) {
    struct Case {
        const char* name;
        Header header;
        Bytes scanlines;
        Bytes transparency;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {"grey 8", {2, 1, 8, 0}, {0, 7, 8}, {0, 7}, {7, 7, 7, 0, 8, 8, 8, 255}},
        {"grey 8, key above 255", {2, 1, 8, 0}, {0, 7, 8}, {1, 7}, {7, 7, 7, 255, 8, 8, 8, 255}},
        {"grey 2, key before scaling",
         {2, 1, 2, 0},
         {0, 0x70},
         {0, 1},
         {85, 85, 85, 0, 255, 255, 255, 255}},
        {"grey 16, all 16 bits compared",
         {2, 1, 16, 0},
         {0, 0x12, 0x34, 0x12, 0x35},
         {0x12, 0x34},
         {0x12, 0x12, 0x12, 0, 0x12, 0x12, 0x12, 255}},
        {"RGB 8",
         {2, 1, 8, 2},
         {0, 1, 2, 3, 1, 2, 4},
         {0, 1, 0, 2, 0, 3},
         {1, 2, 3, 0, 1, 2, 4, 255}},
        {"RGB 16",
         {2, 1, 16, 2},
         {0, 1, 9, 2, 9, 3, 9, 1, 9, 2, 9, 3, 8},
         {1, 9, 2, 9, 3, 9},
         {1, 2, 3, 0, 1, 2, 3, 255}},
    };
    for (const Case& c : cases) {
        const Decoded result =
            decode(withHeader(c.header, c.scanlines, {chunk("tRNS", c.transparency)}));
        ASSERT_EQ(result.error, 0u) << c.name;
        EXPECT_EQ(result.rgba, c.expected) << c.name;
    }
}

TEST(PngConversion, HeaderInfoCarriesTheSideData) {
    // Adam7 at 2 x 1: one pixel in the first pass, one in the sixth.
    const Bytes file =
        withHeader({2, 1, 16, 2, 0, 0, 1}, {0, 1, 9, 2, 9, 3, 9, 0, 1, 9, 2, 9, 3, 9},
                   {chunk("tRNS", {1, 9, 2, 9, 3, 9})});
    Bytes pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    PngHeaderInfo info;
    info.keyDefined = true;
    info.palette = {1, 2, 3, 4};
    ASSERT_EQ(pngToRgba(pixels, width, height, file.data(), file.size(), info), 0u);
    EXPECT_EQ(info.width, 2u);
    EXPECT_EQ(info.bitDepth, 16u);
    EXPECT_EQ(info.colorType, 2u);
    EXPECT_EQ(info.interlaceMethod, 1u);
    EXPECT_TRUE(info.keyDefined);
    EXPECT_EQ(info.keyRed, 0x109u);
    EXPECT_EQ(info.keyGreen, 0x209u);
    EXPECT_EQ(info.keyBlue, 0x309u);
    EXPECT_TRUE(info.palette.empty());

    const Bytes plain = goodRgbFile();
    ASSERT_EQ(pngToRgba(pixels, width, height, plain.data(), plain.size(), info), 0u);
    EXPECT_FALSE(info.keyDefined);
}

TEST(PngChunks, CrcsAndTheAdlerTrailerAreNotChecked) {
    Bytes badCrcs = goodRgbFile();
    for (const std::size_t crcEnd : {std::size_t{33}, badCrcs.size() - 12, badCrcs.size()}) {
        badCrcs[crcEnd - 1] ^= 0xFF;
    }
    Bytes stream = zlibOf(rgbScanlines);
    stream.back() ^= 0xFF;
    stream[stream.size() - 3] ^= 0x0F;
    const Bytes badAdler = pngFile({ihdr(Header{}), chunk("IDAT", stream), iend()});
    for (const Bytes& file : {badCrcs, badAdler}) {
        const Decoded result = decode(file);
        ASSERT_EQ(result.error, 0u);
        EXPECT_EQ(result.rgba, rgbPixels);
    }
}

TEST(PngChunks, AncillaryChunksAreSkippedAndIdatPiecesJoined) {
    const Bytes stream = zlibOf(rgbScanlines);
    const Bytes first(stream.begin(), stream.begin() + 5);
    const Bytes second(stream.begin() + 5, stream.end());
    const Bytes file = pngFile({ihdr(Header{}), chunk("heMo", {1, 2, 3}), chunk("IDAT", first),
                                chunk("tEXt", {'a', 0, 'b'}), chunk("IDAT", {}),
                                chunk("IDAT", second), chunk("zzzz", {}), iend()});
    const Decoded result = decode(file);
    ASSERT_EQ(result.error, 0u);
    EXPECT_EQ(result.rgba, rgbPixels);
}

TEST(PngChunks, NothingAfterIendIsRead) {
    Bytes file = goodRgbFile();
    file.insert(file.end(), {0xFF, 0xFF, 0xFF, 0xFF, 'B', 'A', 'D', '!'});
    EXPECT_EQ(decode(file).error, 0u);
}

TEST(PngImage, ZeroWidthOrHeightGivesNoPixels) {
    for (const Header& header : {Header{0, 3, 8, 6}, Header{3, 0, 8, 2}, Header{0, 0, 1, 0}}) {
        const Bytes scanlines(header.height, 0);
        const Decoded result = decode(withHeader(header, scanlines));
        EXPECT_EQ(result.error, 0u);
        EXPECT_TRUE(result.rgba.empty());
        EXPECT_EQ(result.width, header.width);
        EXPECT_EQ(result.height, header.height);
    }
}

TEST(PngImage, ExtraScanlineDataIsIgnored) {
    Bytes scanlines = rgbScanlines;
    scanlines.insert(scanlines.end(), 50, 9);
    const Decoded result = decode(withHeader(Header{}, scanlines));
    ASSERT_EQ(result.error, 0u);
    EXPECT_EQ(result.rgba, rgbPixels);
}

// A small picture with a few colours and some transparency, as RGBA 8-bit samples.
Bytes samplePicture(std::uint32_t width, std::uint32_t height) {
    const Bytes colours = {200, 30, 30, 255, 30, 200, 30, 255, 30, 30, 200, 128, 0, 0, 0, 0};
    Bytes rgba;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::size_t colour = ((x * 7 + y * 3) / 2) % 4;
            rgba.insert(rgba.end(), colours.begin() + 4 * colour, colours.begin() + 4 * colour + 4);
        }
    }
    return rgba;
}

TEST(PngImage, ThreeByThreeAdam7Decodes) {
    OracleImage image;
    image.width = 3;
    image.height = 3;
    image.interlaced = true;
    image.rows = samplePicture(3, 3);
    const Decoded result = decode(encodeWithLibpng(image));
    ASSERT_EQ(result.error, 0u) << decodeErrorText(result.error);
    EXPECT_EQ(result.rgba, image.rows);
}

TEST(PngImage, OnePictureInEveryStorageDecodesTheSame) {
    const std::uint32_t width = 13;
    const std::uint32_t height = 11;
    const Bytes rgba = samplePicture(width, height);
    std::vector<OracleImage> images;
    for (const bool interlaced : {false, true}) {
        OracleImage eight{width, height, 8, 6, interlaced, rgba, {}, {}};
        OracleImage sixteen{width, height, 16, 6, interlaced, {}, {}, {}};
        OracleImage indexed{width, height, 8, 3, interlaced, {}, {}, {}};
        OracleImage packed{width, height, 2, 3, interlaced, {}, {}, {}};
        std::vector<Bytes> colours;
        Bytes packedRow;
        for (std::size_t i = 0; i < rgba.size(); i += 4) {
            const Bytes colour(rgba.begin() + i, rgba.begin() + i + 4);
            for (const unsigned char sample : colour) {
                sixteen.rows.push_back(sample);
                sixteen.rows.push_back(
                    static_cast<unsigned char>(sample ^ 0x5A)); // low byte dropped
            }
            auto found = std::find(colours.begin(), colours.end(), colour);
            if (found == colours.end()) {
                colours.push_back(colour);
                found = colours.end() - 1;
            }
            const auto index = static_cast<unsigned char>(found - colours.begin());
            indexed.rows.push_back(index);
            const std::size_t x = (i / 4) % width;
            if (x % 4 == 0) {
                packed.rows.push_back(0);
            }
            packed.rows.back() |= static_cast<unsigned char>(index << (6 - 2 * (x % 4)));
        }
        for (const Bytes& colour : colours) {
            indexed.palette.insert(indexed.palette.end(), colour.begin(), colour.begin() + 3);
            indexed.paletteAlpha.push_back(colour[3]);
        }
        packed.palette = indexed.palette;
        packed.paletteAlpha = indexed.paletteAlpha;
        images.insert(images.end(), {eight, sixteen, indexed, packed});
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        const Bytes file = encodeWithLibpng(images[i]);
        ASSERT_FALSE(file.empty()) << i;
        const Decoded result = decode(file);
        ASSERT_EQ(result.error, 0u) << i;
        EXPECT_EQ(result.rgba, rgba) << "storage " << i;
    }
}

TEST(PngImage, EveryFilterTypeIsUndone) {
    // 3 x 2 grey with alpha at 16 bits (byte distance 4): each row filtered with one type, the
    // raw bytes chosen so that Paeth picks each of its three predictors somewhere.
    const Bytes raw = {10, 0, 200, 0, 20, 0, 100, 0, 250, 0, 50, 0,
                       30, 0, 90,  0, 5,  0, 255, 0, 240, 0, 10, 0};
    const std::size_t rowBytes = 12;
    for (unsigned top = 0; top <= 4; ++top) {
        for (unsigned bottom = 0; bottom <= 4; ++bottom) {
            Bytes scanlines;
            for (unsigned row = 0; row < 2; ++row) {
                const unsigned type = row == 0 ? top : bottom;
                scanlines.push_back(static_cast<unsigned char>(type));
                for (std::size_t i = 0; i < rowBytes; ++i) {
                    const int x = raw[row * rowBytes + i];
                    const int a = i >= 4 ? raw[row * rowBytes + i - 4] : 0;
                    const int b = row > 0 ? raw[i] : 0;
                    const int c = row > 0 && i >= 4 ? raw[i - 4] : 0;
                    const int p = a + b - c;
                    const int pa = std::abs(p - a);
                    const int pb = std::abs(p - b);
                    const int pc = std::abs(p - c);
                    const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
                    const int predictors[5] = {0, a, b, (a + b) / 2, paeth};
                    scanlines.push_back(static_cast<unsigned char>(x - predictors[type]));
                }
            }
            const Decoded result = decode(withHeader({3, 2, 16, 4}, scanlines));
            ASSERT_EQ(result.error, 0u) << top << bottom;
            for (std::size_t pixel = 0; pixel < 6; ++pixel) {
                EXPECT_EQ(result.rgba[4 * pixel], raw[4 * pixel]) << top << bottom;
                EXPECT_EQ(result.rgba[4 * pixel + 3], raw[4 * pixel + 2]) << top << bottom;
            }
        }
    }
}

TEST(PngImage, EveryFilterOnEveryPixelSizeMatchesLibpng) {
    // Arbitrary filtered bytes under every pair of filter types for the first row (which has no
    // row above) and the second, for every byte distance and every colour type, with the row
    // length not a multiple of 8 pixels.
    const std::vector<Header> formats = {
        {5, 2, 1, 0}, {5, 2, 2, 0},  {5, 2, 4, 0},  {5, 2, 8, 0}, {5, 2, 16, 0},
        {5, 2, 8, 2}, {5, 2, 16, 2}, {5, 2, 1, 3},  {5, 2, 2, 3}, {5, 2, 4, 3},
        {5, 2, 8, 3}, {5, 2, 8, 4},  {5, 2, 16, 4}, {5, 2, 8, 6}, {5, 2, 16, 6},
    };
    unsigned seed = 1;
    for (const Header& header : formats) {
        // A palette with an entry for every index of the depth.
        Bytes fullPalette;
        for (unsigned i = 0; i < (1u << std::min(header.bitDepth, 8u)); ++i) {
            fullPalette.insert(fullPalette.end(),
                               {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i),
                                static_cast<unsigned char>(i * 7)});
        }
        const std::vector<Bytes> side = {chunk("PLTE", fullPalette)};
        const unsigned channels = header.colorType == 2   ? 3
                                  : header.colorType == 4 ? 2
                                  : header.colorType == 6 ? 4
                                                          : 1;
        const std::size_t rowBytes = (header.width * channels * header.bitDepth + 7) / 8;
        for (unsigned types = 0; types < 25; ++types) {
            Bytes scanlines;
            for (unsigned row = 0, rest = types; row < header.height; ++row, rest /= 5) {
                scanlines.push_back(static_cast<unsigned char>(rest % 5));
                for (std::size_t i = 0; i < rowBytes; ++i) {
                    seed = seed * 1103515245u + 12345u;
                    scanlines.push_back(static_cast<unsigned char>(seed >> 16));
                }
            }
            const Bytes file =
                withHeader(header, scanlines, header.colorType == 3 ? side : std::vector<Bytes>{});
            OraclePicture expected;
            ASSERT_TRUE(decodeWithLibpng(file, expected));
            const Decoded ours = decode(file);
            ASSERT_EQ(ours.error, 0u) << decodeErrorText(ours.error);
            ASSERT_TRUE(ours.rgba == expected.rgba)
                << "colour type " << header.colorType << ", depth " << header.bitDepth
                << ", filter types " << types % 5 << types / 5;
        }
    }
}

} // namespace
