// Motion of the bouncing ball.
//
// The ball falls under g = 981 cm/s², integrated with the trapezium rule in
// fixed steps (1 ms):
//     v' = v + dir·g·Δt  (never below 0; v is a speed, dir = +1 falling, −1 rising)
//     depth' = depth + Δt·(v + v')·dir / 2
// At the floor (depth 100 cm) the speed is multiplied by the restitution e.
// A rebound higher than h = v²/2g < 0.05 cm counts as rest.  With e drawn
// once per run, a drop from H reaches e²·H at the first apex.
//
// The restitution grows with temperature: mean 0.1 + 0.7·(1 − e^(−0.05·T)),
// scattered by a Gaussian of standard deviation 0.05 and never below 0.05.
#pragma once

namespace brv {

struct TBallModel {
    static constexpr int Gravity = 981;          // cm/s²
    static constexpr float FloorDepth = 100.0f;  // cm below the top position
    static constexpr float RestHeight = 0.05f;   // cm
    static constexpr float MinRestitution = 0.05f;

    float BallDepth = 0;    // cm moved down from the top (0..100)
    float Speed = 0;        // cm/s at the start of a step
    float NewSpeed = 0;     // cm/s at the end of the step
    int Direction = +1;     // +1 falling, −1 rising
    float Restitution = 0;  // rebound speed ÷ impact speed
    int ApexCount = 0;      // rebounds that came to rest at their top

    enum class Outcome { Moving, AtRest, ApexReached };

    // One step of dt seconds; bounceLimit is the apex count that ends a run.
    Outcome Step(float dt, int bounceLimit);
    // Back to the top position of a new run from depth (cm).
    void Reset(float depth, float restitution);
    // Height of the ball's lowest point above the floor, cm.
    float Height() const { return FloorDepth - BallDepth; }

    // A new scattered restitution for a ball at temperature (°C).
    static float NewRestitution(float temperature);
    static float MeanRestitution(float temperature);
};

}  // namespace brv
