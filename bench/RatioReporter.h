#pragma once
// Prints Google Benchmark's table and then, for every benchmark, its CPU time as
// a ratio to a reference benchmark of the same run: absolute times move with
// the machine, the ratios much less.

#include <benchmark/benchmark.h>
#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    explicit RatioReporter(std::string reference);

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::string m_reference;
    // CPU time in nanoseconds by benchmark name (the machine's other work
    // adds to the real time, hardly to this): the median of repetitions
    // when there are several, else the single run.
    std::map<std::string, double> m_nanoseconds;
    std::map<std::string, bool> m_fromMedian;
};
