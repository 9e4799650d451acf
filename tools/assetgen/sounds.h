// Every synthesised sound of the game: effects and music loops (the announcer is apart).
#pragma once

#include "synth.h"

#include <vector>

Samples makeBubbleBurst();     // "DRIPITY.WAV"
Samples makeSyringePickup();   // "TAOOOT.WAV"
Samples makeOilPickup();       // "THUMP.WAV"
Samples makeCigarettePickup(); // "WALL.WAV"
Samples makeExplosion();       // "explode.wav"
Samples makeReloadClick();     // "loadclip.wav"
Samples makeSqueal();          // "pig.wav": a white cell dies
Samples makePlop();            // "ploop.wav": a white cell dies, the other way
Samples makeVirusHurt();       // "pig_4.wav": a red cell hits the virus
Samples makeImplosion();       // "implosion2.wav": a cell splits
Samples makeHitCrack();        // "HIT.WAV": a cell splits
Samples makeFiringLoop();      // "loves.wav"

// Loops: their end runs straight into their start.
Samples makeMenuMusic();      // "menu2.wav"
Samples makeLevelMusic();     // "ingame2.wav"
Samples makeLateLevelMusic(); // "ingame5.wav"
Samples makeIntroMusic();     // "chainsaw.wav": five seconds of countdown

std::vector<NamedSound> makeAllSounds();
