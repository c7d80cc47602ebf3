// Energy stored in a spring: a compressed spring launches a trolley whose
// 10 cm card is timed through a light gate.
//
// All the elastic energy becomes kinetic energy, ½·k·x² = ½·m·v², so a
// spring of constant k compressed by x (cm) gives a trolley of mass m (kg)
// the speed v = x·√(k/m) (cm/s), and the card passes the gate in
//     t = 10·√(m/k) / x  seconds          (none below x = 0.1 cm).
// The spring constant is scattered, k ~ N(50, 10), drawn again whenever the
// compression or the mass changes and at every reset.  A draw of zero or
// less would give a division by zero or a root of a negative number, so k
// is drawn again until it is positive.
//
// The time shown is not measured from the animation.  The animation moves
// the trolley at a steady speed in proportion to v, d = 5·√(k/m)·x·Δt units
// in a tick of Δt seconds: first the spring relaxes while pushing it, then it
// runs free.  While the card is in the beam (50 < x < 60 for the trolley's
// left end x) the stopwatch runs in proportion to the card's progress,
// 0.1·t per unit, and once the card is out it shows exactly t, whatever the
// length of the ticks.
#pragma once

namespace brv {

struct TSpringModel {
    static constexpr float RestX = 36.8f;              // the trolley's left end when the spring is relaxed
    static constexpr float BeamIn = 50, BeamOut = 60;  // the card blocks the beam between these
    static constexpr float RunEnd = 70;                // the run ends once the trolley passes here
    static constexpr float CardLength = 10;            // cm
    static constexpr float MeanSpringConstant = 50;    // N/m

    float Compression = 5;       // cm; falls to 0 as the spring relaxes
    float TrolleyX = RestX - 5;  // the trolley's left end, scene units (cm)
    float Mass = 1;              // kg
    float SpringConstant = MeanSpringConstant;
    float CardTime = 0;  // s, the stopwatch
    float PassTime = 0;  // s, the card's time through the gate

    // A scattered spring constant, always positive.
    static float NewSpringConstant();
    // The card's time through the gate, released from x0 (cm); 0 below 0.1.
    static float PassTimeFor(float x0, float mass, float springConstant);

    // The spring compressed by compression, the trolley against it, the
    // stopwatch at zero.
    void Compress(float compression);
    // Release from x0 (the compression set): the pass time to show.
    void Release(float x0);
    // One tick of dt seconds after a release from x0; true once the trolley
    // has run past the end.
    bool Step(float dt, float x0);
};

}  // namespace brv
