#include "curves/StatsTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>

namespace
{

std::vector<std::string_view> SplitCommas(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos)
            return fields;
        line.remove_prefix(comma + 1);
    }
}

std::optional<double> CsvNumber(std::string_view field)
{
    double value = 0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || result.ec != std::errc() || result.ptr != field.data() + field.size()
        || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string Quoted(std::string_view field)
{
    return "\"" + std::string(field.substr(0, 40)) + "\"";
}

// Where each statistic stands in a row; percentiles in the order of their
// columns, and that order sorted by percentile.
struct Columns {
    std::size_t fields = 0;
    std::map<std::string, std::size_t> named; // "frequency", "mean", "std", ...
    std::vector<std::size_t> percentiles;
    std::vector<std::size_t> rising; // indices into percentiles, lowest percentile first
};

constexpr const char* kHeaderShape = "the header row is not that of voxacurve stats (Frequency "
                                     "(Hz),Mean,Minimum,Maximum,...,Count)";

// The statistics by their column titles (before the unit); percentiles are
// "P" and a number.
constexpr std::pair<const char*, const char*> kTitles[]
    = {{"Mean", "mean"}, {"Minimum", "minimum"}, {"Maximum", "maximum"}, {"Std", "std"}};

// Reads one column title of the header row: a statistic, a percentile, or
// another column (skipped); the error in words.
std::optional<std::string> ReadColumnTitle(
    std::string_view f, const std::string& unit, std::size_t i, Columns& columns, StatsTable& table)
{
    std::string name;
    if (f == "Frequency (Hz)" || f == "Count")
        name = f == "Count" ? "count" : "frequency";
    if (!f.ends_with(unit) && name.empty())
        return std::nullopt;
    const std::string_view title = f.substr(0, f.size() - unit.size());
    for (const auto& [known, statistic] : kTitles)
        if (name.empty() && title == known)
            name = statistic;
    if (name.empty() && title.starts_with("P")) {
        const std::optional<double> p = CsvNumber(title.substr(1));
        if (!p)
            return "the column " + Quoted(f) + " is no percentile";
        if (*p < 0 || *p > 100)
            return "the column " + Quoted(f) + " names percentile " + std::string(title.substr(1))
                + "; percentiles lie from 0 to 100";
        // Two columns of one percentile cannot be put in order with the others.
        if (std::find(table.percentiles.begin(), table.percentiles.end(), *p)
            != table.percentiles.end())
            return "the column " + Quoted(f) + " names a percentile that an earlier column names";
        columns.percentiles.push_back(i);
        table.percentiles.push_back(*p);
        return std::nullopt;
    }
    if (!name.empty() && !columns.named.emplace(name, i).second)
        return "the column " + Quoted(f) + " is there twice";
    return std::nullopt;
}

// Reads the header row into the columns and the table's kind and
// percentiles; the error in words.
std::optional<std::string> ReadStatsHeader(
    const std::vector<std::string_view>& fields, Columns& columns, StatsTable& table)
{
    const auto mean = std::find_if(fields.begin(), fields.end(),
        [](std::string_view f) { return f == "Mean (dB)" || f == "Mean (Ohm)"; });
    if (mean == fields.end())
        return std::string(kHeaderShape) + ": no column Mean (dB) or Mean (Ohm)";
    const bool ohm = *mean == "Mean (Ohm)";
    const std::string unit = ohm ? " (Ohm)" : " (dB)";
    table.kind = ohm ? CurveKind::Impedance : CurveKind::Response;
    columns.fields = fields.size();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (auto error = ReadColumnTitle(fields[i], unit, i, columns, table))
            return error;
    const std::pair<const char*, std::string> needed[] = {{"frequency", "Frequency (Hz)"},
        {"minimum", "Minimum" + unit}, {"maximum", "Maximum" + unit}, {"count", "Count"}};
    for (const auto& [name, title] : needed)
        if (!columns.named.contains(name))
            return std::string(kHeaderShape) + ": no column " + title;
    table.hasDeviation = columns.named.contains("std");
    columns.rising.resize(table.percentiles.size());
    for (std::size_t i = 0; i < columns.rising.size(); ++i)
        columns.rising[i] = i;
    std::stable_sort(columns.rising.begin(), columns.rising.end(),
        [&](std::size_t a, std::size_t b) { return table.percentiles[a] < table.percentiles[b]; });
    table.percentileValues.resize(table.percentiles.size());
    return std::nullopt;
}

// The count column: a whole number of curves, at least one (a row is
// written only where a curve covers its frequency).
std::optional<std::string> CheckCount(std::string_view field)
{
    uint64_t count = 0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), count);
    if (field.empty() || result.ec != std::errc() || result.ptr != field.data() + field.size())
        return "the count " + Quoted(field) + " is not a whole number of curves";
    if (count == 0)
        return std::string("a count of 0 curves (a row is written only where a curve counts)");
    return std::nullopt;
}

// The row's numbers against what a measurement holds; the fault in words.
std::optional<std::string> CheckRowValues(const StatsTable& table, const Columns& columns,
    double frequency, const std::map<std::string, double>& values,
    const std::vector<double>& percentileValues)
{
    if (!(frequency > 0) || frequency > kMaxCurveFrequency)
        return "the frequency " + FormatNumber(frequency, 9)
            + " Hz lies outside what a curve holds (above 0 up to 2^30 Hz)";
    if (!table.frequencies.empty() && !(frequency > table.frequencies.back()))
        return std::string("the frequency does not rise");
    const bool ohm = table.kind == CurveKind::Impedance;
    const double low = ohm ? 0 : -kMaxCurveLevel, high = ohm ? kMaxCurveOhm : kMaxCurveLevel;
    const auto outside = [&](const std::string& what, double v) {
        return what + " " + FormatNumber(v, 9) + " lies outside what a curve holds ("
            + (ohm ? "0 to 1e78 Ohm)" : "-2000 to 2000 dB)");
    };
    for (const char* name : {"minimum", "maximum", "mean"})
        if (values.at(name) < low || values.at(name) > high)
            return outside(std::string("the ") + name, values.at(name));
    for (std::size_t i = 0; i < percentileValues.size(); ++i)
        if (percentileValues[i] < low || percentileValues[i] > high)
            return outside("the P" + FormatNumber(table.percentiles[i], 6), percentileValues[i]);
    const double minimum = values.at("minimum"), maximum = values.at("maximum");
    if (minimum > maximum)
        return "the minimum " + FormatNumber(minimum, 9) + " lies above the maximum "
            + FormatNumber(maximum, 9);
    const auto between = [&](double v) { return minimum <= v && v <= maximum; };
    if (!between(values.at("mean")))
        return std::string("the mean lies outside the minimum and maximum");
    if (values.contains("std") && !std::isnan(values.at("std"))
        && !(values.at("std") >= 0 && values.at("std") <= high - low))
        return "the standard deviation " + FormatNumber(values.at("std"), 9)
            + " is negative or wider than any values";
    for (std::size_t i = 0; i < percentileValues.size(); ++i)
        if (!between(percentileValues[i]))
            return "the P" + FormatNumber(table.percentiles[i], 6)
                + " lies outside the minimum and maximum";
    for (std::size_t k = 1; k < columns.rising.size(); ++k) {
        const std::size_t lower = columns.rising[k - 1], higher = columns.rising[k];
        if (table.percentiles[higher] > table.percentiles[lower]
            && percentileValues[higher] < percentileValues[lower])
            return "the P" + FormatNumber(table.percentiles[higher], 6) + " lies below the P"
                + FormatNumber(table.percentiles[lower], 6)
                + ": a higher percentile is never lower";
    }
    return std::nullopt;
}

// Reads one row into the table; the error in words.
std::optional<std::string> ReadStatsRow(
    const std::vector<std::string_view>& fields, const Columns& columns, StatsTable& table)
{
    if (fields.size() != columns.fields)
        return std::string("not as many fields as the header row");
    std::map<std::string, double> values;
    for (const auto& [name, i] : columns.named) {
        if (name == "count")
            continue;
        // A single curve has no deviation: its field is empty.
        if (name == "std" && fields[i].empty()) {
            values[name] = std::numeric_limits<double>::quiet_NaN();
            continue;
        }
        const auto value = CsvNumber(fields[i]);
        if (!value)
            return Quoted(fields[i]) + " is not a number";
        values[name] = *value;
    }
    std::vector<double> percentileValues;
    for (const std::size_t i : columns.percentiles) {
        const auto value = CsvNumber(fields[i]);
        if (!value)
            return Quoted(fields[i]) + " is not a number";
        percentileValues.push_back(*value);
    }
    if (auto error = CheckCount(fields[columns.named.at("count")]))
        return error;
    const double frequency = values.extract("frequency").mapped();
    if (auto error = CheckRowValues(table, columns, frequency, values, percentileValues))
        return error;
    table.frequencies.push_back(frequency);
    table.mean.push_back(values.at("mean"));
    table.minimum.push_back(values.at("minimum"));
    table.maximum.push_back(values.at("maximum"));
    if (table.hasDeviation)
        table.deviation.push_back(values.at("std"));
    for (std::size_t i = 0; i < percentileValues.size(); ++i)
        table.percentileValues[i].push_back(percentileValues[i]);
    return std::nullopt;
}

} // namespace

ParsedStatsTable ParseStatsCsv(std::string_view text)
{
    ParsedStatsTable parsed;
    StatsTable& table = parsed.table;
    Columns columns;
    bool header = false;
    int lineNumber = 0;
    const auto refuse = [&](const std::string& why) {
        ParsedStatsTable refused;
        refused.error = (lineNumber > 0 ? "line " + std::to_string(lineNumber) + ": " : "") + why;
        return refused;
    };
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '*')
            continue;
        const std::vector<std::string_view> fields = SplitCommas(line);
        const std::optional<std::string> error = header ? ReadStatsRow(fields, columns, table)
                                                        : ReadStatsHeader(fields, columns, table);
        if (error)
            return refuse(*error);
        header = true;
    }
    if (table.frequencies.size() < 2) {
        lineNumber = 0;
        return refuse("fewer than two rows of statistics");
    }
    return parsed;
}

StatsBand BandOf(const StatsTable& table)
{
    StatsBand band {table.kind, table.frequencies, table.minimum, table.maximum, {}, {}, table.mean,
        {}, "mean"};
    const std::vector<double>& p = table.percentiles;
    if (p.empty())
        return band;
    const auto [low, high] = std::minmax_element(p.begin(), p.end());
    if (*low < *high) {
        band.lowest = table.percentileValues[std::size_t(low - p.begin())];
        band.highest = table.percentileValues[std::size_t(high - p.begin())];
        band.rangeName = "P" + FormatNumber(*low, 6) + " to P" + FormatNumber(*high, 6);
    }
    const auto median = std::find(p.begin(), p.end(), 50.0);
    if (median != p.end()) {
        band.median = table.percentileValues[std::size_t(median - p.begin())];
        band.medianName = "median (P50)";
    }
    return band;
}
