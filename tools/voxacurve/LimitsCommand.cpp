#include "tools/voxacurve/LimitsCommand.h"

#include "app/WriteWhole.h"
#include "curves/StatsLimits.h"
#include "tools/voxacurve/Arguments.h"

#include <filesystem>
#include <iostream>

namespace
{

namespace fs = std::filesystem;

double NumberOption(
    const ParsedArguments& parsed, const std::string& option, double min, double max)
{
    const std::string& text = parsed.values.at(option);
    const std::optional<double> value = ParseNumberOption(option, text);
    if (!value || *value < min || *value > max)
        throw UsageError(option + " must be a number from " + FormatNumber(min, 6) + " to "
            + FormatNumber(max, 6) + ", not \"" + text + "\"");
    return *value;
}

// --percentiles LO,HI: two numbers, the first below the second.
void ReadPercentiles(const std::string& text, LimitRule& rule)
{
    const std::size_t comma = text.find(',');
    const std::optional<double> low = ParseNumber(text.substr(0, comma));
    const std::optional<double> high
        = comma == std::string::npos ? std::nullopt : ParseNumber(text.substr(comma + 1));
    if (!low || !high || !(*low >= 0 && *low < *high && *high <= 100))
        throw UsageError("--percentiles must be LO,HI: two percentiles from 0 to 100, the lower "
                         "first, not \""
            + text + "\"");
    rule.lowPercentile = *low;
    rule.highPercentile = *high;
}

LimitRule RuleOf(const ParsedArguments& parsed)
{
    const bool sigma = parsed.values.contains("--sigma");
    if (sigma == parsed.values.contains("--percentiles"))
        throw UsageError("give one of --sigma K and --percentiles LO,HI");
    LimitRule rule;
    if (sigma)
        rule.sigma = NumberOption(parsed, "--sigma", 0, 100);
    else
        ReadPercentiles(parsed.values.at("--percentiles"), rule);
    if (parsed.values.contains("--widen"))
        rule.widen = NumberOption(parsed, "--widen", 0, 100);
    return rule;
}

} // namespace

int RunLimits(const std::vector<std::string>& args, std::ostream&, std::ostream& err)
{
    const ParsedArguments parsed = ParseArguments(
        args, {{"--sigma", true}, {"--percentiles", true}, {"--widen", true}, {"-o", true}});
    if (parsed.files.size() != 1)
        throw UsageError("limits reads one STATS.csv");
    const LimitRule rule = RuleOf(parsed);
    const std::string directory = parsed.value("-o", "");
    if (directory.empty())
        throw UsageError("limits needs -o DIR for upper and lower");
    const std::string& source = parsed.files.front();

    std::string text;
    if (const auto readError = ReadWholeFile(source, kMaxTextBytes, text)) {
        err << "voxacurve: " << source << ": " << *readError << '\n';
        return kExitFailed;
    }
    const ParsedStatsTable parsedTable = ParseStatsCsv(text);
    if (parsedTable.error) {
        err << "voxacurve: " << source
            << ": not a statistics CSV of voxacurve stats: " << *parsedTable.error << '\n';
        return kExitFailed;
    }
    const StatsTable& table = parsedTable.table;
    const StatsLimits limits = LimitsFromStats(table, rule);
    if (limits.error)
        throw UsageError(source + ": " + *limits.error);
    if (limits.singleCurveRows > 0)
        err << "voxacurve: " << source << ": " << limits.singleCurveRows
            << (limits.singleCurveRows == 1 ? " frequency" : " frequencies")
            << " where one curve counts (no deviation) left out of the limits\n";

    std::error_code error;
    fs::create_directories(directory, error);
    if (error) {
        err << "voxacurve: cannot make the directory " << directory << ": " << error.message()
            << '\n';
        return kExitFailed;
    }
    const TextFormat format = DefaultTextFormat(table.kind);
    for (const bool upper : {true, false}) {
        const std::string path
            = (fs::path(directory) / ((upper ? "upper." : "lower.") + TextFormatExtension(format)))
                  .string();
        const std::vector<std::string> comments
            = {DescribeLimitRule(rule, table.kind, upper), "Made of the statistics " + source};
        const std::string limitText
            = FormatCurveText(format, table.kind, comments, upper ? limits.upper : limits.lower);
        if (const auto writeError = WriteWhole(path, BytesOf(limitText), Flush::Lazily)) {
            err << "voxacurve: cannot write " << path << ": " << *writeError << '\n';
            return kExitFailed;
        }
    }
    return kExitOk;
}
