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
#include "BenchPeers.h"

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
// exchanging (no reactions).  Moves as ours; the walls and the exchange are
// the model's own.
void StepTakingEveryRoot(TParticleModel& box, float time)
{
    const float contact = 2 * box.Radius;
    for (int i = 0; i < TParticleModel::Count; ++i) {
        TParticle p = box.Particles[std::size_t(i)];
        p.X += time * p.VX;
        p.Y += time * p.VY;
        box.BounceOffWalls(p);
        for (int j = 0; j < TParticleModel::Count; ++j) {
            if (j == i)
                continue;
            TParticle& q = box.Particles[std::size_t(j)];
            const float dx = p.X - q.X, dy = p.Y - q.Y;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < contact) {
                box.Exchange(p, q, d, p.VX, p.VY, false);
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

double gNow = 0;

// One tick of 1/60 s of a running form: step, redraw, and the repaint's
// composition of the parts marked as changed into the back buffer.
template <class Form>
void TickOf(benchmark::State& state)
{
    TNGLCadencer::SetPerformanceCounterSource([] { return gNow; });
    auto form = CreateForm<Form>();
    bench::SizePicture(*form->Pic(), kFullWidth, kFullHeight);
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
void ResizeOf(benchmark::State& state)
{
    auto form = CreateForm<Form>();
    form->Pic()->resize(kFullWidth, kFullHeight);
    for (auto _ : state) {
        form->PicResize();
        benchmark::DoNotOptimize(form->Pic()->Bitmap().Bits());
    }
}

BENCHMARK(BM_ParticleStep_Ours)->UseRealTime();
BENCHMARK(BM_ParticleStep_SqrtEveryPair)->UseRealTime();
const bool kStepClear = bench::Measure("BM_ParticleStep_Clear", bench::ClearOf, kFullWidth, kFullHeight);

const bool kFormsMeasured = [] {
    bench::MeasureAgainstClear("KineticTick1920x1080", TickOf<TKTFrm>, kFullWidth, kFullHeight);
    bench::MeasureAgainstClear("ReactionTick1920x1080", TickOf<TReactRateFrm>, kFullWidth, kFullHeight);
    bench::MeasureAgainstClear("KineticResize1920x1080", ResizeOf<TKTFrm>, kFullWidth, kFullHeight);
    bench::MeasureAgainstClear("ReactionResize1920x1080", ResizeOf<TReactRateFrm>, kFullWidth, kFullHeight);
    return true;
}();

}  // namespace
