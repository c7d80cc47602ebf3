// Bouncing ball — its texts, translated in the context "uBall".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uBall", sBallCaption, "Bouncing ball experiment")
BRV_UNIT_STRING("uBall", sBallStartHint, "Drop the ball")
BRV_UNIT_STRING("uBall", sBallStopHint, "Stop")
BRV_UNIT_STRING("uBall", sBallResetHint, "Reset")
BRV_UNIT_STRING("uBall", sBallBounceLabel, " Stop after bounce")
BRV_UNIT_STRING("uBall", sBallBounceHint, "Set the number of bounces")
BRV_UNIT_STRING("uBall", sBallTempLabel, " Temperature")
BRV_UNIT_STRING("uBall", sBallTempHint, "Set the temperature of the ball")
BRV_UNIT_STRING("uBall", sBallHeightHint, "Set the height the ball is dropped from")
BRV_UNIT_STRING("uBall", sBallMarkerHint, "Click to show a marker")
}  // namespace brv::str
