// Particle models: kinetic theory and reaction rates — its texts, translated in the context "uParticleForm".
#pragma once

#include "runtime/UnitStrings.h"

namespace brv::str {
BRV_UNIT_STRING("uParticleForm", sKineticCaption, "Kinetic theory particle model")
BRV_UNIT_STRING("uParticleForm", sReactionRateCaption, "Reaction-rate particle model")
BRV_UNIT_STRING("uParticleForm", sParticleStartHint, "Start the animation")
BRV_UNIT_STRING("uParticleForm", sParticleStopHint, "Stop the animation")
BRV_UNIT_STRING("uParticleForm", sParticleResetHint, "Reset")
BRV_UNIT_STRING("uParticleForm", sParticleLowCaption, "Low")
BRV_UNIT_STRING("uParticleForm", sParticleHighCaption, "High")
BRV_UNIT_STRING("uParticleForm", sParticleLowHint, "Low temperature")
BRV_UNIT_STRING("uParticleForm", sParticleHighHint, "High temperature")
}  // namespace brv::str
