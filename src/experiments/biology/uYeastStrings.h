// Yeast respiration — its texts, translated in the context "uYeast".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uYeast", sYeastCaption, "Yeast respiration")
BRV_UNIT_STRING("uYeast", sYeastGlucoseLabel, "Glucose concentration")
BRV_UNIT_STRING("uYeast", sYeastGlucoseHint, "Set the glucose concentration")
BRV_UNIT_STRING("uYeast", sYeastTempLabel, " Temperature")
BRV_UNIT_STRING("uYeast", sYeastTempHint, "Set the temperature")
BRV_UNIT_STRING("uYeast", sYeastTimeHint, "Set the time")
}  // namespace brv::str
