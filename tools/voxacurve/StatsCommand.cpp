#include "tools/voxacurve/StatsCommand.h"

#include "app/WriteWhole.h"
#include "curves/CurveStats.h"
#include "curves/NameQuoting.h"
#include "curves/OctaveSmoothing.h"
#include "curves/StatsPartial.h"
#include "tools/voxacurve/Arguments.h"
#include "tools/voxacurve/InputFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>

namespace
{

namespace fs = std::filesystem;

enum class StatsMode { Text, Partial, Merge };

struct StatsOptions {
    StatsMode mode = StatsMode::Text;
    int perOctave = 48;
    bool perOctaveGiven = false;
    std::vector<double> percentiles = {5, 50, 95};
    std::optional<CurveKind> kind; // --kind: files of the other kind are left out
    std::optional<TextFormat> format;
    std::string output; // -o; empty: the standard output
    bool outputIsDirectory = false; // one file per statistic into -o DIR/
    float serialResistor = 150;
    std::optional<int> smoothing; // --smooth 1/N
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
        if (std::find(percentiles.begin(), percentiles.end(), *p) != percentiles.end())
            throw UsageError("--percentiles names " + item + " twice");
        percentiles.push_back(*p);
        start = end + 1;
    }
    return percentiles;
}

std::string KindWords(CurveKind kind)
{
    return kind == CurveKind::Response ? "a frequency response" : "an impedance curve";
}

std::string KindPlural(CurveKind kind)
{
    return kind == CurveKind::Response ? "frequency responses" : "impedance curves";
}

// "1 curve", "2 curves", "0 curves".
std::string Counted(uint64_t n, const std::string& one, const std::string& many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool WantsDirectory(const std::string& output)
{
    std::error_code error;
    return output.ends_with('/') || fs::is_directory(output, error);
}

// Refuses options that have no effect in the mode, in words.
void RefuseIdleOptions(const ParsedArguments& parsed, StatsMode mode)
{
    const auto refuse = [&](const char* option, const char* why) {
        if (parsed.values.contains(option) || parsed.has(option))
            throw UsageError(std::string(option) + " has no effect " + why);
    };
    if (mode == StatsMode::Partial) {
        refuse("--percentiles", "with --partial: the percentiles are chosen at the --merge");
        refuse("--format", "with --partial: the partial is binary; choose it at the --merge");
    }
    if (mode == StatsMode::Merge) {
        refuse("--kind", "with --merge: each partial holds one kind, chosen when it was written");
        refuse("--serial-resistor",
            "with --merge: each partial records the serial resistor it was written with");
        if (parsed.values.contains("--files-from") || parsed.has("-0"))
            throw UsageError("--merge takes the partials on the command line");
        refuse("--smooth", "with --merge: give it to each --partial");
    }
}

StatsMode ModeOf(const ParsedArguments& parsed)
{
    const bool partial = parsed.has("--partial");
    const bool merge = parsed.has("--merge");
    if (partial && merge)
        throw UsageError("--partial and --merge exclude each other");
    return partial ? StatsMode::Partial : merge ? StatsMode::Merge : StatsMode::Text;
}

// Every option checked before a curve is read.
StatsOptions OptionsOf(const ParsedArguments& parsed)
{
    StatsOptions options;
    options.mode = ModeOf(parsed);
    RefuseIdleOptions(parsed, options.mode);
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
    options.serialResistor = SerialResistorOf(parsed);
    options.smoothing = SmoothingOf(parsed);
    if (options.mode == StatsMode::Partial) {
        if (options.output.empty())
            throw UsageError("--partial needs -o PART");
        if (options.output != "-" && WantsDirectory(options.output))
            throw UsageError("--partial writes one file: -o PART, not a directory");
        return options;
    }
    options.outputIsDirectory = !options.output.empty() && WantsDirectory(options.output);
    if (!options.outputIsDirectory && options.format.value_or(TextFormat::Csv) != TextFormat::Csv)
        throw UsageError("one file holds every statistic as CSV only; give -o DIR for one "
                         "FRD or ZMA file per statistic");
    if (options.outputIsDirectory && options.kind && options.format
        && !TextFormatFitsKind(*options.format, *options.kind))
        throw UsageError(TextFormatExtension(*options.format) + " does not hold "
            + KindPlural(*options.kind) + "; use "
            + TextFormatExtension(DefaultTextFormat(*options.kind)) + " or csv");
    return options;
}

// The identity of a file read a moment ago; nothing when it cannot be taken.
std::optional<uint64_t> IdentityOf(const std::string& name)
{
    struct stat info {
    };
    if (::stat(name.c_str(), &info) != 0)
        return std::nullopt;
    return CurveIdentity(static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
        static_cast<uint64_t>(info.st_size),
        static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec);
}

// Adds every file that can be read; the others are reported and counted.
// The list holds each file once (the input list drops repeats).
CurveStats CollectStats(
    const std::vector<std::string>& files, const StatsOptions& options, std::ostream& err)
{
    CurveStats stats;
    stats.perOctave = options.perOctave;
    stats.serialResistor = options.serialResistor;
    stats.smoothing = options.smoothing.value_or(0);
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
        CurveFile file = ReadCurveFile(name);
        if (const auto refusal = CurveRefusal(file, *fileKind)) {
            refuse(name, *refusal);
            continue;
        }
        if (options.smoothing)
            SmoothCurveBand(file, *options.smoothing);
        if (kind && *fileKind != *kind) {
            refuse(name,
                KindWords(*fileKind) + " among " + KindPlural(*kind)
                    + "; choose one kind with --kind");
            continue;
        }
        const std::optional<uint64_t> identity = IdentityOf(name);
        if (!identity) {
            refuse(name, WhyUnreadable(name));
            continue;
        }
        const BandValues band = ReadBandValues(file, *fileKind, options.serialResistor);
        stats.kind = *fileKind;
        if (!AddBandToStats(stats, band.points, files.size())) {
            refuse(name, "no drawable value at a point of the grid");
            continue;
        }
        stats.identities.push_back(*identity);
        kind = fileKind;
    }
    if (otherKind > 0)
        err << "voxacurve: " << Counted(otherKind, "file", "files")
            << " of the other kind left out (--kind)\n";
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
            merged->serialResistor = decoded.stats.serialResistor;
            merged->smoothing = decoded.stats.smoothing;
        }
        if (const auto misfit = MergeStats(*merged, std::move(decoded.stats))) {
            err << "voxacurve: " << QuotedName(name) << ": does not merge: " << *misfit << '\n';
            return std::nullopt;
        }
    }
    return merged;
}

// Writes the text to the path, or to out for none or "-"; false (said on
// err) when it could not be written.
bool WriteText(
    const std::string& path, const std::string& text, std::ostream& out, std::ostream& err)
{
    if (path.empty() || path == "-") {
        out << text;
        return true;
    }
    if (const auto writeError = WriteWhole(path, BytesOf(text), Flush::Lazily)) {
        err << "voxacurve: cannot write " << QuotedName(path) << ": " << *writeError << '\n';
        return false;
    }
    return true;
}

// One file per statistic into the directory of -o; false when something was
// not written.
bool WriteStatisticFiles(CurveStats& stats, std::span<const StatsRow> rows,
    const StatsOptions& options, std::ostream& out, std::ostream& err)
{
    const TextFormat format = options.format.value_or(DefaultTextFormat(stats.kind));
    if (!TextFormatFitsKind(format, stats.kind)) {
        err << "voxacurve: " << TextFormatExtension(format) << " does not hold "
            << KindWords(stats.kind) << "; use "
            << TextFormatExtension(DefaultTextFormat(stats.kind)) << " or csv\n";
        return false;
    }
    std::error_code error;
    fs::create_directories(options.output, error);
    if (error) {
        err << "voxacurve: cannot make the directory " << options.output << ": " << error.message()
            << '\n';
        return false;
    }
    const std::vector<std::string> names = StatisticNames(options.percentiles);
    bool written = true;
    for (std::size_t s = 0; s + 1 < names.size(); ++s)
        written &= WriteText(
            (fs::path(options.output) / (names[s] + "." + TextFormatExtension(format))).string(),
            FormatStatisticText(stats, rows, options.percentiles, s, format), out, err);
    return written;
}

bool WriteStats(
    CurveStats& stats, const StatsOptions& options, std::ostream& out, std::ostream& err)
{
    const std::vector<StatsRow> rows = ComputeStatsRows(stats, options.percentiles);
    if (options.outputIsDirectory)
        return WriteStatisticFiles(stats, rows, options, out, err);
    return WriteText(options.output, FormatStatsCsv(stats, rows, options.percentiles), out, err);
}

bool WritePartial(
    const CurveStats& stats, const std::string& output, std::ostream& out, std::ostream& err)
{
    std::random_device random;
    const uint64_t run = (uint64_t {random()} << 32) ^ random();
    const std::vector<unsigned char> bytes = EncodeStatsPartial(stats, run);
    if (output == "-") {
        out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
        return true;
    }
    if (const auto writeError = WriteWhole(output, bytes, Flush::Lazily)) {
        err << "voxacurve: cannot write " << QuotedName(output) << ": " << *writeError << '\n';
        return false;
    }
    return true;
}

} // namespace

int RunStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ParsedArguments parsed = ParseArguments(args,
        WithFileListOptions({{"--ppo", true}, {"--percentiles", true}, {"--kind", true},
            {"--format", true}, {"-o", true}, {"--serial-resistor", true}, {"--partial", false},
            {"--merge", false}, {"--smooth", true}}));
    const StatsOptions options = OptionsOf(parsed);
    const bool merge = options.mode == StatsMode::Merge;
    if (parsed.files.empty() && !parsed.values.contains("--files-from"))
        throw UsageError(
            merge ? "--merge needs at least one PART" : "stats needs at least one FILE");

    CurveStats stats;
    if (merge) {
        std::optional<CurveStats> merged = MergePartials(parsed.files, options, err);
        if (!merged)
            return kExitFailed;
        stats = std::move(*merged);
    } else {
        // What the walk or the file list could not give counts as refused.
        const int problems = ExpandInputFiles(parsed, std::cin, err);
        stats = CollectStats(parsed.files, options, err);
        stats.refused += static_cast<uint64_t>(problems);
    }
    err << "voxacurve: statistics of " << Counted(stats.curves, "curve", "curves") << "; "
        << Counted(stats.refused, "file", "files") << " refused or unreadable\n";
    const bool clean = stats.refused == 0;
    if (options.mode == StatsMode::Partial)
        return WritePartial(stats, options.output, out, err) && clean ? kExitOk : kExitFailed;
    if (stats.curves == 0) {
        err << "voxacurve: no curve to take statistics of\n";
        return kExitFailed;
    }
    const bool written = WriteStats(stats, options, out, err);
    return clean && written ? kExitOk : kExitFailed;
}
