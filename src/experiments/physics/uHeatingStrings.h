// Heating effect of a current — its texts, translated in the context "uHeating".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uHeating", sHeatingCaption, "Heating effect of a current")
BRV_UNIT_STRING("uHeating", sHeatingInsulateHint, "Insulate the beaker")
BRV_UNIT_STRING("uHeating", sHeatingRLabel, "Resistance")
BRV_UNIT_STRING("uHeating", sHeatingRHint, "Set the resistance")
BRV_UNIT_STRING("uHeating", sHeatingOhmPostfix, " \u03A9")
BRV_UNIT_STRING("uHeating", sHeatingMassLabel, "  Mass of water")
BRV_UNIT_STRING("uHeating", sHeatingMassHint, "Set the mass of water")
BRV_UNIT_STRING("uHeating", sHeatingGramPostfix, " g")
BRV_UNIT_STRING("uHeating", sHeatingVoltLabel, "  Voltage")
BRV_UNIT_STRING("uHeating", sHeatingVoltHint, "Set the voltage")
BRV_UNIT_STRING("uHeating", sHeatingVoltPostfix, " V")
BRV_UNIT_STRING("uHeating", sHeatingTimeHint, "Set the time")
}  // namespace brv::str
