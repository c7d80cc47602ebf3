// Car stopping distances: a toy car let go on a ramp rolls down and coasts
// along the floor until it stops.
//
// Positions along the track (CarPos): 0 to 30 on the ramp, 30 being its foot
// and 30 − CarPos the horizontal distance to the foot; past 30, CarPos − 30 is
// the distance in cm beyond the foot.  With the ramp at θ, a car started from
// X has the release height H = (30 − X)·tan θ.
//
// The motion is not integrated.  At the start the whole stopping distance D
// past the foot is found at once:
//     l = θ while the car starts wholly on the ramp (X < 25), otherwise
//         l = arcsin(H / 5): rear wheel on the ramp, front wheel on the floor
//         (the wheelbase is 5);
//     B = max(0, 3.0394113·sin(π/4 − l) + H − 2.4), the drop of the centre of
//         mass, which sits at (2.4, 2.4) from the rear wheel's contact point;
//     D = cos θ·(19.107323 − 1 / sin θ)·B, where 19.107323 = 1 / sin 3°: below
//         3° friction holds the car, and at 3° it just reaches the foot;
// then scattered by a Gaussian of 10 % of D (never below 0).  The car is moved
// at a steady 100 position units a second to 30 + D.
#pragma once

#include "runtime/AddMaths.h"

namespace brv {

// Where the car stands and how it leans, in the overview's scene units.  The
// ramp is drawn at twice the floor's scale: two units per position unit up
// the ramp, one along the floor.
struct TCarPlacement {
    float Tilt = 0;    // radians, nose down the slope
    float PivotX = 0;  // the rear wheel's contact point
    float PivotY = 0;
    float Height = 0;  // release height of that point above the floor, cm
};

struct TCarModel {
    static constexpr float FootPos = 30;
    static constexpr float Speed = 100;               // position units per second
    static constexpr int MinRollAngle = 3;            // degrees; below it the car stays put
    static constexpr float FootX = 70, FloorY = 195;  // the foot in the overview

    float CarPos = 15;
    float EndPos = FootPos;

    // A run from startPos on a ramp at angleDeg: the end point drawn afresh.
    void Start(int angleDeg, float startPos);
    // Moves the car on by dt seconds; true once it has stopped at EndPos.
    bool Step(float dt);

    static float Radians(int angleDeg) { return brv::Radians(float(angleDeg)); }
    static float ReleaseHeight(int angleDeg, float startPos);
    // D before the scatter; 0 where the car cannot roll.
    static float MeanStoppingDistance(int angleDeg, float startPos);
    // D with its scatter.
    static float StoppingDistance(int angleDeg, float startPos);
    static TCarPlacement Placement(int angleDeg, float carPos);
};

}  // namespace brv
