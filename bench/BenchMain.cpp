// Entry of every benchmark: fonts and pictures need a Qt application.
//
// After the usual table, each operation measured as BM_<operation>_Ours is
// compared with the other runs of the same operation (BM_<operation>_QPainter,
// …_QPainterPremultiplied, …_StdFill) as a ratio of wall times, ours ÷ theirs:
// below 1 we are quicker.  With --benchmark_repetitions=N the ratio is of the
// medians, which this shared, noisy kind of machine needs for figures that
// hold from one run to the next.
#include "ExperimentBench.h"

#include "experiments/ExperimentCatalogue.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* kOurs = "Ours";

// "BM_Clear_Ours/real_time" → {"Clear", "Ours"}; empty for other names.
std::pair<std::string, std::string> OperationAndVariant(const std::string& benchmarkName)
{
    std::string name = benchmarkName.substr(0, benchmarkName.find('/'));
    if (name.rfind("BM_", 0) != 0)
        return {};
    name.erase(0, 3);
    const std::size_t split = name.find('_');
    if (split == std::string::npos)
        return {};
    return {name.substr(0, split), name.substr(split + 1)};
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || !(median || run.run_type == Run::RT_Iteration))
                continue;
            const auto [operation, variant] = OperationAndVariant(run.benchmark_name());
            if (operation.empty())
                continue;
            Time& t = times_[operation][variant];
            if (median || !t.median)
                t = {run.GetAdjustedRealTime(), median};
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::ostream& out = GetOutputStream();
        out << "\nRatios of wall time, ours / theirs (below 1: ours is quicker)\n";
        for (const auto& [operation, variants] : times_) {
            const auto found = variants.find(kOurs);
            const double ours = found != variants.end() ? found->second.wall : 0;
            if (ours <= 0)
                continue;
            for (const auto& [variant, t] : variants)
                if (variant != kOurs && t.wall > 0) {
                    const double time = t.wall;
                    char line[128];
                    std::snprintf(line, sizeof line, "  %-26s ours / %-22s %6.2f\n", operation.c_str(),
                                  variant.c_str(), ours / time);
                    out << line;
                }
        }
        out.flush();
    }

private:
    struct Time {
        double wall = 0;      // per iteration
        bool median = false;  // of the repetitions, rather than one run
    };
    // operation → variant → its wall time
    std::map<std::string, std::map<std::string, Time>> times_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);  // fonts need the application
    brv::RegisterExperiments();
    brv::bench::RegisterExperimentBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
