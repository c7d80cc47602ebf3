// The experiment benchmarks, made from the catalogue's rows: call once the
// application object exists and the experiments are registered.
#pragma once

namespace brv::bench {

void RegisterExperimentBenchmarks();

}  // namespace brv::bench
