#pragma once

#include <vector>

// Google Benchmark's command line with the repetitions of all benchmarks run in a shuffled
// order, so that a busy spell on the machine weighs on a figure and on its reference alike. A
// flag given by hand comes later and wins.
class LCShuffledRuns
{
public:
    LCShuffledRuns(int argc, char *argv[]);

    // For benchmark::Initialize and QCoreApplication, which both take the count by reference.
    int &count() { return m_count; }
    char **arguments() { return m_arguments.data(); }

private:
    std::vector<char *> m_arguments;
    int m_count = 0;
};
