// hemorune-assets sheet OUT.png: every generated picture on one review sheet.
#include "command.h"

#include "contact_sheet.h"
#include "file_output.h"
#include "font_source.h"
#include "pictures.h"
#include "png_writer.h"

#include <cstdio>

namespace {

int runSheet(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: hemorune-assets sheet OUT.png\n");
        return 2;
    }
    const FontLookup lookup = findGameFont();
    FontFace font;
    if (lookup.path.empty() || !openFontFace(font, lookup.path)) {
        std::fprintf(stderr, "hemorune-assets: %s\n",
                     lookup.error.empty() ? "the font cannot be read" : lookup.error.c_str());
        return 1;
    }
    const std::vector<NamedImage> pictures = makeAllPictures(font);
    const Image sheet = makeContactSheet(pictures, font);
    closeFontFace(font);
    if (!writeFileBytes(argv[1], encodePng(sheet))) {
        std::fprintf(stderr, "hemorune-assets: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

const CommandRegistration registration("sheet", "sheet OUT.png", runSheet);

} // namespace
