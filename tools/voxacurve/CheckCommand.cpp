#include "tools/voxacurve/CheckCommand.h"

#include "curves/CheckReport.h"
#include "curves/CurveText.h"
#include "curves/LimitCheck.h"
#include "curves/LimitText.h"
#include "curves/NameQuoting.h"
#include "curves/OctaveSmoothing.h"
#include "tools/voxacurve/Arguments.h"
#include "tools/voxacurve/InputFiles.h"
#include "tools/voxacurve/Limits.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <variant>

namespace
{

// How each response is shifted before it is judged: to 0 dB at a frequency
// (--offset-to), or onto the limits' mean over a band (--offset-band).
struct Alignment {
    std::optional<double> at; // Hz
    std::optional<std::pair<double, double>> band; // Hz, low < high
    std::string bandText; // as given
};

Alignment AlignmentOf(const ParsedArguments& parsed)
{
    Alignment alignment;
    if (parsed.values.contains("--offset-to")) {
        alignment.at = ParseNumberOption("--offset-to", parsed.values.at("--offset-to"));
        if (!alignment.at || *alignment.at <= 0)
            throw UsageError("--offset-to must be a frequency in Hz above 0");
    }
    if (!parsed.values.contains("--offset-band"))
        return alignment;
    if (alignment.at)
        throw UsageError("--offset-to and --offset-band exclude each other: give one of them");
    const std::string& text = parsed.values.at("--offset-band");
    const std::size_t colon = text.find(':');
    const auto part = [&](std::size_t from, std::size_t count) {
        return ParseNumberOption("--offset-band", text.substr(from, count));
    };
    const auto low = colon == std::string::npos ? std::nullopt : part(0, colon);
    const auto high = colon == std::string::npos ? std::nullopt : part(colon + 1, text.npos);
    if (!low || !high || !(*low > 0 && *low < *high))
        throw UsageError("--offset-band must be two frequencies in Hz as LO:HI with 0 < LO < HI, "
                         "not \""
            + text + "\"");
    alignment.band = std::pair {*low, *high};
    alignment.bandText = FormatNumber(*low, 9) + ":" + FormatNumber(*high, 9) + " Hz";
    return alignment;
}

// The limits of the run, of one kind; empty points for a limit not given.
struct Limits {
    std::optional<Limit> upper, lower;
    CurveKind kind = CurveKind::Response;
    std::vector<BandPoint> upperPoints, lowerPoints;
};

// UsageError when the alignment cannot be made on the limits: a shift of
// levels against impedance limits, a band reaching beyond a limit.
void CheckAlignmentFits(const Alignment& alignment, const Limits& limits)
{
    if (!alignment.at && !alignment.band)
        return;
    const char* option = alignment.at ? "--offset-to" : "--offset-band";
    if (limits.kind == CurveKind::Impedance)
        throw UsageError(std::string(option)
            + " shifts the levels of responses, and the limits are impedance curves");
    if (!alignment.band)
        return;
    const auto [low, high] = *alignment.band;
    for (const std::optional<Limit>* limit : {&limits.upper, &limits.lower}) {
        if (!*limit)
            continue;
        const double from = (*limit)->points().front().frequency;
        const double to = (*limit)->points().back().frequency;
        if (low < from || high > to)
            throw UsageError("--offset-band " + alignment.bandText + " reaches beyond the limit "
                + (*limit)->path() + " (" + FormatNumber(from, 6) + " to " + FormatNumber(to, 6)
                + " Hz)");
    }
}

Limits LimitsOf(const ParsedArguments& parsed, const Alignment& alignment)
{
    if (!parsed.values.contains("--upper") && !parsed.values.contains("--lower"))
        throw UsageError("check needs --upper U, --lower L or both");
    const float resistor = SerialResistorOf(parsed);
    Limits limits;
    if (parsed.values.contains("--upper")) {
        limits.upper.emplace(parsed.values.at("--upper"), resistor);
        limits.upperPoints = limits.upper->points();
    }
    if (parsed.values.contains("--lower")) {
        limits.lower.emplace(parsed.values.at("--lower"), resistor);
        limits.lowerPoints = limits.lower->points();
    }
    limits.kind = (limits.upper ? *limits.upper : *limits.lower).kind();
    if (limits.upper && limits.lower && limits.upper->kind() != limits.lower->kind())
        throw UsageError("the upper limit " + limits.upper->path() + " is "
            + CurveKindWords(limits.upper->kind()) + ", the lower limit " + limits.lower->path()
            + " " + CurveKindWords(limits.lower->kind()) + ": a curve is judged against limits "
            + "of its own kind");
    CheckAlignmentFits(alignment, limits);
    return limits;
}

// Why a name that names no curve kind is refused: a directory that came out
// of a walk unlisted, a file that cannot be read, or the name itself.
std::string KindlessRefusal(const std::string& name)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(name, error)) {
        fs::directory_iterator listing(name, error);
        return error ? "cannot be read: a directory that cannot be listed"
                     : "cannot be read: a directory, not a regular file";
    }
    if (fs::is_regular_file(name, error))
        return "not a curve file name (EE, EA, AE, AA or OHM)";
    return "cannot be read: " + WhyUnreadable(name);
}

// The judgement of one curve file, or why it is refused.
std::variant<LimitResult, std::string> JudgeFile(const std::string& name, const Limits& limits,
    LimitChecker& checker, const Alignment& alignment, float resistor, std::optional<int> smoothing)
{
    const std::optional<CurveKind> kind = CurveKindOfName(name);
    if (!kind)
        return KindlessRefusal(name);
    CurveFile file = ReadCurveFile(name);
    if (const auto refusal = CurveRefusal(file, *kind))
        return *refusal;
    if (smoothing)
        SmoothCurveBand(file, *smoothing);
    if (*kind != limits.kind)
        return "no limit for it: " + (limits.upper ? *limits.upper : *limits.lower).path() + " is "
            + CurveKindWords(limits.kind) + ", not " + CurveKindWords(*kind);
    std::vector<BandPoint> points = ReadBandValues(file, *kind, resistor).points;
    if (const auto why = FirstUnmeasurablePoint(points, *kind))
        return *why;
    if (alignment.at) {
        auto shifted = OffsetToZeroAt(points, *alignment.at);
        if (!shifted)
            return "--offset-to " + FormatNumber(*alignment.at, 9) + " Hz lies outside its band";
        points = std::move(*shifted);
    }
    if (alignment.band) {
        auto shifted = OffsetOntoLimitsOver(points, limits.upperPoints, limits.lowerPoints,
            alignment.band->first, alignment.band->second);
        if (!shifted)
            return "--offset-band " + alignment.bandText + " holds none of its bins";
        points = std::move(*shifted);
    }
    return checker.Check(points);
}

} // namespace

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ParsedArguments parsed = ParseArguments(args,
        WithFileListOptions(
            {{"--upper", true}, {"--lower", true}, {"--offset-to", true}, {"--offset-band", true},
                {"--json", false}, {"--serial-resistor", true}, {"--smooth", true}}));
    if (parsed.files.empty() && !parsed.values.contains("--files-from"))
        throw UsageError("check needs at least one FILE");
    const Alignment alignment = AlignmentOf(parsed);
    const Limits limits = LimitsOf(parsed, alignment);
    const float resistor = SerialResistorOf(parsed);
    const bool json = parsed.has("--json");
    const std::optional<int> smoothing = SmoothingOf(parsed);
    CheckTally tally(limits.kind);
    LimitChecker checker(limits.upperPoints, limits.lowerPoints, limits.kind);
    // What could not be walked or listed counts as refused.
    tally.AddRefused(static_cast<std::size_t>(ExpandInputFiles(parsed, std::cin, err)));

    // One line per file, or one element of the JSON array.
    bool first = true;
    const auto report = [&](const std::string& line) {
        if (json)
            out << (first ? "{\"files\": [\n  " : ",\n  ") << line;
        else
            out << line << '\n';
        first = false;
    };
    for (const std::string& name : parsed.files) {
        const auto judged = JudgeFile(name, limits, checker, alignment, resistor, smoothing);
        if (const auto* why = std::get_if<std::string>(&judged)) {
            tally.AddRefused();
            report(json ? "{\"name\": " + JsonName(name)
                        + ", \"result\": \"refused\", \"reason\": " + JsonString(*why) + "}"
                        : QuotedName(name) + ": refused: " + *why);
            continue;
        }
        const LimitResult& result = std::get<LimitResult>(judged);
        tally.Add(name, result);
        report(json ? FormatCheckJson(name, result, limits.kind)
                    : FormatCheckLine(name, result, limits.kind));
    }
    if (json)
        out << (first ? "{\"files\": [" : "\n") << "], " << tally.JsonMembers() << "}\n";
    else
        out << tally.Lines();
    if (tally.checked() == 0)
        err << "voxacurve: no curve file to check was given or found: nothing was judged\n";
    return tally.allPassed() ? kExitOk : kExitFailed;
}
