// Friction — its texts, translated in the context "uFriction".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uFriction", sFrictionCaption, "Friction")
BRV_UNIT_STRING("uFriction", sFrictionResetHint, "Reset the experiment")
BRV_UNIT_STRING("uFriction", sFrictionSurfaceHint, "Choose a type of surface")
BRV_UNIT_STRING("uFriction", sFrictionSmooth, "Smooth surface")
BRV_UNIT_STRING("uFriction", sFrictionMedium, "Medium surface")
BRV_UNIT_STRING("uFriction", sFrictionRough, "Rough surface")
BRV_UNIT_STRING("uFriction", sFrictionSmoothBench, "surface type: smooth")
BRV_UNIT_STRING("uFriction", sFrictionMediumBench, "surface type: medium")
BRV_UNIT_STRING("uFriction", sFrictionRoughBench, "surface type: rough")
BRV_UNIT_STRING("uFriction", sFrictionWeightLabel, "Added weight ")
BRV_UNIT_STRING("uFriction", sFrictionWeightHint, "Set the number of weights")
BRV_UNIT_STRING("uFriction", sFrictionNewtonPostfix, " N")
BRV_UNIT_STRING("uFriction", sFrictionAreaLabel, "Surface area ")
BRV_UNIT_STRING("uFriction", sFrictionAreaHint, "Set the surface area of the block")
BRV_UNIT_STRING("uFriction", sFrictionCm2Postfix, " cm\u00B2")
BRV_UNIT_STRING("uFriction", sFrictionForceHint, "Apply a force by pulling the spring balance")
}  // namespace brv::str
