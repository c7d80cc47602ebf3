// Decomposition of hydrogen peroxide (no include guard: included once, — its texts, translated in the context
// "uPeroxide".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uPeroxide", sPeroxideCaption, "Decomposition of hydrogen peroxide")
BRV_UNIT_STRING("uPeroxide", sPeroxideConcLabel, "Concentration ")
BRV_UNIT_STRING("uPeroxide", sPeroxideConcHint, "Set the hydrogen peroxide concentration")
BRV_UNIT_STRING("uPeroxide", sPeroxideVolumeLabel, "Volume ")
BRV_UNIT_STRING("uPeroxide", sPeroxideVolumeHint, "Set the volume of the hydrogen peroxide ")
BRV_UNIT_STRING("uPeroxide", sPeroxideCatMassLabel, "Mass")
BRV_UNIT_STRING("uPeroxide", sPeroxideCatMassHint, "Set the mass of catalyst")
BRV_UNIT_STRING("uPeroxide", sPeroxideGramPostfix, " g")
BRV_UNIT_STRING("uPeroxide", sPeroxideCatSizeLabel, "Particle size")
BRV_UNIT_STRING("uPeroxide", sPeroxideCatSizeHint, "Set the particle size of the catalyst")
BRV_UNIT_STRING("uPeroxide", sPeroxideMmPostfix, " mm")
BRV_UNIT_STRING("uPeroxide", sPeroxideTempLabel, " Temperature")
BRV_UNIT_STRING("uPeroxide", sPeroxideTempHint, "Set the temperature")
BRV_UNIT_STRING("uPeroxide", sPeroxideTimeName, "Reaction time")
BRV_UNIT_STRING("uPeroxide", sPeroxideCm3, "cm\u00B3")
}  // namespace brv::str
