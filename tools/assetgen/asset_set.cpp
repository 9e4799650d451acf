#include "asset_set.h"

#include "announcer.h"
#include "file_output.h"
#include "font_source.h"
#include "pictures.h"
#include "png_writer.h"
#include "sounds.h"
#include "texts.h"
#include "wav_writer.h"

#include <cstdio>
#include <filesystem>

namespace {

constexpr const char* fontFileName = "csnpwdt.ttf";

bool fail(const std::string& message) {
    std::fprintf(stderr, "hemorune-assets: %s\n", message.c_str());
    return false;
}

bool writePictures(const std::string& outputDir, const FontFace& font) {
    for (const NamedImage& picture : makeAllPictures(font)) {
        const std::string path = outputDir + "/" + picture.fileName;
        if (!writeFileBytes(path, encodePng(picture.image))) {
            return fail("cannot write " + path);
        }
    }
    return true;
}

bool writeSounds(const std::string& outputDir) {
    std::vector<NamedSound> sounds = makeAllSounds();
    std::string error;
    std::vector<NamedSound> voices = makeAnnouncerClips(error);
    if (!error.empty()) {
        return fail(error);
    }
    sounds.insert(sounds.end(), voices.begin(), voices.end());
    for (const NamedSound& sound : sounds) {
        const std::string path = outputDir + "/" + sound.fileName;
        if (!writeFileBytes(path, encodeWav(sound.samples))) {
            return fail("cannot write " + path);
        }
    }
    return true;
}

} // namespace

bool generateAssets(const std::string& outputDir) {
    std::error_code error;
    std::filesystem::create_directories(outputDir + "/IMGS", error);
    if (error) {
        return fail("cannot make " + outputDir + "/IMGS: " + error.message());
    }
    const FontLookup lookup = findGameFont();
    if (lookup.path.empty()) {
        return fail(lookup.error);
    }
    const std::string fontCopy = outputDir + "/" + fontFileName;
    std::filesystem::copy_file(lookup.path, fontCopy,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        return fail("cannot copy " + lookup.path + " to " + fontCopy + ": " + error.message());
    }
    FontFace font;
    if (!openFontFace(font, fontCopy)) {
        return fail("FreeType cannot read " + fontCopy);
    }
    const bool picturesDone = writePictures(outputDir, font);
    closeFontFace(font);
    if (!picturesDone || !writeSounds(outputDir)) {
        return false;
    }
    if (!writeFileText(outputDir + "/help.txt", makeHelpText()) ||
        !writeFileText(outputDir + "/credits.txt", makeCreditsText())) {
        return fail("cannot write the texts into " + outputDir);
    }
    return true;
}
