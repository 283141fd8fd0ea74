#include "tools/voxacurve/Commands.h"

#include "app/FileReplace.h"
#include "app/WriteWhole.h"
#include "curves/CurveInfo.h"
#include "curves/CurveText.h"
#include "curves/ExampleCurves.h"
#include "curves/NameQuoting.h"
#include "curves/OctaveSmoothing.h"
#include "tools/voxacurve/Arguments.h"
#include "tools/voxacurve/InputFiles.h"
#include "tools/voxacurve/OutputNames.h"
#include "tools/voxacurve/SqliteExport.h"
#include "tools/voxacurve/TextCurves.h"

#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>

namespace
{

namespace fs = std::filesystem;

// Where export writes a file's text: "-" for the standard output, else
// DIR/NAME.fmt, or NAME.fmt beside the source without a directory.
std::string ExportTarget(const std::string& source, const std::string& outOption, TextFormat format)
{
    if (outOption == "-")
        return "-";
    const std::string name = source + "." + TextFormatExtension(format);
    if (outOption.empty())
        return name;
    return (fs::path(outOption) / fs::path(name).filename()).string();
}

// The text of one export; warnings go to err.
std::string ExportText(const std::string& source, const CurveSummary& summary,
    const CurveFile& file, TextFormat format, std::optional<int> perOctave,
    std::optional<int> smoothing, std::ostream& err)
{
    BandValues band = ReadBandValues(file, summary.kind, summary.serialResistor);
    if (band.undrawable > 0)
        err << "voxacurve: " << QuotedName(source) << ": warning: " << band.undrawable
            << " values the viewer cannot draw (<= 0, NaN or infinite) left out\n";
    if (band.points.empty())
        err << "voxacurve: " << QuotedName(source) << ": warning: no values in the band\n";
    if (perOctave)
        band.points = ResamplePerOctave(band.points, summary.kind, *perOctave);
    return FormatCurveText(
        format, summary.kind, ExportComments(summary, perOctave, smoothing), band.points);
}

// The summary of a curve file, or of the curve file a curve text makes.
CurveSummary SummarizeAnyCurve(const std::string& name, const CurveTextOptions& textOptions)
{
    const float resistor = textOptions.settings.serialResistor;
    if (!IsCurveTextName(name))
        return SummarizeCurveFile(name, ReadCurveFile(name), resistor);
    const TextCurve text = ReadTextCurve(name, textOptions);
    CurveSummary summary = SummarizeCurve(name, text.file, text.kind, resistor);
    if (text.error)
        summary.refusal = *text.error;
    return summary;
}

std::string Located(const std::string& file, int line)
{
    return line > 0 ? file + ":" + std::to_string(line) : file;
}

} // namespace

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ParsedArguments parsed = ParseArguments(args,
        WithCurveTextOptions(
            WithFileListOptions({{"--json", false}, {"--serial-resistor", true}})));
    if (parsed.files.empty() && !parsed.values.contains("--files-from"))
        throw UsageError("info needs at least one FILE");
    const CurveTextOptions textOptions = CurveTextOptionsOf(parsed);
    const bool json = parsed.has("--json");
    int exitCode = ExpandInputFiles(parsed, std::cin, err) > 0 ? kExitFailed : kExitOk;
    if (json)
        out << "[\n";
    for (std::size_t i = 0; i < parsed.files.size(); ++i) {
        const std::string& name = parsed.files[i];
        const CurveSummary summary = SummarizeAnyCurve(name, textOptions);
        if (summary.refusal)
            exitCode = kExitFailed;
        if (json)
            out << "  " << FormatSummaryJson(summary)
                << (i + 1 < parsed.files.size() ? ",\n" : "\n");
        else
            out << FormatSummaryLine(summary) << '\n';
    }
    if (json)
        out << "]\n";
    return exitCode;
}

int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ParsedArguments parsed = ParseArguments(args,
        WithFileListOptions({{"--format", true}, {"--ppo", true}, {"-o", true},
            {"--serial-resistor", true}, {"--smooth", true}, {"--append", false}}));
    if (parsed.files.empty() && !parsed.values.contains("--files-from"))
        throw UsageError("export needs at least one FILE");
    if (parsed.value("--format", "") == "sqlite")
        return RunSqliteExport(parsed, err);
    if (parsed.has("--append"))
        throw UsageError("--append adds to a database: give --format sqlite");
    std::optional<TextFormat> format;
    if (parsed.values.contains("--format")) {
        format = TextFormatOfName(parsed.values.at("--format"));
        if (!format)
            throw UsageError("--format must be frd, zma, csv or sqlite");
    }
    std::optional<int> perOctave;
    if (parsed.values.contains("--ppo"))
        perOctave
            = static_cast<int>(ParseIntegerOption("--ppo", parsed.values.at("--ppo"), 1, 1000));
    const std::optional<int> smoothing = SmoothingOf(parsed);
    const std::string outOption = parsed.value("-o", "");
    int exitCode = ExpandInputFiles(parsed, std::cin, err) > 0 ? kExitFailed : kExitOk;
    if (outOption == "-" && parsed.files.size() > 1)
        throw UsageError("-o - writes one file to the standard output; give one FILE");
    std::error_code error;
    if (!outOption.empty() && outOption != "-" && !fs::is_directory(outOption, error))
        throw UsageError("-o " + outOption + ": not a directory");
    const float resistor = SerialResistorOf(parsed);

    OutputNames written;
    for (const std::string& source : parsed.files) {
        CurveFile file = ReadCurveFile(source);
        const CurveSummary summary = SummarizeCurveFile(source, file, resistor);
        const auto fail = [&](const std::string& why) {
            err << "voxacurve: " << QuotedName(source) << ": " << why << '\n';
            exitCode = kExitFailed;
        };
        if (summary.refusal) {
            fail("refused: " + *summary.refusal);
            continue;
        }
        if (smoothing)
            SmoothCurveBand(file, *smoothing);
        const TextFormat chosen = format.value_or(DefaultTextFormat(summary.kind));
        if (!TextFormatFitsKind(chosen, summary.kind)) {
            fail(TextFormatExtension(chosen) + " does not hold "
                + (summary.kind == CurveKind::Response ? "a frequency response"
                                                       : "an impedance curve")
                + "; use " + TextFormatExtension(DefaultTextFormat(summary.kind)) + " or csv");
            continue;
        }
        const std::string target = ExportTarget(source, outOption, chosen);
        if (target != "-" && !written.claim(target)) {
            fail(ClaimedByAnother(target));
            continue;
        }
        const auto text = ExportText(source, summary, file, chosen, perOctave, smoothing, err);
        if (target == "-")
            out << text;
        else if (const auto writeError = WriteWhole(target, BytesOf(text), Flush::Lazily))
            fail("cannot write " + QuotedName(target) + ": " + *writeError);
    }
    return exitCode;
}

int RunImport(const std::vector<std::string>& args, std::ostream&, std::ostream& err)
{
    const ParsedArguments parsed
        = ParseArguments(args, WithCurveTextOptions({{"-o", true}, {"--serial-resistor", true}}));
    if (parsed.files.size() != 1)
        throw UsageError("import takes exactly one FILE");
    const std::string output = parsed.value("-o", "");
    const auto kind = CurveKindOfName(output);
    if (output.empty() || output == "-" || !kind)
        throw UsageError("import needs -o OUT.EE, .EA, .AE, .AA or .OHM");
    const CurveTextOptions textOptions = CurveTextOptionsOf(parsed);
    ImportSettings settings = textOptions.settings;
    settings.kind = *kind;

    const std::string& source = parsed.files.front();
    std::string text;
    if (const auto readError = ReadWholeFile(source, kMaxTextBytes, text)) {
        err << "voxacurve: " << QuotedName(source) << ": " << *readError << '\n';
        return kExitFailed;
    }
    const ParsedCurveText curveText = ParseCurveText(text, settings.kind, textOptions.columns);
    if (curveText.error) {
        err << "voxacurve: " << Located(QuotedName(source), curveText.error->line) << ": "
            << curveText.error->message << '\n';
        return kExitFailed;
    }
    const ImportedCurve curve = BuildImportedCurve(curveText.points, settings);
    if (curve.error) {
        err << "voxacurve: " << Located(QuotedName(source), curve.error->line) << ": "
            << curve.error->message << '\n';
        return kExitFailed;
    }
    const std::vector<unsigned char> bytes = EncodeCurveFile(curve.header, curve.values);
    const CurveFile result = ParseCurveFile(bytes);
    if (const auto refusal = CurveRefusal(result, settings.kind)) {
        err << "voxacurve: " << QuotedName(output)
            << ": the viewer would refuse the result: " << *refusal << '\n';
        return kExitFailed;
    }
    if (ReadBandValues(result, settings.kind, settings.serialResistor).points.empty()) {
        err << "voxacurve: " << QuotedName(source) << ": no bin of the transform ("
            << FormatNumber(double(settings.sampleRate) / settings.transformLength, 9)
            << " Hz apart) lies between " << FormatNumber(curveText.points.front().frequency, 9)
            << " and " << FormatNumber(curveText.points.back().frequency, 9)
            << " Hz: the viewer would draw nothing; give a larger --length or a wider band\n";
        return kExitFailed;
    }
    if (const auto writeError = WriteWhole(output, bytes, Flush::ToDisk)) {
        err << "voxacurve: cannot write " << QuotedName(output) << ": " << *writeError << '\n';
        return kExitFailed;
    }
    return kExitOk;
}
