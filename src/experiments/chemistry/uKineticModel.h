// The kinetic-theory model: the particle box (uParticleModel.h) with every
// particle at the base speed s = 1 pixel per model time unit.  The
// temperature sets how much model time passes in a second:
//     T = 50 (low) or 200 (high) model units per second,
// so a particle moves 50 or 200 pixels a second.  The velocities never change
// with the temperature; a step of Δt seconds is Step(T·Δt).  Nothing reacts.
#pragma once

#include "experiments/chemistry/uParticleModel.h"

namespace brv {

struct TKineticModel {
    static constexpr int LowTimeScale = 50;    // model units per second
    static constexpr int HighTimeScale = 200;  // model units per second
    static constexpr float BaseSpeed = 1.0f;   // pixels per model unit

    TParticleModel Box;
    int TimeScale = LowTimeScale;

    // The grid with the shuffled velocities of the base speed.
    void Place();
    // Moves on by the model time that seconds of real time make.
    void Advance(double seconds);
    void SetHighTemperature(bool high) { TimeScale = high ? HighTimeScale : LowTimeScale; }
};

}  // namespace brv
