// The run directory as the generator writes it: every file the game opens, in a form the game
// and its libraries can read, twice the same.
#include "text_render.h"

#include <gtest/gtest.h>
#include <png.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> gamePictures = {
    "qor_back.png",    "qor_back2.png",    "qor_bubi.png",    "qor_virus5.png",  "qor_virus7.png",
    "qor_virus8.png",  "qor_virus5h2.png", "qor_bullet1.png", "qor_bullet2.png", "qor_bullet3.png",
    "qor_bullet4.png", "life.png",         "life2.png",       "life3.png",       "qor_fver3.png",
    "qor_fver2.png",   "qor_fver.png",     "qor_fverx1.png",  "qor_fverx2.png",  "qor_vver.png",
    "qor_cigi.png",    "qor_cigi2.png",    "qor_olaj.png",    "qor_szuri.png",   "qor_bumm1.png",
    "qor_bumm2.png",   "qor_bumm3.png",    "qor_bumm4.png",   "qor_bumm5.png",   "qor_bumm6.png",
    "qor_bumm7.png",   "qor_bumm8.png",    "qor_bumm9.png",   "qor_bumm10.png"};

const std::vector<std::string> menuPictures = {
    "IMGS/back.png",        "IMGS/play0.png",       "IMGS/play1.png",       "IMGS/settings0.png",
    "IMGS/settings1.png",   "IMGS/help0.png",       "IMGS/help1.png",       "IMGS/highscore0.png",
    "IMGS/highscore1.png",  "IMGS/credits0.png",    "IMGS/credits1.png",    "IMGS/exit0.png",
    "IMGS/exit1.png",       "IMGS/apply0.png",      "IMGS/apply1.png",      "IMGS/cancel0.png",
    "IMGS/cancel1.png",     "IMGS/playername0.png", "IMGS/playername1.png", "IMGS/fullscreen0.png",
    "IMGS/fullscreen1.png", "IMGS/on0.png",         "IMGS/on1.png",         "IMGS/off0.png",
    "IMGS/off1.png",        "IMGS/resolution0.png", "IMGS/resolution1.png", "IMGS/640x480_1.png",
    "IMGS/800x600_1.png",   "IMGS/1024x768_1.png",  "IMGS/1280x1024_1.png", "IMGS/1280x800_1.png",
    "IMGS/music0.png",      "IMGS/music1.png",      "IMGS/sfx0.png",        "IMGS/sfx1.png",
    "IMGS/0_0.png",         "IMGS/0_1.png",         "IMGS/25_0.png",        "IMGS/25_1.png",
    "IMGS/50_0.png",        "IMGS/50_1.png",        "IMGS/75_0.png",        "IMGS/75_1.png",
    "IMGS/100_0.png",       "IMGS/100_1.png"};

const std::vector<std::string> musicLoops = {"menu2.wav", "ingame2.wav", "ingame5.wav",
                                             "chainsaw.wav", "loves.wav"};

const std::vector<std::string> effects = {"DRIPITY.WAV", "TAOOOT.WAV",     "THUMP.WAV", "WALL.WAV",
                                          "explode.wav", "loadclip.wav",   "pig.wav",   "ploop.wav",
                                          "pig_4.wav",   "implosion2.wav", "HIT.WAV"};

const std::vector<std::string> announcerClips = {"damageborsos.wav", "bloodpressure.wav",
                                                 "godlike.wav",      "perfectshooter.wav",
                                                 "hardrockin.wav",   "beatmachine.wav"};

const std::vector<std::string> otherFiles = {"csnpwdt.ttf", "help.txt", "credits.txt"};

std::vector<std::string> allGameFiles() {
    std::vector<std::string> all;
    for (const auto* list :
         {&gamePictures, &menuPictures, &musicLoops, &effects, &announcerClips, &otherFiles}) {
        all.insert(all.end(), list->begin(), list->end());
    }
    return all;
}

std::vector<std::uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct DecodedPng {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

DecodedPng readPng(const fs::path& path) {
    const std::vector<std::uint8_t> file = readBytes(path);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    DecodedPng out;
    if (png_image_begin_read_from_memory(&image, file.data(), file.size()) == 0) {
        ADD_FAILURE() << path << ": " << image.message;
        return out;
    }
    image.format = PNG_FORMAT_RGBA;
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) == 0) {
        ADD_FAILURE() << path << ": " << image.message;
        return DecodedPng{};
    }
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    return out;
}

struct Wav {
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<int> samples;
};

std::uint32_t little(const std::vector<std::uint8_t>& b, std::size_t at, int count) {
    std::uint32_t v = 0;
    for (int i = count - 1; i >= 0; --i) {
        v = (v << 8) | b[at + i];
    }
    return v;
}

// Reads the canonical 44-byte-header WAV layout that ALUT's loader takes.
Wav readWav(const fs::path& path) {
    const std::vector<std::uint8_t> b = readBytes(path);
    Wav wav;
    if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 16) != "WAVEfmt " ||
        std::string(b.begin() + 36, b.begin() + 40) != "data") {
        ADD_FAILURE() << path << " is not a plain RIFF WAVE file";
        return wav;
    }
    wav.format = static_cast<int>(little(b, 20, 2));
    wav.channels = static_cast<int>(little(b, 22, 2));
    wav.rate = static_cast<int>(little(b, 24, 4));
    wav.bits = static_cast<int>(little(b, 34, 2));
    const std::size_t size = little(b, 40, 4);
    EXPECT_EQ(size + 44, b.size()) << path;
    EXPECT_EQ(little(b, 4, 4) + 8, b.size()) << path;
    for (std::size_t i = 44; i + 1 < b.size(); i += 2) {
        wav.samples.push_back(static_cast<std::int16_t>(little(b, i, 2)));
    }
    return wav;
}

double rms(const std::vector<int>& samples, std::size_t begin, std::size_t end) {
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return std::sqrt(sum / static_cast<double>(end - begin));
}

// One generator run into a temporary folder, made on first use and shared by the tests of this
// process (ctest runs each test in a process of its own).
class GeneratedRun {
  public:
    explicit GeneratedRun(const std::string& name)
        : folder(fs::temp_directory_path() /
                 ("hemorune-assets-" + std::to_string(getpid()) + "-" + name)) {
        fs::remove_all(folder);
        const std::string tool = std::string(HEMORUNE_TOOLS_DIR) + "/hemorune-assets";
        status = std::system(("'" + tool + "' generate '" + folder.string() + "'").c_str());
    }
    ~GeneratedRun() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    GeneratedRun(const GeneratedRun&) = delete;
    GeneratedRun& operator=(const GeneratedRun&) = delete;

    fs::path folder;
    int status = -1;
};

const GeneratedRun& firstRun() {
    static const GeneratedRun run("first");
    return run;
}

class GeneratedAssets : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(firstRun().status, 0) << "hemorune-assets generate failed";
        first = firstRun().folder;
    }
    fs::path first;
};

TEST_F(GeneratedAssets, WritesEveryFileTheGameOpensTheSameOnEveryRun) {
    for (const std::string& name : allGameFiles()) {
        const fs::path path = first / name;
        EXPECT_TRUE(fs::is_regular_file(path)) << name;
        EXPECT_GT(fs::is_regular_file(path) ? fs::file_size(path) : 0u, 0u) << name;
    }
    const GeneratedRun second("second");
    ASSERT_EQ(second.status, 0);
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(first)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const fs::path relative = fs::relative(entry.path(), first);
        EXPECT_TRUE(readBytes(entry.path()) == readBytes(second.folder / relative)) << relative;
        ++compared;
    }
    EXPECT_EQ(compared, static_cast<int>(allGameFiles().size()));
}

TEST_F(GeneratedAssets, PicturesAreRgbaSpritesAndTheBackgroundsFitTheirLayers) {
    std::vector<std::string> pictures = gamePictures;
    pictures.insert(pictures.end(), menuPictures.begin(), menuPictures.end());
    for (const std::string& name : pictures) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> file = readBytes(first / name);
        ASSERT_GE(file.size(), 33u);
        EXPECT_EQ(file[24], 8); // bit depth
        EXPECT_EQ(file[25], 6); // RGBA
        const DecodedPng png = readPng(first / name);
        ASSERT_GT(png.width, 0);
        EXPECT_LE(png.width, 1024);
        EXPECT_LE(png.height, 1024);
        int opaque = 0;
        int badAlpha = 0;
        for (std::size_t i = 3; i < png.rgba.size(); i += 4) {
            opaque += png.rgba[i] == 255 ? 1 : 0;
            badAlpha += (png.rgba[i] != 0 && png.rgba[i] != 255) ? 1 : 0;
        }
        EXPECT_EQ(badAlpha, 0);
        EXPECT_GT(opaque, 0);
    }
    for (const char* name : {"qor_back.png", "IMGS/back.png"}) {
        const DecodedPng png = readPng(first / name);
        bool allOpaque = true;
        for (std::size_t i = 3; i < png.rgba.size(); i += 4) {
            allOpaque = allOpaque && png.rgba[i] == 255;
        }
        EXPECT_TRUE(allOpaque) << name;
    }
    // The flowing layer: a copy is drawn straight above it, so its top and bottom rows meet;
    // mostly clear, so the vessel behind shows through.
    const DecodedPng flow = readPng(first / "qor_back2.png");
    ASSERT_GT(flow.height, 2);
    const std::size_t stride = static_cast<std::size_t>(flow.width) * 4;
    const std::vector<std::uint8_t> top(flow.rgba.begin(), flow.rgba.begin() + stride);
    const std::vector<std::uint8_t> bottom(flow.rgba.end() - stride, flow.rgba.end());
    EXPECT_TRUE(top == bottom);
    int clear = 0;
    for (std::size_t i = 3; i < flow.rgba.size(); i += 4) {
        clear += flow.rgba[i] == 0 ? 1 : 0;
    }
    EXPECT_GT(clear, flow.width * flow.height * 6 / 10);
}

TEST_F(GeneratedAssets, SoundsArePcm16AndTheLoopsJoinWithoutAClick) {
    std::vector<std::string> sounds = musicLoops;
    sounds.insert(sounds.end(), effects.begin(), effects.end());
    sounds.insert(sounds.end(), announcerClips.begin(), announcerClips.end());
    for (const std::string& name : sounds) {
        SCOPED_TRACE(name);
        const Wav wav = readWav(first / name);
        EXPECT_EQ(wav.format, 1);
        EXPECT_EQ(wav.channels, 1);
        EXPECT_TRUE(wav.rate == 22050 || wav.rate == 44100);
        EXPECT_EQ(wav.bits, 16);
        ASSERT_GT(wav.samples.size(), 1000u);
        EXPECT_GT(rms(wav.samples, 0, wav.samples.size()), 1000.0);
    }
    constexpr int threshold = 1200; // of 32767: well under what a click needs
    for (const std::string& name : musicLoops) {
        SCOPED_TRACE(name);
        const Wav wav = readWav(first / name);
        ASSERT_GT(wav.samples.size(), 2u);
        EXPECT_LE(std::abs(wav.samples.back() - wav.samples.front()), threshold);
    }
    for (const char* name : {"menu2.wav", "ingame2.wav", "ingame5.wav"}) {
        const Wav wav = readWav(first / name);
        const double seconds = static_cast<double>(wav.samples.size()) / wav.rate;
        EXPECT_GE(seconds, 8.0) << name;
        EXPECT_LE(seconds, 20.0) << name;
    }
    const Wav intro = readWav(first / "chainsaw.wav");
    EXPECT_NEAR(static_cast<double>(intro.samples.size()) / intro.rate, 5.0, 0.01);
    // The game restarts the firing sound every 16 ms frame while the key is held.
    const Wav firing = readWav(first / "loves.wav");
    const std::size_t frame = static_cast<std::size_t>(firing.rate) * 16 / 1000;
    ASSERT_GT(firing.samples.size(), frame);
    EXPECT_GT(rms(firing.samples, 0, frame), 4000.0);
}

std::vector<std::string> readLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

TEST_F(GeneratedAssets, FontIsBoldAndTheTextsFitTheirScreens) {
    FontFace font;
    ASSERT_TRUE(openFontFace(font, (first / "csnpwdt.ttf").string()));
    EXPECT_TRUE(font.face->style_flags & FT_STYLE_FLAG_BOLD);
    EXPECT_TRUE(FT_IS_SCALABLE(font.face));
    closeFontFace(font);
    const std::vector<std::string> help = readLines(first / "help.txt");
    // The help screen draws line i at y 1.8 - 0.3 i; below the fourteenth the name plate starts.
    EXPECT_LE(help.size(), 14u);
    for (const std::string& line : help) {
        EXPECT_LE(line.size(), 44u) << line;
    }
    std::ifstream in(first / "credits.txt");
    const std::string credits((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(credits.find("the Hemorune developers"), std::string::npos);
    EXPECT_NE(credits.find("DejaVu"), std::string::npos);
    EXPECT_NE(credits.find("Permission is hereby granted, free of charge"), std::string::npos);
}

} // namespace
