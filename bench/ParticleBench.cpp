// The particle models, which step and redraw on every tick of a free-running
// clock.  Peers measured in the same run:
//
// ParticleStep: one model step of 100 particles (10 000 pair tests) against
//   _SqrtEveryPair, the same step taking the root of every pair's distance
//   as the plain statement of the rule does, and _Clear, a plain Clear of a
//   1920 × 1080 bitmap, the cheapest thing a frame can cost.  A step must
//   stay far below a frame (16.7 ms at 60 frames a second).
// KineticTick / ReactionTick: a whole tick of the running form at 1920 × 1080
//   (the step, and the repaint's composition of where sprites were and are)
//   against _Clear of the same bitmap.
// KineticResize / ReactionResize: the resize handler at 1920 × 1080 (the
//   placement, sixteen settling steps and the full redraw) against _Clear.
#include "common/CadencerEx.h"
#include "experiments/chemistry/uKinetic.h"
#include "experiments/chemistry/uReactionRate.h"
#include "experiments/chemistry/uReactionRateModel.h"
#include "runtime/AddMaths.h"
#include "runtime/Bitmap32.h"
#include "runtime/Image32.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace {

using namespace brv;

constexpr int kFullWidth = 1920, kFullHeight = 1080;

// A crowded box after a while of running: the steps meet walls, exchanges
// and reactions, as a pupil's screen does.
TReactionRateModel RunningModel()
{
    SetRandomState(1);
    TReactionRateModel m;
    m.Box.Walls = {0, 0, 1000, 700};
    m.SetHighTemperature(true);
    m.Place();
    m.Box.Settle();
    for (int i = 0; i < 120; ++i)
        m.Advance(1.0 / 60);
    return m;
}

void BM_ParticleStep_Ours(benchmark::State& state)
{
    TReactionRateModel m = RunningModel();
    for (auto _ : state) {
        m.Advance(1.0 / 60);
        benchmark::DoNotOptimize(m.Box.Particles.data());
    }
}

// The rule as stated: d = √(dx² + dy²) for every pair, the first d < 2r
// exchanging (no reactions).  Moves and walls as ours.
void StepTakingEveryRoot(TParticleModel& box, float time)
{
    const float contact = 2 * box.Radius;
    for (int i = 0; i < TParticleModel::Count; ++i) {
        TParticle p = box.Particles[std::size_t(i)];
        p.X += time * p.VX;
        p.Y += time * p.VY;
        const TParticleBox& w = box.Walls;
        const float r = box.Radius;
        if (p.X < w.Left + r) {
            p.VX = -p.VX;
            p.X = w.Left + r;
        }
        if (p.X > w.Right - r) {
            p.VX = -p.VX;
            p.X = w.Right - r;
        }
        if (p.Y < w.Top + r) {
            p.VY = -p.VY;
            p.Y = w.Top + r;
        }
        if (p.Y > w.Bottom - r) {
            p.VY = -p.VY;
            p.Y = w.Bottom - r;
        }
        for (int j = 0; j < TParticleModel::Count; ++j) {
            if (j == i)
                continue;
            TParticle& q = box.Particles[std::size_t(j)];
            const float dx = p.X - q.X, dy = p.Y - q.Y;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d < contact) {
                std::swap(p.VX, q.VX);
                std::swap(p.VY, q.VY);
                d = std::max(d, TParticleModel::MinDistance);
                p.X = q.X + contact * dx / d;
                p.Y = q.Y + contact * dy / d;
                break;
            }
        }
        box.Particles[std::size_t(i)] = p;
    }
}

void BM_ParticleStep_SqrtEveryPair(benchmark::State& state)
{
    TReactionRateModel m = RunningModel();
    const float time = float(TReactionRateModel::TimeScale) * float(1.0 / 60);
    for (auto _ : state) {
        StepTakingEveryRoot(m.Box, time);
        benchmark::DoNotOptimize(m.Box.Particles.data());
    }
}

void ClearOf(benchmark::State& state, int width, int height)
{
    TBitmap32 b(width, height);
    for (auto _ : state) {
        b.Clear(clWhite32);
        benchmark::DoNotOptimize(b.Bits());
    }
}

void BM_ParticleStep_Clear(benchmark::State& state)
{
    ClearOf(state, kFullWidth, kFullHeight);
}

double gNow = 0;

// One tick of 1/60 s of a running form: step, redraw, and the repaint's
// composition of the parts marked as changed into the back buffer.
template <class Form>
void TickOf(benchmark::State& state, int width, int height)
{
    TNGLCadencer::SetPerformanceCounterSource([] { return gNow; });
    auto form = std::make_unique<Form>();
    form->Pic()->resize(width, height);
    form->PicResize();
    TBitmap32 buffer;
    form->Pic()->PaintPending(buffer);
    form->PressStart();
    for (auto _ : state) {
        gNow += 1.0 / 60;
        form->Clock->Progress();
        form->Pic()->PaintPending(buffer);
        benchmark::DoNotOptimize(buffer.Bits());
    }
    form.reset();
    TNGLCadencer::SetPerformanceCounterSource({});
}

template <class Form>
void ResizeOf(benchmark::State& state, int width, int height)
{
    auto form = std::make_unique<Form>();
    form->Pic()->resize(width, height);
    for (auto _ : state) {
        form->PicResize();
        benchmark::DoNotOptimize(form->Pic()->Bitmap().Bits());
    }
}

void BM_KineticResize1920x1080_Ours(benchmark::State& s)
{
    ResizeOf<TKTFrm>(s, kFullWidth, kFullHeight);
}
void BM_KineticResize1920x1080_Clear(benchmark::State& s)
{
    ClearOf(s, kFullWidth, kFullHeight);
}
void BM_ReactionResize1920x1080_Ours(benchmark::State& s)
{
    ResizeOf<TReactRateFrm>(s, kFullWidth, kFullHeight);
}
void BM_ReactionResize1920x1080_Clear(benchmark::State& s)
{
    ClearOf(s, kFullWidth, kFullHeight);
}
void BM_KineticTick1920x1080_Ours(benchmark::State& s)
{
    TickOf<TKTFrm>(s, kFullWidth, kFullHeight);
}
void BM_KineticTick1920x1080_Clear(benchmark::State& s)
{
    ClearOf(s, kFullWidth, kFullHeight);
}
void BM_ReactionTick1920x1080_Ours(benchmark::State& s)
{
    TickOf<TReactRateFrm>(s, kFullWidth, kFullHeight);
}
void BM_ReactionTick1920x1080_Clear(benchmark::State& s)
{
    ClearOf(s, kFullWidth, kFullHeight);
}

BENCHMARK(BM_ParticleStep_Ours)->UseRealTime();
BENCHMARK(BM_ParticleStep_SqrtEveryPair)->UseRealTime();
BENCHMARK(BM_ParticleStep_Clear)->UseRealTime();
BENCHMARK(BM_KineticTick1920x1080_Ours)->UseRealTime();
BENCHMARK(BM_KineticTick1920x1080_Clear)->UseRealTime();
BENCHMARK(BM_ReactionTick1920x1080_Ours)->UseRealTime();
BENCHMARK(BM_ReactionTick1920x1080_Clear)->UseRealTime();
BENCHMARK(BM_KineticResize1920x1080_Ours)->UseRealTime();
BENCHMARK(BM_KineticResize1920x1080_Clear)->UseRealTime();
BENCHMARK(BM_ReactionResize1920x1080_Ours)->UseRealTime();
BENCHMARK(BM_ReactionResize1920x1080_Clear)->UseRealTime();

}  // namespace
