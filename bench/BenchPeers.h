// What the benchmark files share: the plain Clear that a frame's work is
// compared with, the registration of runs under the names the reporter
// pairs (BM_<operation>_Ours beside BM_<operation>_<peer>), all in wall time,
// and a form's picture brought to a size.
#pragma once

#include "runtime/Bitmap32.h"
#include "runtime/Image32.h"

#include <benchmark/benchmark.h>

#include <string>
#include <utility>

namespace brv::bench {

// A plain Clear of a bitmap: the cheapest thing a frame can cost.
inline void ClearOf(benchmark::State& state, int width, int height)
{
    TBitmap32 b(width, height);
    for (auto _ : state) {
        b.Clear(clWhite32);
        benchmark::DoNotOptimize(b.Bits());
    }
}

// Registers one run of fn(state, args...) under name.  Returns true, so that
// a file can register at namespace scope, in the order its runs are written.
template <class Fn, class... Args>
bool Measure(const std::string& name, Fn fn, Args... args)
{
    benchmark::RegisterBenchmark(name.c_str(), fn, args...)->UseRealTime();
    return true;
}

// BM_<operation>_Ours, and BM_<operation>_Clear on a bitmap of the same size.
template <class Ours>
bool MeasureAgainstClear(const std::string& operation, Ours ours, int width, int height)
{
    Measure("BM_" + operation + "_Ours", std::move(ours));
    return Measure("BM_" + operation + "_Clear", ClearOf, width, height);
}

// A form never shown gets no resize event: its picture is sized and the
// handler called here, as the first show would.
inline void SizePicture(TImage32& pic, int width, int height)
{
    pic.resize(width, height);
    if (pic.OnResize)
        pic.OnResize();
}

}  // namespace brv::bench
