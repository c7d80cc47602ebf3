// Friction: a block loaded with weights is pulled along a bench by a spring
// balance until it slips.
//
// The limiting friction is μ times the weight pressing the block down (the
// added 1 N weights plus the block's own 0.5 N), shifted by a random offset
// drawn at every reset (standard deviation 0.3 N), and never below 0.2 N:
//     Fmax = max(0.2, (n + 0.5)·μ + offset).
// The block's contact area sets its length only; it does not enter Fmax.
//
// The pupil's hand is at x newtons of pull (1 N of spring stretch = 1 unit of
// movement).  The balance reads the spring's stretch x − shift, shift being
// how far the block has slipped.  When a pull makes the stretch exceed Fmax,
// the block slips once by 0.2·Fmax and the spring relaxes by as much; only one
// slip happens per pull, so after a large jump of the hand the reading may
// stay above Fmax until the next pull.  The hand never moves back.
#pragma once

#include <array>

namespace brv {

struct TFrictionModel {
    static constexpr float BlockWeight = 0.5f;  // N
    static constexpr float MinFriction = 0.2f;  // N
    static constexpr float SlipFraction = 0.2f;
    static constexpr float OffsetSpread = 0.3f;  // N
    static constexpr int MaxWeights = 10;
    static constexpr int MinArea = 50, MaxArea = 100;                      // cm²
    static constexpr std::array<float, 3> SurfaceMu{0.25f, 0.52f, 0.81f};  // smooth, medium, rough

    int Surface = 1;
    float Mu = SurfaceMu[1];
    int WeightCount = 3;       // added 1 N weights
    float FrictionOffset = 0;  // N
    float BlockLength = 5;     // scene units
    float BalanceReading = 0;  // N
    float BlockShift = 0;      // N of the force scale, units in the picture

    float LimitingFriction() const;
    // The hand at x newtons.
    void PullTo(float x);
    // The hand's position on the force bar (tenths of a newton).
    int HandPosition() const;
    // The pupil moves the force bar to position: the hand follows it forwards
    // but never back.  Returns where the bar stays.
    int MoveHand(int position);
    // The pull let off and a fresh part of the bench: a new offset.
    void Reset();

    static float NewOffset();
    // The block's length for a contact area (cm²), the area kept within its range.
    static float BlockLengthFor(int area);
};

}  // namespace brv
