// The box of moving particles that the kinetic-theory and reaction-rate
// models share: N = 100 round particles of radius r that move in straight
// lines, bounce off the walls and swap velocities with the first particle
// they touch.  Positions are pixels of the picture, velocities pixels per
// model time unit; everything is single precision.
//
// Placement in the box (L, T, R, B), a 10 × 10 grid:
//     a = (R − L) / 11,  b = (B − T) / 11
//     x_i = a + L + a·(i mod 10),  y_i = b + T + b·(i div 10)
//     θ_k = k·(2π / 12),  k = i mod 12
//     v_i = g_i·(cos θ_k, −sin θ_k)        (y grows downwards: sin > 0 moves up)
// then the velocities (not the positions) are shuffled: for j = 0 … N − 1
// swap v_j and v_e with e = RandomInt(N).
//
// Step by a model time t, particle by particle in index order, each on a
// copy p of particle i (so lower indices have already moved when a later
// particle is tested against them):
//     p ← p + t·v
//     walls, each test on the result of the one before:
//         x < L + r → vx ← −vx, x ← L + r;   x > R − r → vx ← −vx, x ← R − r
//         y < T + r → vy ← −vy, y ← T + r;   y > B − r → vy ← −vy, y ← B − r
//     the first j ≠ i with d = |p − p_j| < 2r:
//         the velocities are swapped (particle j takes p's, after the walls);
//         p ← p_j + 2r·(p − p_j)/d, with d at least 0.0001 so that two
//         particles on the same spot stay finite (they stay together);
//         this new position is not checked against the walls again.
//
// The reaction (reaction-rate model only): when reactions are on and two
// unreacted particles meet, they both react if their collision is energetic
// enough:
//     u_x + u_y + v_x + v_y > E
// with u the velocity particle j had and v the one particle i had at the
// start of its update.  The signed components, not their magnitudes: this is
// the design's simplification of a collision's energy, and it is what makes
// the two temperatures differ as the lesson says.  Only pairs that both move
// fast to the right and down pass it; a head-on pair cancels out, and two
// particles racing up and to the left never react however fast they are.
// At the low temperature few pairs are fast enough, at the high one most are.
#pragma once

#include <array>

namespace brv {

struct TParticle {
    float X = 0, Y = 0;    // pixels
    float VX = 0, VY = 0;  // pixels per model time unit
    bool Reacted = false;
};

// The walls, pixels: the picture's rectangle (0, 0, W, H).
struct TParticleBox {
    float Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TParticleModel {
public:
    static constexpr int Count = 100;
    static constexpr int DirectionCount = 12;
    static constexpr int SettlingSteps = 16;
    // Closer than this two particles count as 0.0001 apart.
    static constexpr float MinDistance = 0.0001f;
    using TSpeeds = std::array<float, Count>;

    TParticleModel();

    float Radius = 12;  // pixels
    TParticleBox Walls;
    std::array<TParticle, Count> Particles{};
    // E: the least sum of speed components that reacts (exclusive).
    float ReactionThreshold = 6;

    // The grid in the box, particle i moving at speeds[i] in direction
    // i mod 12, none reacted, then the velocities shuffled (N draws from
    // the program's generator).
    void Place(const TSpeeds& speeds);
    // Every particle moved on by time (model units); two unreacted particles
    // that collide hard enough react only when react is true.
    void Step(float time, bool react);
    // Sixteen steps of one model unit without reactions: after a placement
    // the neat grid loosens before the pupil sees it.
    void Settle();
    // Every velocity times factor.
    void ScaleVelocities(float factor);
    int ReactedCount() const;

    float DirectionCos(int k) const { return cos_[std::size_t(k)]; }
    float DirectionSin(int k) const { return sin_[std::size_t(k)]; }

    // Parts of a particle's step, open so that another search for the
    // touched particle can be measured with the same walls and exchange.
    void BounceOffWalls(TParticle& p) const;
    // p touches q, d apart: velocities swapped, p put 2r from q, and the
    // reaction when it is on.
    void Exchange(TParticle& p, TParticle& q, float d, float startVX, float startVY, bool react);

private:
    // Exchanges with the first particle p touches; false when it touches none.
    bool CollideWithFirstTouched(int i, TParticle& p, float startVX, float startVY, bool react);
    void ShuffleVelocities();

    std::array<float, DirectionCount> cos_{};
    std::array<float, DirectionCount> sin_{};
};

}  // namespace brv
