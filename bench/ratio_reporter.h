#pragma once
// Keeps each benchmark's wall and CPU time per iteration (the mean when the
// run is repeated), so that a program can print ratios between benchmarks
// measured in the same run.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace benchutil {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double wall = 0, cpu = 0;  // in the benchmark's time unit
        bool fromMean = false;
    };
    // By the benchmark's name with its arguments ("BM_Frame/800/600").
    std::map<std::string, Times> times;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) {
            const auto& n = r.run_name;
            Times& t = times[n.args.empty() ? n.function_name : n.function_name + "/" + n.args];
            const bool mean = r.run_type == Run::RT_Aggregate && r.aggregate_name == "mean";
            if ((r.run_type == Run::RT_Iteration && !t.fromMean) || mean) {
                t.wall = r.GetAdjustedRealTime();
                t.cpu = r.GetAdjustedCPUTime();
                t.fromMean = mean;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The times of a benchmark, or nullptr when it did not run.
    const Times* Find(const std::string& name) const {
        const auto it = times.find(name);
        return it == times.end() || it->second.wall <= 0 ? nullptr : &it->second;
    }
};

}  // namespace benchutil
