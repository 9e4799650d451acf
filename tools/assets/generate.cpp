// hemorune-assets generate OUTDIR: writes every picture, sound, text and the font the game reads.
#include "command.h"

#include "asset_set.h"

#include <cstdio>

namespace {

int runGenerate(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: hemorune-assets generate OUTDIR\n");
        return 2;
    }
    return generateAssets(argv[1]) ? 0 : 1;
}

const CommandRegistration registration("generate", "generate OUTDIR", runGenerate);

} // namespace
