// Heat of neutralisation (no include guard: included once, inside namespace — its texts, translated in the
// context "uThermoChem".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uThermoChem", sThermoChemCaption, "Heat of neutralization")
BRV_UNIT_STRING("uThermoChem", sThermoChemAcidPanel, "Acids")
BRV_UNIT_STRING("uThermoChem", sThermoChemBasePanel, "Alkali (NaOH)")
BRV_UNIT_STRING("uThermoChem", sThermoChemApparatusPanel, "Apparatus")
BRV_UNIT_STRING("uThermoChem", sThermoChemHydrochloric, "Hydrochloric")
BRV_UNIT_STRING("uThermoChem", sThermoChemSulphuric, "Sulphuric")
BRV_UNIT_STRING("uThermoChem", sThermoChemConcPrefix, "Concentration ")
BRV_UNIT_STRING("uThermoChem", sThermoChemVolumePrefix, "Volume ")
BRV_UNIT_STRING("uThermoChem", sThermoChemRefill, "Refill burette")
BRV_UNIT_STRING("uThermoChem", sThermoChemStandardThermometer, "Standard thermometer")
BRV_UNIT_STRING("uThermoChem", sThermoChemDigitalThermometer, "Digital thermometer")
BRV_UNIT_STRING("uThermoChem", sThermoChemVolumeHint, "Add or remove acid from the burette")
}  // namespace brv::str
