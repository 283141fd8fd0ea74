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
    // CPU time in nanoseconds (the machine's other work adds to the real
    // time, hardly to this) of one benchmark: the median of its repetitions
    // when there are several, else the single run; and the fastest
    // repetition, since the noise of a shared machine only ever adds time.
    struct Times {
        double median = 0;
        bool fromMedian = false;
        double fastest = 0;
        int repetitions = 0;
    };

    std::string m_reference;
    std::map<std::string, Times> m_times;
};
