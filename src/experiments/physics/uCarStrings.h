// Car stopping distances — its texts, translated in the context "uCar".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uCar", sCarCaption, "Car stopping distances")
BRV_UNIT_STRING("uCar", sCarStartHint, "Start the car")
BRV_UNIT_STRING("uCar", sCarStopHint, "Stop the car")
BRV_UNIT_STRING("uCar", sCarResetHint, "Reset the car to the start")
BRV_UNIT_STRING("uCar", sCarRampLabel, "Ramp angle")
BRV_UNIT_STRING("uCar", sCarRampHint, "Set the angle of the ramp")
BRV_UNIT_STRING("uCar", sCarRampPostfix, " \u00BA")
BRV_UNIT_STRING("uCar", sCarHeightHint, "Set the initial height of the car")
BRV_UNIT_STRING("uCar", sCarNotToScale, "(not to scale)")
BRV_UNIT_STRING("uCar", sCarMetres, "%1 m")
}  // namespace brv::str
