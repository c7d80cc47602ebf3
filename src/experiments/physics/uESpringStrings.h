// Energy stored in a spring — its texts, translated in the context "uESpring".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uESpring", sESpringCaption, "Energy stored in a spring")
BRV_UNIT_STRING("uESpring", sESpringStartHint, "Release the trolley")
BRV_UNIT_STRING("uESpring", sESpringStopHint, "Stop the trolley")
BRV_UNIT_STRING("uESpring", sESpringResetHint, "Reset")
BRV_UNIT_STRING("uESpring", sESpringCompressionLabel, " Spring compression")
BRV_UNIT_STRING("uESpring", sESpringCompressionHint, "Set the compression of the spring")
BRV_UNIT_STRING("uESpring", sESpringMassLabel, " Mass of trolley")
BRV_UNIT_STRING("uESpring", sESpringMassHint, "Set the mass of the trolley")
BRV_UNIT_STRING("uESpring", sESpringKgPostfix, " kg")
BRV_UNIT_STRING("uESpring", sESpringCm, "cm")
}  // namespace brv::str
