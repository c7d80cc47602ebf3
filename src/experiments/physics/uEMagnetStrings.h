// Strength of an electromagnet — its texts, translated in the context "uEMagnet".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uEMagnet", sEMagnetCaption, "Strength of an electromagnet")
BRV_UNIT_STRING("uEMagnet", sEMagnetAddHint, "Add nails to the electromagnet")
BRV_UNIT_STRING("uEMagnet", sEMagnetCountHint, "Count the nails")
BRV_UNIT_STRING("uEMagnet", sEMagnetTurnsLabel, "Turns")
BRV_UNIT_STRING("uEMagnet", sEMagnetTurnsHint, "Change the number of coils")
BRV_UNIT_STRING("uEMagnet", sEMagnetVoltageLabel, "Supply voltage")
BRV_UNIT_STRING("uEMagnet", sEMagnetVoltageHint, "Change the supply voltage")
}  // namespace brv::str
