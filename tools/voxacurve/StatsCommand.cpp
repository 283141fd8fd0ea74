#include "tools/voxacurve/StatsCommand.h"

#include "app/WriteWhole.h"
#include "curves/CurveStats.h"
#include "curves/NameQuoting.h"
#include "tools/voxacurve/Arguments.h"
#include "tools/voxacurve/InputFiles.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace
{

namespace fs = std::filesystem;

struct StatsOptions {
    int perOctave = 48;
    bool perOctaveGiven = false;
    std::vector<double> percentiles = {5, 50, 95};
    std::optional<CurveKind> kind; // --kind: files of the other kind are left out
    std::optional<TextFormat> format;
    std::string output; // -o; empty: the standard output
    float serialResistor = 150;
};

std::vector<double> ParsePercentiles(const std::string& text)
{
    std::vector<double> percentiles;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, end - start);
        const std::optional<double> p = ParseNumber(item);
        if (!p || *p < 0 || *p > 100)
            throw UsageError("--percentiles must be numbers from 0 to 100 separated by commas, "
                             "not \""
                + item + "\"");
        percentiles.push_back(*p);
        start = end + 1;
    }
    return percentiles;
}

StatsOptions OptionsOf(const ParsedArguments& parsed)
{
    StatsOptions options;
    if (parsed.values.contains("--ppo")) {
        options.perOctave
            = static_cast<int>(ParseIntegerOption("--ppo", parsed.values.at("--ppo"), 1, 1000));
        options.perOctaveGiven = true;
    }
    if (parsed.values.contains("--percentiles"))
        options.percentiles = ParsePercentiles(parsed.values.at("--percentiles"));
    if (parsed.values.contains("--kind")) {
        const std::string& kind = parsed.values.at("--kind");
        if (kind != "response" && kind != "impedance")
            throw UsageError("--kind must be response or impedance");
        options.kind = kind == "response" ? CurveKind::Response : CurveKind::Impedance;
    }
    if (parsed.values.contains("--format")) {
        options.format = TextFormatOfName(parsed.values.at("--format"));
        if (!options.format)
            throw UsageError("--format must be frd, zma or csv");
    }
    options.output = parsed.value("-o", "");
    options.serialResistor = parsed.values.contains("--serial-resistor")
        ? ParseSerialResistorOption("--serial-resistor", parsed.values.at("--serial-resistor"))
        : DefaultSerialResistor();
    return options;
}

std::string KindWords(CurveKind kind)
{
    return kind == CurveKind::Response ? "a frequency response" : "an impedance curve";
}

std::string KindPlural(CurveKind kind)
{
    return kind == CurveKind::Response ? "frequency responses" : "impedance curves";
}

// Adds every file that can be read; the others are reported and counted.
CurveStats CollectStats(
    const std::vector<std::string>& files, const StatsOptions& options, std::ostream& err)
{
    CurveStats stats;
    stats.perOctave = options.perOctave;
    std::optional<CurveKind> kind = options.kind;
    if (kind)
        stats.kind = *kind;
    uint64_t otherKind = 0;
    const auto refuse = [&](const std::string& name, const std::string& why) {
        err << "voxacurve: " << QuotedName(name) << ": refused: " << why << '\n';
        ++stats.refused;
    };
    for (const std::string& name : files) {
        const std::optional<CurveKind> fileKind = CurveKindOfName(name);
        if (!fileKind) {
            refuse(name, "not a curve file name (EE, EA, AE, AA or OHM)");
            continue;
        }
        if (options.kind && *fileKind != *options.kind) {
            ++otherKind;
            continue;
        }
        const CurveFile file = ReadCurveFile(name);
        if (const auto refusal = CurveRefusal(file, *fileKind)) {
            refuse(name, *refusal);
            continue;
        }
        if (kind && *fileKind != *kind) {
            refuse(name,
                KindWords(*fileKind) + " among " + KindPlural(*kind)
                    + "; choose one kind with --kind");
            continue;
        }
        const BandValues band = ReadBandValues(file, *fileKind, options.serialResistor);
        stats.kind = *fileKind;
        if (!AddBandToStats(stats, band.points, files.size())) {
            refuse(name, "no drawable value at a point of the grid");
            continue;
        }
        kind = fileKind;
    }
    if (otherKind > 0)
        err << "voxacurve: " << otherKind << " files of the other kind left out (--kind)\n";
    return stats;
}

// The partials merged; nothing when one cannot be read or does not fit.
std::optional<CurveStats> MergePartials(
    const std::vector<std::string>& partials, const StatsOptions& options, std::ostream& err)
{
    std::optional<CurveStats> merged;
    for (const std::string& name : partials) {
        std::string bytes;
        if (const auto readError = ReadWholeFile(name, UINTMAX_MAX, bytes)) {
            err << "voxacurve: " << QuotedName(name) << ": " << *readError << '\n';
            return std::nullopt;
        }
        DecodedStats decoded = DecodeStatsPartial(BytesOf(bytes));
        bytes = {};
        if (decoded.error) {
            err << "voxacurve: " << QuotedName(name) << ": " << *decoded.error << '\n';
            return std::nullopt;
        }
        if (!merged) {
            merged = CurveStats {};
            merged->perOctave
                = options.perOctaveGiven ? options.perOctave : decoded.stats.perOctave;
            merged->kind = decoded.stats.kind;
        }
        if (const auto misfit = MergeStats(*merged, std::move(decoded.stats))) {
            err << "voxacurve: " << QuotedName(name) << ": does not merge: " << *misfit << '\n';
            return std::nullopt;
        }
    }
    return merged;
}

bool WantsDirectory(const std::string& output)
{
    std::error_code error;
    return output.ends_with('/') || fs::is_directory(output, error);
}

// The statistics as text where -o says; false when something was not written.
bool WriteStats(
    CurveStats& stats, const StatsOptions& options, std::ostream& out, std::ostream& err)
{
    const std::vector<StatsRow> rows = ComputeStatsRows(stats, options.percentiles);
    const auto write = [&](const std::string& path, const std::string& text) {
        if (path.empty() || path == "-") {
            out << text;
            return true;
        }
        if (const auto writeError = WriteWhole(path, BytesOf(text), Flush::Lazily)) {
            err << "voxacurve: cannot write " << QuotedName(path) << ": " << *writeError << '\n';
            return false;
        }
        return true;
    };
    if (!WantsDirectory(options.output)) {
        if (options.format.value_or(TextFormat::Csv) != TextFormat::Csv)
            throw UsageError("one file holds every statistic as CSV only; give -o DIR for one "
                             "FRD or ZMA file per statistic");
        return write(options.output, FormatStatsCsv(stats, rows, options.percentiles));
    }
    const TextFormat format = options.format.value_or(DefaultTextFormat(stats.kind));
    if (!TextFormatFitsKind(format, stats.kind)) {
        err << "voxacurve: " << TextFormatExtension(format) << " does not hold "
            << KindWords(stats.kind) << "; use "
            << TextFormatExtension(DefaultTextFormat(stats.kind)) << " or csv\n";
        return false;
    }
    std::error_code error;
    fs::create_directories(options.output, error);
    const std::vector<std::string> names = StatisticNames(options.percentiles);
    bool written = true;
    for (std::size_t s = 0; s + 1 < names.size(); ++s)
        written &= write(
            (fs::path(options.output) / (names[s] + "." + TextFormatExtension(format))).string(),
            FormatStatisticText(stats, rows, options.percentiles, s, format));
    return written;
}

} // namespace

int RunStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ParsedArguments parsed = ParseArguments(args,
        WithFileListOptions({{"--ppo", true}, {"--percentiles", true}, {"--kind", true},
            {"--format", true}, {"-o", true}, {"--serial-resistor", true}, {"--partial", false},
            {"--merge", false}}));
    const StatsOptions options = OptionsOf(parsed);
    const bool partial = parsed.has("--partial");
    const bool merge = parsed.has("--merge");
    if (partial && merge)
        throw UsageError("--partial and --merge exclude each other");
    if (partial && options.output.empty())
        throw UsageError("--partial needs -o PART");
    if (merge && parsed.values.contains("--files-from"))
        throw UsageError("--merge takes the partials on the command line");
    if (parsed.files.empty() && !parsed.values.contains("--files-from"))
        throw UsageError(
            merge ? "--merge needs at least one PART" : "stats needs at least one FILE");

    int problems = 0;
    CurveStats stats;
    if (merge) {
        std::optional<CurveStats> merged = MergePartials(parsed.files, options, err);
        if (!merged)
            return kExitFailed;
        stats = std::move(*merged);
    } else {
        problems = ExpandInputFiles(parsed, std::cin, err);
        stats = CollectStats(parsed.files, options, err);
        stats.refused += static_cast<uint64_t>(problems); // directories that cannot be walked
    }
    err << "voxacurve: statistics of " << stats.curves << " curves; " << stats.refused
        << " files refused or unreadable\n";
    const bool clean = problems == 0 && stats.refused == 0;
    if (partial) {
        const std::vector<unsigned char> bytes = EncodeStatsPartial(stats);
        if (options.output == "-")
            out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
        else if (const auto writeError = WriteWhole(options.output, bytes, Flush::Lazily)) {
            err << "voxacurve: cannot write " << options.output << ": " << *writeError << '\n';
            return kExitFailed;
        }
        return clean ? kExitOk : kExitFailed;
    }
    if (stats.curves == 0) {
        err << "voxacurve: no curve to take statistics of\n";
        return kExitFailed;
    }
    const bool written = WriteStats(stats, options, out, err);
    return clean && written ? kExitOk : kExitFailed;
}
