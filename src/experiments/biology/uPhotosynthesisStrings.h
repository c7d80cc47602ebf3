// Photosynthesis — its texts, translated in the context "uPhotosynthesis".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisCaption, "Photosynthesis")
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisSyringeHint, "Move the syringe")
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisTempLabel, " Temperature")
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisTempHint, "Set the temperature")
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisBiCarbLabel, " Sodium bicarbonate")
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisBiCarbHint, "Set the sodium bicarbonate concentration")
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisPercentPostfix, " %")
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisTimeHint, "Set the time")
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisCm, "cm")
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisLightIntensity, "light intensity")
BRV_UNIT_STRING("uPhotosynthesis", sPhotosynthesisNoOxygen, "Not enough oxygen to measure")
}  // namespace brv::str
