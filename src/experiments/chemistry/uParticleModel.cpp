#include "experiments/chemistry/uParticleModel.h"

#include "runtime/AddMaths.h"

#include <cmath>
#include <utility>

namespace brv {

TParticleModel::TParticleModel()
{
    const float twoPi = 6.28318530717958647692f;
    const float step = twoPi / float(DirectionCount);
    for (int k = 0; k < DirectionCount; ++k) {
        const float theta = float(k) * step;
        cos_[std::size_t(k)] = std::cos(theta);
        sin_[std::size_t(k)] = std::sin(theta);
    }
}

void TParticleModel::Place(const TSpeeds& speeds)
{
    const float a = (Walls.Right - Walls.Left) / 11;
    const float b = (Walls.Bottom - Walls.Top) / 11;
    for (int i = 0; i < Count; ++i) {
        TParticle& p = Particles[std::size_t(i)];
        p.X = a + Walls.Left + a * float(i % 10);
        p.Y = b + Walls.Top + b * float(i / 10);
        const int k = i % DirectionCount;
        p.VX = speeds[std::size_t(i)] * DirectionCos(k);
        p.VY = -speeds[std::size_t(i)] * DirectionSin(k);
        p.Reacted = false;
    }
    ShuffleVelocities();
}

void TParticleModel::ShuffleVelocities()
{
    for (TParticle& p : Particles) {
        TParticle& other = Particles[std::size_t(RandomInt(Count))];
        std::swap(p.VX, other.VX);
        std::swap(p.VY, other.VY);
    }
}

void TParticleModel::Step(float time, bool react)
{
    for (int i = 0; i < Count; ++i) {
        TParticle p = Particles[std::size_t(i)];
        const float startVX = p.VX, startVY = p.VY;
        p.X += time * p.VX;
        p.Y += time * p.VY;
        BounceOffWalls(p);
        CollideWithFirstTouched(i, p, startVX, startVY, react);
        Particles[std::size_t(i)] = p;
    }
}

void TParticleModel::Settle()
{
    for (int s = 0; s < SettlingSteps; ++s)
        Step(1.0f, false);
}

void TParticleModel::BounceOffWalls(TParticle& p) const
{
    const float r = Radius;
    if (p.X < Walls.Left + r) {
        p.VX = -p.VX;
        p.X = Walls.Left + r;
    }
    if (p.X > Walls.Right - r) {
        p.VX = -p.VX;
        p.X = Walls.Right - r;
    }
    if (p.Y < Walls.Top + r) {
        p.VY = -p.VY;
        p.Y = Walls.Top + r;
    }
    if (p.Y > Walls.Bottom - r) {
        p.VY = -p.VY;
        p.Y = Walls.Bottom - r;
    }
}

bool TParticleModel::CollideWithFirstTouched(int i, TParticle& p, float startVX, float startVY, bool react)
{
    const float contact = 2 * Radius;
    // √ is monotonic and exactly rounded, so d < 2r only where d² ≤ (2r)²
    // (≤: the square may have been rounded down); the root is taken only
    // for the few pairs that pass.  The squares are worked out a block of
    // particles at a time, without a branch, which the compiler turns into
    // vector instructions; a block is then searched in index order.
    const float contactSquared = contact * contact;
    constexpr int block = 4;
    static_assert(Count % block == 0);
    for (int first = 0; first < Count; first += block) {
        std::array<float, block> squared;
        for (int k = 0; k < block; ++k) {
            const TParticle& q = Particles[std::size_t(first + k)];
            const float dx = p.X - q.X;
            const float dy = p.Y - q.Y;
            squared[std::size_t(k)] = dx * dx + dy * dy;
        }
        for (int k = 0; k < block; ++k) {
            const int j = first + k;
            if (j == i || !(squared[std::size_t(k)] <= contactSquared))
                continue;
            float d = std::sqrt(squared[std::size_t(k)]);
            if (!(d < contact))
                continue;
            Exchange(p, Particles[std::size_t(j)], d, startVX, startVY, react);
            return true;
        }
    }
    return false;
}

void TParticleModel::Exchange(TParticle& p, TParticle& q, float d, float startVX, float startVY, bool react)
{
    const float contact = 2 * Radius;
    const float dx = p.X - q.X;
    const float dy = p.Y - q.Y;
    const float ux = q.VX, uy = q.VY;
    q.VX = p.VX;
    q.VY = p.VY;
    p.VX = ux;
    p.VY = uy;
    if (d < MinDistance)
        d = MinDistance;
    p.X = q.X + contact * dx / d;
    p.Y = q.Y + contact * dy / d;
    if (react && !p.Reacted && !q.Reacted) {
        const float energy = ux + uy + startVX + startVY;
        if (energy > ReactionThreshold) {
            p.Reacted = true;
            q.Reacted = true;
        }
    }
}

void TParticleModel::ScaleVelocities(float factor)
{
    for (TParticle& p : Particles) {
        p.VX *= factor;
        p.VY *= factor;
    }
}

int TParticleModel::ReactedCount() const
{
    int n = 0;
    for (const TParticle& p : Particles)
        n += p.Reacted ? 1 : 0;
    return n;
}

}  // namespace brv
