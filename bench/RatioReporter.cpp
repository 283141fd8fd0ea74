#include "RatioReporter.h"

#include <algorithm>
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
        Times& t = m_times[run.run_name.str()];
        const double ns
            = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        if (median) {
            t.median = ns;
            t.fromMedian = true;
            continue;
        }
        t.fastest = t.repetitions == 0 ? ns : std::min(t.fastest, ns);
        ++t.repetitions;
        if (!t.fromMedian)
            t.median = ns;
    }
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    const auto reference = m_times.find(m_reference);
    if (reference == m_times.end())
        return;
    const Times& r = reference->second;
    // With aggregates only, the single repetitions are not reported: the
    // median stands for the fastest.
    auto fastest = [](const Times& t) { return t.repetitions > 0 ? t.fastest : t.median; };
    std::printf("\nCPU time as a ratio to %s (median %.1f us, fastest %.1f us), measured in this "
                "run:\n",
        m_reference.c_str(), r.median / 1e3, fastest(r) / 1e3);
    std::printf("  %-46s %8s %8s\n", "", "median", "fastest");
    for (const auto& [name, t] : m_times)
        std::printf(
            "  %-46s %7.2fx %7.2fx\n", name.c_str(), t.median / r.median, fastest(t) / fastest(r));
}
