#pragma once
// Passes every report on to Google Benchmark's reporter of the format asked
// (console, json or csv) and then prints, for every benchmark, its CPU time as
// a ratio to a reference benchmark of the same run: absolute times move with
// the machine, the ratios much less. The ratio table follows the console
// table on the standard output; with json or csv it goes to the standard
// error, so that the standard output stays in the format asked.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

class RatioReporter : public benchmark::BenchmarkReporter
{
public:
    // format: "console", "json" or "csv" (anything else counts as console).
    RatioReporter(std::string reference, const std::string& format);

    bool ReportContext(const Context& context) override;
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

    void recordTimes(const std::vector<Run>& runs);
    void printRatios() const;

    std::unique_ptr<benchmark::BenchmarkReporter> m_format;
    std::FILE* m_ratioStream;
    std::string m_reference;
    std::map<std::string, Times> m_times;
};

// The value of --benchmark_format=X among the arguments, "console" without it.
std::string BenchmarkFormatOf(int argc, char** argv);
