// The game's font: a freely licensed bold sans-serif face of the system's font packages, found
// with fontconfig and copied into the run directory as "csnpwdt.ttf".
#pragma once

#include <string>

struct FontLookup {
    std::string path;  // the font file; empty when none was found
    std::string error; // why not, for the build log
};

// Asks fc-match for DejaVu Sans Bold (Debian's fonts-dejavu-core), the face the credits name.
FontLookup findGameFont();
