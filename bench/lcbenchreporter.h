#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Prints to the console as Google Benchmark does, and keeps the median and the fastest of the
// repetitions of each benchmark, so the run can end with a summary that puts them side by side.
class LCBenchReporter : public benchmark::ConsoleReporter
{
public:
    struct Figure {
        double medianMilliseconds = 0.0;
        double bestMilliseconds = 0.0;
        // the median by the wall clock, whichever clock the other two are taken by
        double medianRealMilliseconds = 0.0;
    };

    // Which of the times Google Benchmark takes the figures are made of. Wall-clock time counts
    // waiting for files and processes; the process's CPU time leaves out the time other
    // programs on a busy machine had the processor, and suits work that never waits.
    enum class Clock { Real, Cpu };

    explicit LCBenchReporter(OutputOptions options, Clock clock = Clock::Real)
        : ConsoleReporter(options)
        , m_clock(clock)
    {
    }

    void ReportRuns(const std::vector<Run> &runs) override;

    // The figures of a benchmark by the name it was registered under; none when it did not run
    // or failed.
    std::optional<Figure> figure(const std::string &name) const;

private:
    const Clock m_clock;
    std::map<std::string, double> m_medianMilliseconds;
    std::map<std::string, double> m_medianRealMilliseconds;
    std::map<std::string, std::vector<double>> m_repetitionMilliseconds;
    std::set<std::string> m_failed;
};
