#include "bench/lcshuffledruns.h"

namespace
{
// Google Benchmark takes its options as command-line arguments, which are not const.
char interleaveArgument[] = "--benchmark_enable_random_interleaving=true";
} // namespace

LCShuffledRuns::LCShuffledRuns(int argc, char *argv[])
    : m_arguments(argv, argv + argc)
{
    m_arguments.insert(
        m_arguments.empty() ? m_arguments.end() : m_arguments.begin() + 1, interleaveArgument);
    m_count = int(m_arguments.size());
    // the list ends in a null pointer, as argv does
    m_arguments.push_back(nullptr);
}
