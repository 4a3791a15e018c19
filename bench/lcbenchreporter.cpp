#include "bench/lcbenchreporter.h"

#include <algorithm>

namespace
{
constexpr double kMillisecondsPerSecond = 1000.0;
const char *const kMedianStatistic = "median";
} // namespace

void LCBenchReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        const std::string name = run.run_name.function_name;
        if (run.error_occurred) {
            m_failed.insert(name);
            continue;
        }
        const double time =
            m_clock == Clock::Cpu ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
        const double toMilliseconds =
            kMillisecondsPerSecond / benchmark::GetTimeUnitMultiplier(run.time_unit);
        const double milliseconds = time * toMilliseconds;
        if (run.run_type == Run::RT_Iteration) {
            m_repetitionMilliseconds[name].push_back(milliseconds);
        } else if (run.aggregate_name == kMedianStatistic) {
            m_medianMilliseconds[name] = milliseconds;
            m_medianRealMilliseconds[name] = run.GetAdjustedRealTime() * toMilliseconds;
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

std::optional<LCBenchReporter::Figure> LCBenchReporter::figure(const std::string &name) const
{
    const auto median = m_medianMilliseconds.find(name);
    const auto repetitions = m_repetitionMilliseconds.find(name);
    if (median == m_medianMilliseconds.end() || repetitions == m_repetitionMilliseconds.end()
        || repetitions->second.empty() || m_failed.count(name) != 0) {
        return std::nullopt;
    }
    const std::vector<double> &times = repetitions->second;
    const auto real = m_medianRealMilliseconds.find(name);
    return Figure{median->second, *std::min_element(times.begin(), times.end()),
        real == m_medianRealMilliseconds.end() ? 0.0 : real->second};
}
