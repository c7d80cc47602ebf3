// Resistance of wires — its texts, translated in the context "uReswire".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uReswire", sReswireCaption, "Resistance of wires")
BRV_UNIT_STRING("uReswire", sReswireOhmHint, "Use a resistance meter")
BRV_UNIT_STRING("uReswire", sReswireAmpVoltHint, "Use an ammeter + voltmeter")
BRV_UNIT_STRING("uReswire", sReswireCellsLabel, "Cells")
BRV_UNIT_STRING("uReswire", sReswireCellsHint, "Set the number of cells")
BRV_UNIT_STRING("uReswire", sReswireDiameterLabel, "Diameter")
BRV_UNIT_STRING("uReswire", sReswireDiameterHint, "Set the diameter of the wire")
BRV_UNIT_STRING("uReswire", sReswireMmPostfix, " mm")
BRV_UNIT_STRING("uReswire", sReswireMetalHint, "Choose the type of wire")
BRV_UNIT_STRING("uReswire", sReswireCopper, "Copper")
BRV_UNIT_STRING("uReswire", sReswireNichrome, "Nichrome")
BRV_UNIT_STRING("uReswire", sReswireConstantan, "Constantan")
BRV_UNIT_STRING("uReswire", sReswireLengthHint, "Set the length of wire")
BRV_UNIT_STRING("uReswire", sReswireRuleHint, "Click on the ruler to set the length of wire")
}  // namespace brv::str
