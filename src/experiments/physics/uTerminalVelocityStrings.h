// Terminal velocity — its texts, translated in the context "uTerminalVelocity".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityCaption, "Terminal velocity")
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityStartHint, "Release the ball")
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityStopHint, "Stop the ball")
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityRadiusLabel, "  Ball radius")
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityRadiusHint, "Set the radius of the ball")
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityCmPostfix, " cm")
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityViscosityLabel, "  Viscosity")
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityViscosityHint, "Set the viscosity of the liquid")
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityPasPostfix, " Pas")
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityGate1Hint, "Move the top light gate")
BRV_UNIT_STRING("uTerminalVelocity", sTerminalVelocityGate2Hint, "Move the bottom light gate")
}  // namespace brv::str
