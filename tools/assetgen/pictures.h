// Every picture of the game, made from code. Each maker returns one finished RGBA image;
// makeAllPictures lists them all under the file names the game opens.
#pragma once

#include "image.h"
#include "text_render.h"

#include <vector>

enum class VirusLook { resting, firingA, firingB, dying };
enum class WhiteCellLook { alive, dead, revived, leftHalf, rightHalf };
enum class CigaretteLook { fresh, burnt };

Image makeVirus(VirusLook look);
Image makeBullet();
Image makeImpactFlash(int frame); // 1..3: "qor_bullet2.png" .. "qor_bullet4.png"

Image makeWhiteCell(WhiteCellLook look);
Image makeRedCell();
Image makeBubble();

Image makeCigarette(CigaretteLook look);
Image makeOilDrop();
Image makeSyringe();

Image makeExplosionFrame(int frame); // 1..10
Image makeCellHealthBar();
Image makeHealthGauge();
Image makeDamageGauge();

Image makeVesselBackground(); // "qor_back.png"
Image makeFlowLayer();        // "qor_back2.png": tiles vertically, mostly transparent
Image makeMenuBackground(const FontFace& font);

// Menu labels and values; `lit` is the highlighted (or marked) form.
Image makeMenuButton(const FontFace& font, const char* label, bool lit);
Image makeSettingsLabel(const FontFace& font, const char* label, bool lit);
Image makePlayerNameLabel(const FontFace& font, bool lit);
Image makeSwitchValue(const FontFace& font, const char* label, bool lit);
Image makeResolutionValue(const FontFace& font, const char* label);
Image makeVolumeValue(const FontFace& font, int volume, bool lit);

std::vector<NamedImage> makeAllPictures(const FontFace& font);
