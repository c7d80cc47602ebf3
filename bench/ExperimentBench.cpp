// The animated experiments against the cheapest thing a frame can cost: a
// plain Clear of a bitmap of the same size, in the same run.  Pairs are named
// BM_<operation>_Ours and BM_<operation>_Clear, so the reporter prints the
// ratio; a full background redraw should stay within 6 × a Clear.
//
// Redraw: the form's resize handler on a picture of the given size (fit the
// bitmap, rescale, place the layers, draw the background).  The form is never
// shown, so no repaint reaches the screen and only the drawing is timed.
// Step: one fixed 1 ms step of a running experiment followed by the repaint a
// real tick ends with: the parts of the back buffer the step marked as
// changed composed again (background, then the layers over it).
#include "common/CadencerEx.h"
#include "experiments/physics/uBall.h"
#include "experiments/physics/uTerminalVelocity.h"
#include "runtime/Bitmap32.h"
#include "runtime/Image32.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace brv;

template <class Form>
std::unique_ptr<Form> FormWithPicture(int width, int height)
{
    auto form = std::make_unique<Form>();
    form->Pic()->resize(width, height);
    form->PicResize();
    return form;
}

void ClearOf(benchmark::State& state, int width, int height)
{
    TBitmap32 b(width, height);
    for (auto _ : state) {
        b.Clear(clWhite32);
        benchmark::DoNotOptimize(b.Bits());
    }
}

template <class Form>
void RedrawOf(benchmark::State& state, int width, int height)
{
    auto form = FormWithPicture<Form>(width, height);
    for (auto _ : state) {
        form->PicResize();
        benchmark::DoNotOptimize(form->Pic()->Bitmap().Bits());
    }
}

// Time for the clock, moved on by hand one fixed step per iteration.
double gNow = 0;

template <class Form>
void StepOf(benchmark::State& state, int width, int height)
{
    TNGLCadencer::SetPerformanceCounterSource([] { return gNow; });
    auto form = FormWithPicture<Form>(width, height);
    TBitmap32 buffer;
    form->Pic()->PaintPending(buffer);
    form->PressStart();
    for (auto _ : state) {
        if (!form->Clock->Enabled()) {
            // The run ended (apex, rest or the bottom of the tube): start
            // another one, outside the timing.
            state.PauseTiming();
            form->Buttons.ResetBtn->trigger();
            form->PressStart();
            state.ResumeTiming();
        }
        gNow += 0.001;
        form->Clock->Progress();
        form->Pic()->PaintPending(buffer);
        benchmark::DoNotOptimize(buffer.Bits());
    }
    form.reset();
    TNGLCadencer::SetPerformanceCounterSource({});
}

void BM_BallRedraw1920x1080_Ours(benchmark::State& s)
{
    RedrawOf<TBallFrm>(s, 1920, 1080);
}
void BM_BallRedraw1920x1080_Clear(benchmark::State& s)
{
    ClearOf(s, 1920, 1080);
}
void BM_BallRedraw1024x768_Ours(benchmark::State& s)
{
    RedrawOf<TBallFrm>(s, 1024, 768);
}
void BM_BallRedraw1024x768_Clear(benchmark::State& s)
{
    ClearOf(s, 1024, 768);
}
void BM_BallStep1920x1080_Ours(benchmark::State& s)
{
    StepOf<TBallFrm>(s, 1920, 1080);
}
void BM_BallStep1920x1080_Clear(benchmark::State& s)
{
    ClearOf(s, 1920, 1080);
}
void BM_BallStep1024x768_Ours(benchmark::State& s)
{
    StepOf<TBallFrm>(s, 1024, 768);
}
void BM_BallStep1024x768_Clear(benchmark::State& s)
{
    ClearOf(s, 1024, 768);
}

void BM_VelocityRedraw1920x1080_Ours(benchmark::State& s)
{
    RedrawOf<TVelocityFrm>(s, 1920, 1080);
}
void BM_VelocityRedraw1920x1080_Clear(benchmark::State& s)
{
    ClearOf(s, 1920, 1080);
}
void BM_VelocityRedraw1024x768_Ours(benchmark::State& s)
{
    RedrawOf<TVelocityFrm>(s, 1024, 768);
}
void BM_VelocityRedraw1024x768_Clear(benchmark::State& s)
{
    ClearOf(s, 1024, 768);
}
void BM_VelocityStep1920x1080_Ours(benchmark::State& s)
{
    StepOf<TVelocityFrm>(s, 1920, 1080);
}
void BM_VelocityStep1920x1080_Clear(benchmark::State& s)
{
    ClearOf(s, 1920, 1080);
}
void BM_VelocityStep1024x768_Ours(benchmark::State& s)
{
    StepOf<TVelocityFrm>(s, 1024, 768);
}
void BM_VelocityStep1024x768_Clear(benchmark::State& s)
{
    ClearOf(s, 1024, 768);
}

BENCHMARK(BM_BallRedraw1920x1080_Ours)->UseRealTime();
BENCHMARK(BM_BallRedraw1920x1080_Clear)->UseRealTime();
BENCHMARK(BM_BallRedraw1024x768_Ours)->UseRealTime();
BENCHMARK(BM_BallRedraw1024x768_Clear)->UseRealTime();
BENCHMARK(BM_BallStep1920x1080_Ours)->UseRealTime();
BENCHMARK(BM_BallStep1920x1080_Clear)->UseRealTime();
BENCHMARK(BM_BallStep1024x768_Ours)->UseRealTime();
BENCHMARK(BM_BallStep1024x768_Clear)->UseRealTime();
BENCHMARK(BM_VelocityRedraw1920x1080_Ours)->UseRealTime();
BENCHMARK(BM_VelocityRedraw1920x1080_Clear)->UseRealTime();
BENCHMARK(BM_VelocityRedraw1024x768_Ours)->UseRealTime();
BENCHMARK(BM_VelocityRedraw1024x768_Clear)->UseRealTime();
BENCHMARK(BM_VelocityStep1920x1080_Ours)->UseRealTime();
BENCHMARK(BM_VelocityStep1920x1080_Clear)->UseRealTime();
BENCHMARK(BM_VelocityStep1024x768_Ours)->UseRealTime();
BENCHMARK(BM_VelocityStep1024x768_Clear)->UseRealTime();

}  // namespace
