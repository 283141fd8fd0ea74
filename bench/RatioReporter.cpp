#include "RatioReporter.h"

#include <algorithm>
#include <ostream>
#include <string_view>

namespace
{

std::unique_ptr<benchmark::BenchmarkReporter> ReporterFor(const std::string& format)
{
    if (format == "json")
        return std::make_unique<benchmark::JSONReporter>();
    if (format == "csv") {
        // Deprecated in Google Benchmark, but scripts of ours and of users
        // still read it as long as the library writes it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        return std::make_unique<benchmark::CSVReporter>();
#pragma GCC diagnostic pop
    }
    return std::make_unique<benchmark::ConsoleReporter>();
}

} // namespace

RatioReporter::RatioReporter(std::string reference, const std::string& format)
    : m_format(ReporterFor(format))
    , m_ratioStream(format == "json" || format == "csv" ? stderr : stdout)
    , m_reference(std::move(reference))
{
}

bool RatioReporter::ReportContext(const Context& context)
{
    m_format->SetOutputStream(&GetOutputStream());
    m_format->SetErrorStream(&GetErrorStream());
    return m_format->ReportContext(context);
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    m_format->ReportRuns(runs);
    recordTimes(runs);
}

void RatioReporter::Finalize()
{
    m_format->Finalize();
    GetOutputStream().flush();
    printRatios();
}

void RatioReporter::recordTimes(const std::vector<Run>& runs)
{
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

void RatioReporter::printRatios() const
{
    const auto reference = m_times.find(m_reference);
    if (reference == m_times.end())
        return;
    const Times& r = reference->second;
    // With aggregates only, the single repetitions are not reported: the
    // median stands for the fastest.
    auto fastest = [](const Times& t) { return t.repetitions > 0 ? t.fastest : t.median; };
    std::fprintf(m_ratioStream,
        "\nCPU time as a ratio to %s (median %.1f us, fastest %.1f us), measured in this run:\n",
        m_reference.c_str(), r.median / 1e3, fastest(r) / 1e3);
    std::fprintf(m_ratioStream, "  %-46s %8s %8s\n", "", "median", "fastest");
    for (const auto& [name, t] : m_times)
        std::fprintf(m_ratioStream, "  %-46s %7.2fx %7.2fx\n", name.c_str(), t.median / r.median,
            fastest(t) / fastest(r));
}

std::string BenchmarkFormatOf(int argc, char** argv)
{
    constexpr std::string_view kFlag = "--benchmark_format=";
    std::string format = "console";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with(kFlag))
            format = arg.substr(kFlag.size());
    }
    return format;
}
