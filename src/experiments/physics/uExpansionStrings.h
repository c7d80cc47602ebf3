// Expansion of a gas — its texts, translated in the context "uExpansion".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uExpansion", sExpansionCaption, "Expansion of a gas")
BRV_UNIT_STRING("uExpansion", sExpansionMassLabel, "Mass of gas")
BRV_UNIT_STRING("uExpansion", sExpansionMassHint, "Set the mass of the gas")
BRV_UNIT_STRING("uExpansion", sExpansionTempLabel, " Temperature")
BRV_UNIT_STRING("uExpansion", sExpansionTempHint, "Set the temperature of the water.")
BRV_UNIT_STRING("uExpansion", sExpansionCm, "cm")
}  // namespace brv::str
