#pragma once
// A console reporter that also prints, after the run, each measured benchmark's time as
// a ratio to its baseline measured in the same run. Pairs are given as
// {benchmark name, baseline name}.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs) : m_pairs(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration)
                m_seconds[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto& [measured, baseline] : m_pairs) {
            const auto a = m_seconds.find(measured);
            const auto b = m_seconds.find(baseline);
            if (a != m_seconds.end() && b != m_seconds.end() && b->second > 0)
                std::printf("ratio %s / %s = %.2f\n", measured.c_str(), baseline.c_str(), a->second / b->second);
        }
    }

private:
    std::vector<std::pair<std::string, std::string>> m_pairs;
    std::map<std::string, double> m_seconds;
};

// Runs the registered benchmarks with a RatioReporter over the given pairs.
inline int RunWithRatios(int argc, char** argv, std::vector<std::pair<std::string, std::string>> pairs)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
