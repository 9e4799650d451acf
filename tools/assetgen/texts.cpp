#include "texts.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 14> helpLines = {
    "CONTROLS",
    "Arrow keys .. steer the virus",
    "Ctrl ........ fire",
    "Shift ....... reload",
    "Esc ......... quit      F1 ... frame rate",
    "",
    "Shoot the white cells, dodge the red ones.",
    "Shoot bubbles and catch what falls out:",
    "  cigarette .. health",
    "  oil drop ... five of them: DOUBLE DAMAGE",
    "  syringe .... many of them: UNHARMABLE",
    "  syringe meets oil drop ... BOOM",
    "",
    "Survive three levels and earn the bonuses!",
};

// Every other line is empty: the credits are drawn 30 pixels high but only 0.3 units apart.
// Nothing is written where the name plate of the menu picture shows (lines 13 to 17); the full
// font licence follows below the bottom of the screen.
constexpr std::array<std::string_view, 21> creditLines = {
    "HEMORUNE",
    "",
    "by the Hemorune developers",
    "",
    "Made with SDL2, OpenGL, FTGL,",
    "",
    "OpenAL Soft, freealut, FreeType",
    "",
    "Voices by espeak-ng",
    "",
    "Font: DejaVu Sans Bold",
    "",
    "by the DejaVu fonts team",
    "",
    "",
    "",
    "",
    "",
    "Font licence: Bitstream Vera",
    "",
    "",
};

constexpr std::string_view fontLicence =
    R"(DejaVu fonts: https://dejavu-fonts.github.io/
Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved.
Bitstream Vera is a trademark of Bitstream, Inc.
DejaVu changes are in public domain.

Permission is hereby granted, free of charge, to any person obtaining a copy
of the fonts accompanying this license ("Fonts") and associated
documentation files (the "Font Software"), to reproduce and distribute the
Font Software, including without limitation the rights to use, copy, merge,
publish, distribute, and/or sell copies of the Font Software, and to permit
persons to whom the Font Software is furnished to do so, subject to the
following conditions:

The above copyright and trademark notices and this permission notice shall
be included in all copies of one or more of the Font Software typefaces.

The Font Software may be modified, altered, or added to, and in particular
the designs of glyphs or characters in the Fonts may be modified and
additional glyphs or characters may be added to the Fonts, only if the fonts
are renamed to names not containing either the words "Bitstream" or the word
"Vera".

This License becomes null and void to the extent applicable to Fonts or Font
Software that has been modified and is distributed under the "Bitstream
Vera" names.

The Font Software may be sold as part of a larger software package but no
copy of one or more of the Font Software typefaces may be sold by itself.

THE FONT SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS
OR IMPLIED, INCLUDING BUT NOT LIMITED TO ANY WARRANTIES OF MERCHANTABILITY,
FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT OF COPYRIGHT, PATENT,
TRADEMARK, OR OTHER RIGHT. IN NO EVENT SHALL BITSTREAM OR THE GNOME
FOUNDATION BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, INCLUDING
ANY GENERAL, SPECIAL, INDIRECT, INCIDENTAL, OR CONSEQUENTIAL DAMAGES,
WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF
THE USE OR INABILITY TO USE THE FONT SOFTWARE OR FROM OTHER DEALINGS IN THE
FONT SOFTWARE.

Except as contained in this notice, the names of Gnome, the Gnome
Foundation, and Bitstream Inc., shall not be used in advertising or
otherwise to promote the sale, use or other dealings in this Font Software
without prior written authorization from the Gnome Foundation or Bitstream
Inc., respectively. For further information, contact: fonts at gnome dot
org.
)";

} // namespace

std::string makeHelpText() {
    std::string text;
    for (std::string_view line : helpLines) {
        text.append(line);
        text.push_back('\n');
    }
    return text;
}

std::string makeCreditsText() {
    std::string text;
    for (std::string_view line : creditLines) {
        text.append(line);
        text.push_back('\n');
    }
    text.append(fontLicence);
    return text;
}
