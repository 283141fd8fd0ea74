#include "tools/voxacurve/RenderOptions.h"

#include "app/SettingsRecord.h"
#include "app/WriteWhole.h"
#include "curves/StatsTable.h"
#include "plot/StepRules.h"
#include "tools/voxacurve/InputFiles.h"
#include "tools/voxacurve/Limits.h"
#include "ui/MainLayout.h"
#include "ui/qt/Colours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string_view>
#include <utility>
#include <variant>

namespace
{

// The formats by their names, which are also the files' extensions.
constexpr std::array<std::pair<std::string_view, PictureFormat>, 3> kPictureFormats {
    {{"png", PictureFormat::Png}, {"svg", PictureFormat::Svg}, {"pdf", PictureFormat::Pdf}}};

void ParseSize(const std::string& text, RenderOptions& options)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos)
        throw UsageError("--size must be WIDTHxHEIGHT in pixels, e.g. 640x450");
    options.width = int(
        ParseIntegerOption("--size", text.substr(0, x), kMinPlotPictureWidth, kMaxPictureSide));
    options.height = int(
        ParseIntegerOption("--size", text.substr(x + 1), kMinPlotPictureHeight, kMaxPictureSide));
}

float ParseFrequency(const std::string& option, const std::string& text)
{
    const std::optional<double> hz = ParseNumberOption(option, text);
    if (!hz || !(*hz > 0) || *hz > 1e9)
        throw UsageError(option + " must be a frequency in Hz above 0");
    return float(*hz);
}

// The scales through the rules the viewer holds its settings to; a value
// they cannot give is named with the values allowed.
void CheckScales(const AxisScales& scales)
{
    for (const std::string& field : UnreachableScaleFields(scales)) {
        if (field == "LevelRange")
            throw UsageError("--level-range must be 5, 10, 20, 30, 40, 50, 60, 80, 100 or 120 dB");
        if (field == "LevelTop")
            throw UsageError("--level-top must lie between -160 and 164 dB");
        if (field == "ImpedanceStep")
            throw UsageError("--impedance-step must be 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100 or 200 "
                             "Ohm per division");
        if (field == "ImpedanceBase")
            throw UsageError("--impedance-base must be a multiple of 0.2 Ohm from 0 to 2398.2 Ohm");
    }
}

// An Ohm value given on the command line in the viewer's tenths of an Ohm.
int32_t TenthsOfOhm(const std::string& option, const std::string& text)
{
    const std::optional<double> ohm = ParseNumberOption(option, text);
    const double tenths = ohm ? std::round(*ohm * 10.0) : -1.0;
    if (!ohm || tenths < 0 || std::fabs(*ohm * 10.0 - tenths) > 1e-6 || tenths > 1e6)
        throw UsageError(
            option + " must be Ohm from 0, in tenths of an Ohm at most (e.g. 0.2, 5, 150)");
    return int32_t(tenths);
}

// --level-top, --level-range, --impedance-step and --impedance-base over
// the fresh configuration's scales.
AxisScales ScalesOfOptions(const ParsedArguments& parsed, const SettingsRecord& fresh)
{
    AxisScales scales = ScalesOf(fresh);
    if (parsed.values.contains("--level-top"))
        scales.LevelTop = int32_t(
            ParseIntegerOption("--level-top", parsed.values.at("--level-top"), -1000, 1000));
    if (parsed.values.contains("--level-range"))
        scales.LevelRange = int32_t(
            ParseIntegerOption("--level-range", parsed.values.at("--level-range"), 1, 1000));
    if (parsed.values.contains("--impedance-step"))
        scales.ImpedanceStep
            = TenthsOfOhm("--impedance-step", parsed.values.at("--impedance-step"));
    if (parsed.values.contains("--impedance-base"))
        scales.ImpedanceBase
            = TenthsOfOhm("--impedance-base", parsed.values.at("--impedance-base"));
    CheckScales(scales);
    return scales;
}

// --from and --to.
TraceFrame ViewOf(const ParsedArguments& parsed)
{
    PlotState view;
    view.ViewFreqLow = ParseFrequency("--from", parsed.value("--from", "20"));
    view.ViewFreqHigh = ParseFrequency("--to", parsed.value("--to", "20000"));
    ClampViewFreqLow(view); // the data window starts at 5 Hz at the lowest
    if (!(view.ViewFreqLow < view.ViewFreqHigh))
        throw UsageError("--from must lie below --to (and the lowest start is 5 Hz)");
    TraceFrame frame;
    frame.viewFreqLow = view.ViewFreqLow;
    frame.viewFreqHigh = view.ViewFreqHigh;
    return frame;
}

PlotColours ColoursOf(const std::string& name, const SettingsRecord& fresh)
{
    PlotColours colours {
        ToQColor(fresh.DataWindowColor), ToQColor(fresh.GridColor), ToQColor(fresh.AxisPanelColor)};
    if (name == "print") {
        // As the colour printout shows it: white paper for the data window
        // and the strips.
        colours.dataWindow = Qt::white;
        colours.axisPanel = Qt::white;
    } else if (name != "default") {
        throw UsageError("--colours must be default or print");
    }
    return colours;
}

// The statistics CSV of --band; UsageError when it cannot be used.
StatsBand ReadBand(const std::string& path)
{
    std::string text;
    if (const auto readError = ReadWholeFile(path, kMaxTextBytes, text))
        throw UsageError("--band " + path + ": " + *readError);
    const ParsedStatsTable parsed = ParseStatsCsv(text);
    if (parsed.error)
        throw UsageError("--band " + path + ": " + *parsed.error);
    return BandOf(parsed.table);
}

} // namespace

std::optional<PictureFormat> FormatOfName(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
        [](unsigned char c) { return char(std::tolower(c)); });
    for (const auto& [known, format] : kPictureFormats)
        if (name == known)
            return format;
    return std::nullopt;
}

std::string ExtensionOf(PictureFormat format)
{
    for (const auto& [name, known] : kPictureFormats)
        if (format == known)
            return std::string(name);
    return {};
}

std::optional<PictureFormat> FormatOfPath(const std::string& path)
{
    const std::string extension = std::filesystem::path(path).extension().string();
    return extension.empty() ? std::nullopt : FormatOfName(extension.substr(1));
}

std::vector<KnownOption> RenderKnownOptions()
{
    return WithCurveTextOptions(WithFileListOptions({
        {"-o", true},
        {"--each", false},
        {"--format", true},
        {"--size", true},
        {"--from", true},
        {"--to", true},
        {"--level-top", true},
        {"--level-range", true},
        {"--impedance-step", true},
        {"--impedance-base", true},
        {"--serial-resistor", true},
        {"--colours", true},
        {"--legend", false},
        {"--band", true},
        {"--upper", true},
        {"--lower", true},
        {"--smooth", true},
    }));
}

RenderOptions RenderOptionsOf(const ParsedArguments& parsed)
{
    RenderOptions options;
    if (parsed.values.contains("--size"))
        ParseSize(parsed.values.at("--size"), options);
    SettingsRecord fresh;
    WriteFreshSettings(fresh);
    options.scales = ScalesOfOptions(parsed, fresh);
    options.view = ViewOf(parsed);
    options.texts = CurveTextOptionsOf(parsed);
    options.serialResistor = options.texts.settings.serialResistor;
    options.colours = ColoursOf(parsed.value("--colours", "default"), fresh);
    options.extras.legend = parsed.has("--legend");
    if (parsed.values.contains("--band"))
        options.extras.band = ReadBand(parsed.values.at("--band"));
    options.smoothing = SmoothingOf(parsed);
    return options;
}

void AddRenderLimits(const ParsedArguments& parsed, RenderOptions& options)
{
    const auto kindOf = [&](const std::string& name) {
        return IsCurveTextName(name) ? ReadTextCurve(name, options.texts).kind
                                     : CurveKindOfName(name).value_or(CurveKind::Response);
    };
    PlotExtras& extras = options.extras;
    extras.limitKind = extras.band ? extras.band->kind
        : !parsed.files.empty()    ? kindOf(parsed.files.front())
                                   : CurveKind::Response;
    for (const char* option : {"--upper", "--lower"}) {
        if (!parsed.values.contains(option))
            continue;
        Limit limit(parsed.values.at(option), options.serialResistor);
        auto points = limit.PointsFor(extras.limitKind);
        if (const auto* why = std::get_if<std::string>(&points))
            throw UsageError(std::string(option) + ": " + *why);
        extras.limits.push_back(std::move(std::get<std::vector<BandPoint>>(points)));
    }
}
