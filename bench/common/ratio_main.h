#pragma once
// The body of main() of a benchmark program that prints ratios against a
// baseline measured in the same run: the runs are printed as usual and each
// one is also handed to `keep`; once all have run, `report` prints the
// ratios (and may release what the benchmarks opened).

#include <benchmark/benchmark.h>

#include <functional>
#include <utility>
#include <vector>

namespace benchutil {

using Run = benchmark::BenchmarkReporter::Run;

class KeepingReporter : public benchmark::ConsoleReporter {
public:
    explicit KeepingReporter(std::function<void(const Run&)> keep) : keep_(std::move(keep)) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) keep_(run);
        ConsoleReporter::ReportRuns(runs);
    }

private:
    std::function<void(const Run&)> keep_;
};

inline int RunWithRatios(int argc, char** argv, std::function<void(const Run&)> keep,
                         const std::function<void()>& report) {
    benchmark::Initialize(&argc, argv);
    KeepingReporter reporter(std::move(keep));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    report();
    benchmark::Shutdown();
    return 0;
}

}  // namespace benchutil
