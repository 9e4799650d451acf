// Every picture under the name the game opens it by.
#include "pictures.h"

#include <array>
#include <string>

namespace {

struct ButtonName {
    const char* file; // without the 0/1 suffix
    const char* label;
};

} // namespace

std::vector<NamedImage> makeAllPictures(const FontFace& font) {
    std::vector<NamedImage> pictures;
    auto add = [&](std::string name, Image image) {
        pictures.push_back(NamedImage{std::move(name), std::move(image)});
    };
    add("qor_back.png", makeVesselBackground());
    add("qor_back2.png", makeFlowLayer());
    add("qor_virus5.png", makeVirus(VirusLook::resting));
    add("qor_virus7.png", makeVirus(VirusLook::firingA));
    add("qor_virus8.png", makeVirus(VirusLook::firingB));
    add("qor_virus5h2.png", makeVirus(VirusLook::dying));
    add("qor_fver3.png", makeWhiteCell(WhiteCellLook::alive));
    add("qor_fver2.png", makeWhiteCell(WhiteCellLook::dead));
    add("qor_fver.png", makeWhiteCell(WhiteCellLook::revived));
    add("qor_fverx1.png", makeWhiteCell(WhiteCellLook::leftHalf));
    add("qor_fverx2.png", makeWhiteCell(WhiteCellLook::rightHalf));
    add("qor_vver.png", makeRedCell());
    add("qor_bubi.png", makeBubble());
    add("qor_cigi.png", makeCigarette(CigaretteLook::fresh));
    add("qor_cigi2.png", makeCigarette(CigaretteLook::burnt));
    add("qor_olaj.png", makeOilDrop());
    add("qor_szuri.png", makeSyringe());
    add("qor_bullet1.png", makeBullet());
    for (int frame = 1; frame <= 3; ++frame) {
        add("qor_bullet" + std::to_string(frame + 1) + ".png", makeImpactFlash(frame));
    }
    for (int frame = 1; frame <= 10; ++frame) {
        add("qor_bumm" + std::to_string(frame) + ".png", makeExplosionFrame(frame));
    }
    add("life.png", makeCellHealthBar());
    add("life2.png", makeHealthGauge());
    add("life3.png", makeDamageGauge());

    add("IMGS/back.png", makeMenuBackground(font));
    constexpr std::array<ButtonName, 6> buttons = {{{"play", "PLAY"},
                                                    {"settings", "SETTINGS"},
                                                    {"help", "HELP"},
                                                    {"highscore", "SCORES"},
                                                    {"credits", "CREDITS"},
                                                    {"exit", "EXIT"}}};
    for (const ButtonName& button : buttons) {
        for (int lit = 0; lit < 2; ++lit) {
            add(std::string("IMGS/") + button.file + std::to_string(lit) + ".png",
                makeMenuButton(font, button.label, lit == 1));
        }
    }
    constexpr std::array<ButtonName, 6> labels = {{{"fullscreen", "FULLSCREEN"},
                                                   {"resolution", "RESOLUTION"},
                                                   {"music", "MUSIC"},
                                                   {"sfx", "EFFECTS"},
                                                   {"apply", "APPLY"},
                                                   {"cancel", "CANCEL"}}};
    for (const ButtonName& label : labels) {
        for (int lit = 0; lit < 2; ++lit) {
            add(std::string("IMGS/") + label.file + std::to_string(lit) + ".png",
                makeSettingsLabel(font, label.label, lit == 1));
        }
    }
    for (int lit = 0; lit < 2; ++lit) {
        add("IMGS/playername" + std::to_string(lit) + ".png", makePlayerNameLabel(font, lit == 1));
        add("IMGS/on" + std::to_string(lit) + ".png", makeSwitchValue(font, "ON", lit == 1));
        add("IMGS/off" + std::to_string(lit) + ".png", makeSwitchValue(font, "OFF", lit == 1));
    }
    for (const char* resolution : {"640x480", "800x600", "1024x768", "1280x1024", "1280x800"}) {
        add(std::string("IMGS/") + resolution + "_1.png", makeResolutionValue(font, resolution));
    }
    for (int volume = 0; volume <= 100; volume += 25) {
        for (int lit = 0; lit < 2; ++lit) {
            add("IMGS/" + std::to_string(volume) + "_" + std::to_string(lit) + ".png",
                makeVolumeValue(font, volume, lit == 1));
        }
    }
    return pictures;
}
