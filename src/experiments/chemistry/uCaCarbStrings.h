// Calcium carbonate and hydrochloric acid (no include guard: included once, — its texts, translated in the
// context "uCaCarb".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uCaCarb", sCaCarbCaption, "Calcium carbonate - HCl reaction")
BRV_UNIT_STRING("uCaCarb", sCaCarbConcLabel, " Acid concentration")
BRV_UNIT_STRING("uCaCarb", sCaCarbConcHint, "Set the concentration of the acid")
BRV_UNIT_STRING("uCaCarb", sCaCarbVolumeLabel, " Acid volume")
BRV_UNIT_STRING("uCaCarb", sCaCarbVolumeHint, "Set the volume of the acid")
BRV_UNIT_STRING("uCaCarb", sCaCarbMassLabel, " Mass of calcium carbonate")
BRV_UNIT_STRING("uCaCarb", sCaCarbMassHint, "Set the mass of calcium carbonate")
BRV_UNIT_STRING("uCaCarb", sCaCarbGramPostfix, " g")
BRV_UNIT_STRING("uCaCarb", sCaCarbTimeHint, "Set the reaction time")
BRV_UNIT_STRING("uCaCarb", sCaCarbConcLarge, " Concentration")
BRV_UNIT_STRING("uCaCarb", sCaCarbVolumeLarge, " Volume")
BRV_UNIT_STRING("uCaCarb", sCaCarbMassLarge, " Mass")
}  // namespace brv::str
