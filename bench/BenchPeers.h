// What the benchmark files share: the plain Clear that a frame's work is
// compared with, and the registration of runs under the names the reporter
// pairs (BM_<operation>_Ours beside BM_<operation>_<peer>), all in wall time.
#pragma once

#include "runtime/Bitmap32.h"

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

}  // namespace brv::bench
