// Breakdown of starch by amylase — its texts, translated in the context "uAmylase".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uAmylase", sAmylaseCaption, "Breakdown of starch by amylase")
BRV_UNIT_STRING("uAmylase", sAmylaseTest, "Test")
BRV_UNIT_STRING("uAmylase", sAmylaseTestHint, "Test for starch")
BRV_UNIT_STRING("uAmylase", sAmylaseTimeLabel, " Reaction time")
BRV_UNIT_STRING("uAmylase", sAmylaseTimeHint, "Set the reaction time")
BRV_UNIT_STRING("uAmylase", sAmylaseMinPostfix, " min")
BRV_UNIT_STRING("uAmylase", sAmylaseTempLabel, " Temperature")
BRV_UNIT_STRING("uAmylase", sAmylaseTempHint, "Set the temperature")
BRV_UNIT_STRING("uAmylase", sAmylaseTray, "dimple tray")
BRV_UNIT_STRING("uAmylase", sAmylaseIodine, "Iodine solution")
BRV_UNIT_STRING("uAmylase", sAmylaseMinutes, "%1 min")
}  // namespace brv::str
