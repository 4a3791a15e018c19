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
    };

    explicit LCBenchReporter(OutputOptions options)
        : ConsoleReporter(options)
    {
    }

    void ReportRuns(const std::vector<Run> &runs) override;

    // The figures of a benchmark by the name it was registered under; none when it did not run
    // or failed.
    std::optional<Figure> figure(const std::string &name) const;

private:
    std::map<std::string, double> m_medianMilliseconds;
    std::map<std::string, std::vector<double>> m_repetitionMilliseconds;
    std::set<std::string> m_failed;
};
