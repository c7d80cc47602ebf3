// Motion of a ball falling through a viscous liquid, timed by two light gates.
//
// A ball of density 9 g/cm³ in a liquid of density 1 g/cm³: buoyancy takes a
// ninth of its weight, and Stokes' drag 6πηrv on its mass (4/3)πr³·9 gives a
// deceleration η·v / (2r²), with η in poise (V = ten times the viscosity in
// Pa s):
//     a = (8/9)·g − V·v / (2r²)          (cm/s², never below 0)
//     v' = v + a·Δt
//     depth' = depth + (v + v')·Δt / 2   (trapezium rule, Δt = 1 ms)
// The ball approaches its terminal speed 16·r²·g / (9·V): about 87 cm/s for
// r = 1 cm and 2 Pa s, 4.4 cm/s for r = 0.5 cm and 10 Pa s.  It comes to rest
// on the bottom of the tube, 100 cm below the rule's 0 mark, with its centre
// one radius above it.
//
// The gates time the ball's centre only while it lies strictly between them,
// so the total holds once the ball has passed the bottom gate.  The gates
// stay more than 3 cm apart: a gate asked to go to or beyond 3 cm from the
// other one stays where it is, and its scroll bar is held at that limit.
#pragma once

namespace brv {

struct TTerminalVelocityModel {
    static constexpr float TubeDepth = 100.0f;        // cm from the 0 mark to the bottom
    static constexpr float StandardGravity = 980.0f;  // cm/s²
    static constexpr float GravityScatter = 50.0f;    // standard deviation, cm/s²
    static constexpr float MinGateGap = 3.0f;         // cm
    static constexpr float GateBarUnit = 0.1f;        // cm per scroll-bar position

    float Radius = 1;                 // cm
    float ViscosityPoise = 20;        // the viscosity in poise (1 Pa s = 10 P)
    float Gravity = StandardGravity;  // effective, scattered at each reset
    float BallDepth = 0;              // cm of the centre below the 0 mark
    float Speed = 0;                  // cm/s at the start of a step
    float NewSpeed = 0;               // cm/s at the end of the step
    float GateTime = 0;               // s spent between the gates in this run
    float Gate1 = 20, Gate2 = 80;     // cm below the 0 mark, top and bottom

    enum class Outcome { Moving, AtBottom };

    // One step of dt seconds.
    Outcome Step(float dt);
    // A new radius acts at once, in every state: a ball resting on the bottom
    // stays on it, and a grown ball never reaches through it.
    void SetRadius(float radius);
    // Back to the top for a new run with the given effective gravity.
    void Reset(float gravity);
    float Acceleration() const;
    float TerminalSpeed() const;
    bool AtBottom() const { return BallDepth >= TubeDepth - Radius; }

    // Scroll-bar positions of the gates: position × 0.1 cm.  A move to or past
    // the limit replaces position by the limit and leaves the gate alone
    // (false); otherwise the gate goes there (true).
    int Gate1Limit() const;
    int Gate2Limit() const;
    bool MoveGate1(int& position);
    bool MoveGate2(int& position);

    // A fresh effective gravity: 980 cm/s² scattered by a Gaussian of 50.
    static float NewGravity();
};

}  // namespace brv
