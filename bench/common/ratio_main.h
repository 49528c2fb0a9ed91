#pragma once
// The body of main() of a benchmark program that prints ratios against a
// baseline measured in the same run: the runs are printed as usual and each
// one is also handed to `keep`; once all have run, `report` prints the
// ratios (and may release what the benchmarks opened).

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
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

// Each benchmark's wall and CPU time per iteration in its own time unit (the
// mean when the run is repeated), by its name with its arguments
// ("BM_Frame/800/600").
class RunTimes {
public:
    struct Times {
        double wall = 0, cpu = 0;
        bool fromMean = false;
    };
    void Keep(const Run& r) {
        const auto& n = r.run_name;
        Times& t = times_[n.args.empty() ? n.function_name : n.function_name + "/" + n.args];
        const bool mean = r.run_type == Run::RT_Aggregate && r.aggregate_name == "mean";
        if ((r.run_type == Run::RT_Iteration && !t.fromMean) || mean) {
            t.wall = r.GetAdjustedRealTime();
            t.cpu = r.GetAdjustedCPUTime();
            t.fromMean = mean;
        }
    }
    // nullptr when the benchmark did not run.
    const Times* Find(const std::string& name) const {
        const auto it = times_.find(name);
        return it == times_.end() || it->second.wall <= 0 ? nullptr : &it->second;
    }

private:
    std::map<std::string, Times> times_;
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
