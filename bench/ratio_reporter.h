#pragma once
// A console reporter that also prints, after the run, each measured benchmark's time as
// a ratio to its baseline measured in the same run. Pairs are given as
// {benchmark name, baseline name}, by the name the benchmark was registered with (its
// function name and arguments, without "/iterations:", "/min_time:" or "/real_time").
//
// A ratio is only worth something when it holds from one run to the next on a machine
// that is busy with other work. So every benchmark runs several repetitions (5 unless
// --benchmark_repetitions says otherwise) and the ratio is taken of the medians; the
// time compared is the CPU time of the measuring thread, which other processes do not
// stretch, except for a benchmark registered with UseRealTime() or UseManualTime()
// (see UncontendedTimer), whose own time is the one that counts. Counters named "x_..." (a ratio measured
// inside each iteration) are reported as their median too.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The time a piece of work takes on a machine with a processor free for it: the wall
// clock's time less the time the thread spent waiting for a processor (the scheduler's
// run-queue delay). Work that waits for the disk counts its wait, as the wall clock
// does, but other programs busy on the processors do not stretch it. For benchmarks
// whose work is not CPU-bound, with UseManualTime():
//     UncontendedTimer timer;  ... work ...;  state.SetIterationTime(timer.Seconds());
class UncontendedTimer {
public:
    UncontendedTimer() : m_start(std::chrono::steady_clock::now()), m_waitStart(RunQueueWait()) {}

    double Seconds() const
    {
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
        const double waited = RunQueueWait() - m_waitStart;
        return wall > waited ? wall - waited : 0.0;
    }

    // Seconds this thread has spent runnable but not running (0 where the kernel keeps
    // no such count: then the time is the wall clock's).
    static double RunQueueWait()
    {
        std::ifstream in("/proc/thread-self/schedstat");
        unsigned long long running = 0, waiting = 0;
        return in >> running >> waiting ? double(waiting) * 1e-9 : 0.0;
    }

private:
    std::chrono::steady_clock::time_point m_start;
    double m_waitStart;
};

// The CPU time of the calling thread, for work that only computes.
class ThreadCpuTimer {
public:
    ThreadCpuTimer() : m_start(Now()) {}
    double Seconds() const { return Now() - m_start; }

private:
    static double Now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    }
    double m_start;
};

// A ratio measured in pairs: each iteration runs the baseline and then the measured work,
// `rounds` times in turn, so that both meet the same load on a shared machine, and times
// each with the Timer (ThreadCpuTimer or UncontendedTimer). The iteration's time is the
// measured work's (register the benchmark with UseManualTime()); the counters give the
// baseline's time per iteration ("<name>_ms") and the ratio of the two ("x_<name>"),
// whose median over the repetitions the reporter prints. Choose `rounds` so that the
// baseline takes 50 ms or more per iteration.
template <class Timer>
void MeasurePaired(benchmark::State& state, const std::string& baselineName, int rounds,
                   const std::function<void()>& measured, const std::function<void()>& baseline)
{
    double measuredSeconds = 0, baselineSeconds = 0;
    for (auto _ : state) {
        double iteration = 0;
        for (int i = 0; i < rounds; ++i) {
            const Timer baselineTimer;
            baseline();
            baselineSeconds += baselineTimer.Seconds();
            const Timer timer;
            measured();
            iteration += timer.Seconds();
        }
        measuredSeconds += iteration;
        state.SetIterationTime(iteration);
    }
    const double iterations = double(state.iterations());
    state.counters[baselineName + "_ms"] = iterations > 0 ? baselineSeconds * 1000 / iterations : 0;
    state.counters["x_" + baselineName] = baselineSeconds > 0 ? measuredSeconds / baselineSeconds : 0;
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs) : m_pairs(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.error_occurred)
                continue;
            // The median of the repetitions, or the one run when there is no repetition.
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            const bool single = r.run_type == Run::RT_Iteration && r.repetitions <= 1;
            if (!median && !single)
                continue;
            Measure& m = m_measures[Key(r)];
            m.ownTime = !r.run_name.time_type.empty();
            m.seconds = m.ownTime ? r.GetAdjustedRealTime() : r.GetAdjustedCPUTime();
            m.unit = benchmark::GetTimeUnitString(r.time_unit);
            m.repetitions = r.repetitions;
            for (const auto& [name, counter] : r.counters)
                if (name.rfind("x_", 0) == 0)
                    m.ratios[name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto& [measured, baseline] : m_pairs) {
            const auto a = m_measures.find(measured);
            const auto b = m_measures.find(baseline);
            if (a == m_measures.end() || b == m_measures.end() || b->second.seconds <= 0) {
                std::printf("ratio %s / %s: not measured\n", measured.c_str(), baseline.c_str());
                continue;
            }
            const Measure& x = a->second;
            const Measure& y = b->second;
            std::printf("ratio %s / %s = %.2f  (%s, median of %lld: %.4g %s / %.4g %s)\n", measured.c_str(),
                        baseline.c_str(), x.seconds / y.seconds, x.ownTime ? "own time" : "CPU time",
                        static_cast<long long>(x.repetitions), x.seconds, x.unit.c_str(), y.seconds, y.unit.c_str());
        }
        for (const auto& [name, m] : m_measures)
            for (const auto& [counter, value] : m.ratios)
                std::printf("ratio %s %s = %.2f  (median of %lld)\n", name.c_str(), counter.c_str(), value,
                            static_cast<long long>(m.repetitions));
    }

private:
    struct Measure {
        double seconds = 0;  // in `unit`, per iteration
        std::string unit;
        bool ownTime = false;
        long long repetitions = 1;
        std::map<std::string, double> ratios;
    };

    static std::string Key(const Run& r)
    {
        return r.run_name.args.empty() ? r.run_name.function_name : r.run_name.function_name + "/" + r.run_name.args;
    }

    std::vector<std::pair<std::string, std::string>> m_pairs;
    std::map<std::string, Measure> m_measures;
};

// Runs the registered benchmarks with a RatioReporter over the given pairs: 5 repetitions
// of each and only their statistics shown, unless the command line says otherwise.
inline int RunWithRatios(int argc, char** argv, std::vector<std::pair<std::string, std::string>> pairs)
{
    bool repetitionsGiven = false;
    for (int i = 1; i < argc; ++i)
        repetitionsGiven = repetitionsGiven || std::strncmp(argv[i], "--benchmark_repetitions", 23) == 0;
    static char programName[] = "bench";
    static char repetitions[] = "--benchmark_repetitions=5";
    static char aggregatesOnly[] = "--benchmark_display_aggregates_only=true";
    std::vector<char*> args{argc > 0 ? argv[0] : programName};
    if (!repetitionsGiven) {
        args.push_back(repetitions);
        args.push_back(aggregatesOnly);
    }
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
