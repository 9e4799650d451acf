// hemorune-assets icon OUT.png SIZE: the desktop icon, SIZE x SIZE pixels.
#include "command.h"

#include "file_output.h"
#include "icon.h"
#include "png_writer.h"

#include <cstdio>
#include <cstdlib>

namespace {

int runIcon(int argc, char** argv) {
    char* end = nullptr;
    const long size = argc == 3 ? std::strtol(argv[2], &end, 10) : 0;
    if (argc != 3 || *end != '\0' || size < 1 || size > 1024) {
        std::fprintf(stderr, "usage: hemorune-assets icon OUT.png SIZE (SIZE from 1 to 1024)\n");
        return 2;
    }
    if (!writeFileBytes(argv[1], encodePng(makeIcon(static_cast<int>(size))))) {
        std::fprintf(stderr, "hemorune-assets: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

const CommandRegistration registration("icon", "icon OUT.png SIZE", runIcon);

} // namespace
