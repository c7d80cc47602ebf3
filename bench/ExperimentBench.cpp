// Every experiment form of the catalogue against the cheapest thing a frame
// can cost: a plain Clear of a bitmap of the same size, in the same run.  The
// benchmarks are made from the catalogue's rows, so an experiment added
// later is measured by its row alone.  Pairs are named BM_<operation>_Ours
// and BM_<operation>_Clear, so the reporter prints the ratio; a full
// background redraw should stay within 6 × a Clear.
//
// Redraw: the picture's resize handler on a picture of the given size (fit
// the bitmap, rescale, place the layers, draw the background).  The form is
// never shown, so no repaint reaches the screen and only the drawing is timed.
// Step (forms with an animation clock): one 1 ms tick of a running
// experiment followed by the repaint a real frame ends with: the parts of the
// back buffer the tick marked as changed composed again (background, then
// the layers over it).
// TimeDrag (forms with a time bar): the pupil dragging the bar's slider, one
// step per iteration (a two-hundredth of the bar, back to the start from its
// end): the form's notification and redraw, then the repaint of what it
// marked.  A frame's budget is 16 ms.
#include "ExperimentBench.h"

#include "BenchPeers.h"

#include "common/CadencerEx.h"
#include "runtime/Bitmap32.h"
#include "runtime/Catalogue.h"
#include "runtime/ExperimentForm.h"
#include "runtime/Image32.h"
#include "runtime/TimeScrubbedForm.h"

#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

namespace brv::bench {

namespace {

struct TSize {
    int width;
    int height;
    std::string Name() const { return std::to_string(width) + "x" + std::to_string(height); }
};

constexpr TSize kSizes[] = {{1920, 1080}, {1024, 768}};

std::unique_ptr<TExperimentForm> FormWithPicture(const TCatalogueEntry& entry, TSize size)
{
    std::unique_ptr<TExperimentForm> form(entry.create());
    if (TImage32* pic = form->Pic())
        SizePicture(*pic, size.width, size.height);
    return form;
}

void RedrawOf(benchmark::State& state, const TCatalogueEntry& entry, TSize size)
{
    auto form = FormWithPicture(entry, size);
    TImage32* pic = form->Pic();
    if (pic == nullptr || !pic->OnResize) {
        state.SkipWithError("the form has no picture with a resize handler");
        return;
    }
    for (auto _ : state) {
        pic->OnResize();
        benchmark::DoNotOptimize(pic->Bitmap().Bits());
    }
}

// Time for the clocks, moved on by hand one millisecond per iteration.
double gNow = 0;

void StepOf(benchmark::State& state, const TCatalogueEntry& entry, TSize size)
{
    TNGLCadencer::SetPerformanceCounterSource([] { return gNow; });
    std::unique_ptr<TExperimentForm> form;
    TBitmap32 buffer;
    const auto startRun = [&] {
        form = FormWithPicture(entry, size);
        form->Pic()->PaintPending(buffer);
        form->PressStart();
    };
    startRun();
    for (auto _ : state) {
        if (!form->Cadencer()->Enabled()) {
            // The run ended (the ball at rest, say): a new form starts
            // another, outside the timing.
            state.PauseTiming();
            startRun();
            state.ResumeTiming();
        }
        gNow += 0.001;
        form->Cadencer()->Progress();
        form->Pic()->PaintPending(buffer);
        benchmark::DoNotOptimize(buffer.Bits());
    }
    form.reset();
    TNGLCadencer::SetPerformanceCounterSource({});
}

void TimeDragOf(benchmark::State& state, const TCatalogueEntry& entry, TSize size)
{
    auto form = FormWithPicture(entry, size);
    const auto* scrubbed = qobject_cast<TTimeScrubbedForm*>(form.get());
    QScrollBar* bar = scrubbed != nullptr ? scrubbed->TimeHsb : nullptr;
    if (bar == nullptr || form->Pic() == nullptr) {
        state.SkipWithError("the form has no time bar");
        return;
    }
    TBitmap32 buffer;
    form->Pic()->PaintPending(buffer);
    const int step = std::max(1, (bar->maximum() - bar->minimum()) / 200);
    bar->setSliderDown(true);  // a held slider reports each move as the hand's
    for (auto _ : state) {
        const int next = bar->sliderPosition() + step;
        bar->setSliderPosition(next > bar->maximum() ? bar->minimum() : next);
        form->Pic()->PaintPending(buffer);
        benchmark::DoNotOptimize(buffer.Bits());
    }
    bar->setSliderDown(false);
}

// The form's class without its namespace, T and Frm ("brv::TBallFrm" →
// "Ball"); a class that two rows share takes the id as well.
std::string BenchName(const TCatalogueEntry& entry, const TExperimentForm& form, std::set<std::string>& taken)
{
    std::string name = form.metaObject()->className();
    if (const auto colons = name.rfind("::"); colons != std::string::npos)
        name.erase(0, colons + 2);
    if (name.size() > 1 && name.front() == 'T')
        name.erase(0, 1);
    if (name.size() > 3 && name.ends_with("Frm"))
        name.erase(name.size() - 3);
    if (name.empty() || taken.count(name) != 0)
        name += "Id" + std::to_string(entry.id);
    taken.insert(name);
    return name;
}

}  // namespace

void RegisterExperimentBenchmarks()
{
    std::set<std::string> taken;
    for (const TCatalogueEntry& entry : TCatalogue::Instance().Entries()) {
        if (!entry.HasForm())
            continue;
        const std::unique_ptr<TExperimentForm> form(entry.create());
        const std::string name = BenchName(entry, *form, taken);
        const bool animated = form->Cadencer() != nullptr && form->Pic() != nullptr;
        const auto* scrubbed = qobject_cast<const TTimeScrubbedForm*>(form.get());
        const bool timeBar = scrubbed != nullptr && scrubbed->TimeHsb != nullptr;
        for (const TSize size : kSizes) {
            MeasureAgainstClear(
                name + "Redraw" + size.Name(),
                [entry, size](benchmark::State& s) { RedrawOf(s, entry, size); }, size.width, size.height);
            if (animated)
                MeasureAgainstClear(
                    name + "Step" + size.Name(),
                    [entry, size](benchmark::State& s) { StepOf(s, entry, size); }, size.width, size.height);
            if (timeBar)
                MeasureAgainstClear(
                    name + "TimeDrag" + size.Name(),
                    [entry, size](benchmark::State& s) { TimeDragOf(s, entry, size); }, size.width,
                    size.height);
        }
    }
}

}  // namespace brv::bench
