// The reaction-rate model: the particle box (uParticleModel.h) of one
// reactant whose particles turn into the product when two of them collide
// hard enough.
//
// Speeds: particle i, drawn in index order, moves at
//     g_i = (n + 1)·0.1 with n = RandomInt(30)   (0.1 … 3.0 pixels per unit)
// times the temperature factor F = 1 (low) or 2 (high).  Changing the
// temperature multiplies every velocity by F_new / F_old at once, running
// or not.  Time passes at 50 model units a second; a step of Δt seconds is
// Step(50·Δt) with reactions on.  Two unreacted particles react when
//     u_x + u_y + v_x + v_y > E = 6    (signed components, uParticleModel.h)
// so at the low temperature only collisions of the fastest particles that
// move right and down react, and at the high one (every speed doubled) many
// more.  The settling steps
// after a placement never react.
#pragma once

#include "experiments/chemistry/uParticleModel.h"

namespace brv {

struct TReactionRateModel {
    static constexpr int TimeScale = 50;  // model units per second
    static constexpr float LowFactor = 1.0f;
    static constexpr float HighFactor = 2.0f;
    static constexpr int Threshold = 6;  // E
    static constexpr int SpeedSteps = 30;

    TReactionRateModel() { Box.ReactionThreshold = float(Threshold); }

    TParticleModel Box;
    float Factor = LowFactor;  // F

    // The grid, new random speeds at the present temperature, all unreacted.
    void Place();
    // Moves on by the model time that seconds of real time make, reacting.
    void Advance(double seconds);
    void SetHighTemperature(bool high);
};

}  // namespace brv
