#include "RatioReporter.h"

#include <cstdio>

RatioReporter::RatioReporter(std::string reference)
    : m_reference(std::move(reference))
{
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median)
            continue;
        const std::string name = run.run_name.str();
        if (m_fromMedian[name] && !median)
            continue;
        const double perUnit = benchmark::GetTimeUnitMultiplier(run.time_unit);
        m_nanoseconds[name] = run.GetAdjustedCPUTime() / perUnit * 1e9;
        m_fromMedian[name] = median;
    }
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    const auto reference = m_nanoseconds.find(m_reference);
    if (reference == m_nanoseconds.end())
        return;
    std::printf("\nCPU time as a ratio to %s (%.1f us), measured in this run:\n",
        m_reference.c_str(), reference->second / 1e3);
    for (const auto& [name, ns] : m_nanoseconds)
        std::printf("  %-40s %8.2f x\n", name.c_str(), ns / reference->second);
}
