#include "tools/voxacurve/RenderCommand.h"

#include "app/SettingsRecord.h"
#include "app/WriteWhole.h"
#include "curves/ColourCycle.h"
#include "curves/CurveInfo.h"
#include "curves/CurveStats.h"
#include "curves/NameQuoting.h"
#include "plot/LegendPlacement.h"
#include "plot/PixelMapping.h"
#include "plot/StepRules.h"
#include "plot/qt/PlotPainter.h"
#include "tools/voxacurve/Arguments.h"
#include "tools/voxacurve/InputFiles.h"
#include "tools/voxacurve/Limits.h"
#include "tools/voxacurve/OutputNames.h"
#include "tools/voxacurve/TextCurves.h"
#include "ui/qt/Colours.h"
#include "ui/qt/Fonts.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <unordered_map>
#include <variant>

namespace
{

namespace fs = std::filesystem;

enum class PictureFormat { Png, Svg, Pdf };

// Far beyond any screen, and small enough that a picture fits in memory.
constexpr int kMaxPictureSide = 16384;

struct RenderOptions {
    int width = 640;
    int height = 450;
    TraceFrame view; // width and height of the data window set from the layout
    AxisScales scales;
    float serialResistor = 0;
    PlotColours colours;
    bool legend = false; // each file's name in its curve's colour
    std::optional<StatsTable> band; // --band: statistics drawn under the curves
    CurveTextOptions texts; // how FRD, ZMA, CSV and TXT files become curves
    // --upper and --lower: limit lines on the scale of the band's kind, else
    // of the first file's kind
    std::vector<std::vector<BandPoint>> limits;
    CurveKind limitKind = CurveKind::Response;
};

// The formats by their names, which are also the files' extensions.
constexpr std::array<std::pair<std::string_view, PictureFormat>, 3> kPictureFormats {
    {{"png", PictureFormat::Png}, {"svg", PictureFormat::Svg}, {"pdf", PictureFormat::Pdf}}};

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
StatsTable ReadBand(const std::string& path)
{
    std::string text;
    if (const auto readError = ReadWholeFile(path, kMaxTextBytes, text))
        throw UsageError("--band " + path + ": " + *readError);
    ParsedStatsTable parsed = ParseStatsCsv(text);
    if (parsed.error)
        throw UsageError("--band " + path + ": " + *parsed.error);
    return std::move(parsed.table);
}

RenderOptions OptionsOf(const ParsedArguments& parsed)
{
    RenderOptions options;
    if (parsed.values.contains("--size"))
        ParseSize(parsed.values.at("--size"), options);
    SettingsRecord fresh;
    WriteFreshSettings(fresh);
    options.scales = ScalesOf(fresh);
    if (parsed.values.contains("--level-top"))
        options.scales.LevelTop = int32_t(
            ParseIntegerOption("--level-top", parsed.values.at("--level-top"), -1000, 1000));
    if (parsed.values.contains("--level-range"))
        options.scales.LevelRange = int32_t(
            ParseIntegerOption("--level-range", parsed.values.at("--level-range"), 1, 1000));
    if (parsed.values.contains("--impedance-step"))
        options.scales.ImpedanceStep
            = TenthsOfOhm("--impedance-step", parsed.values.at("--impedance-step"));
    if (parsed.values.contains("--impedance-base"))
        options.scales.ImpedanceBase
            = TenthsOfOhm("--impedance-base", parsed.values.at("--impedance-base"));
    CheckScales(options.scales);

    PlotState view;
    view.ViewFreqLow = ParseFrequency("--from", parsed.value("--from", "20"));
    view.ViewFreqHigh = ParseFrequency("--to", parsed.value("--to", "20000"));
    ClampViewFreqLow(view); // the data window starts at 5 Hz at the lowest
    if (!(view.ViewFreqLow < view.ViewFreqHigh))
        throw UsageError("--from must lie below --to (and the lowest start is 5 Hz)");
    options.view.viewFreqLow = view.ViewFreqLow;
    options.view.viewFreqHigh = view.ViewFreqHigh;

    options.texts = CurveTextOptionsOf(parsed);
    options.serialResistor = options.texts.settings.serialResistor;
    options.colours = ColoursOf(parsed.value("--colours", "default"), fresh);
    options.legend = parsed.has("--legend");
    if (parsed.values.contains("--band"))
        options.band = ReadBand(parsed.values.at("--band"));
    return options;
}

// A curve file as a fresh slot of the viewer holds it: its values, then
// empty ones up to the slot's capacity (the trace may read a few beyond).
struct LoadedCurve {
    std::string name;
    CurveHeader header;
    std::vector<float> values;
    bool impedance = false;
};

// The curve file, or the curve file a curve text makes; the kind, or the
// reason there is no curve.
std::variant<std::pair<CurveFile, CurveKind>, std::string> ReadAnyCurve(
    const std::string& name, const CurveTextOptions& texts)
{
    if (IsCurveTextName(name)) {
        TextCurve text = ReadTextCurve(name, texts);
        if (text.error)
            return *text.error;
        return std::pair(std::move(text.file), text.kind);
    }
    const std::optional<CurveKind> kind = CurveKindOfName(name);
    if (!kind)
        return std::string(
            "not a curve file name (EE, EA, AE, AA or OHM) nor a curve text (frd, zma, csv, txt)");
    return std::pair(ReadCurveFile(name), *kind);
}

// The curve, or the reason the viewer refuses it.
std::variant<LoadedCurve, std::string> LoadCurve(
    const std::string& name, const CurveTextOptions& texts)
{
    auto read = ReadAnyCurve(name, texts);
    if (auto* reason = std::get_if<std::string>(&read))
        return *reason;
    const auto& [file, kind] = std::get<std::pair<CurveFile, CurveKind>>(read);
    if (const std::optional<std::string> refusal = CurveRefusal(file, kind))
        return *refusal;
    LoadedCurve curve {name, file.header, std::vector<float>(kCurveCapacity, EmptyCurveValue),
        kind == CurveKind::Impedance};
    std::copy(file.values.begin(), file.values.end(), curve.values.begin());
    return curve;
}

// Frequencies and levels (dB) or impedances (Ohm) on the data window, in its
// own coordinates, unrounded; the frequency mapping computed once.
class DataWindowPoints
{
public:
    DataWindowPoints(CurveKind kind, const AxisScales& scales, const TraceFrame& frame)
        : m_kind(kind)
        , m_scales(scales)
        , m_height(frame.height)
        , m_mapping(ComputeFreqMapping(frame.viewFreqLow, frame.viewFreqHigh, frame.width))
    {
    }

    ClipPoint operator()(double frequency, double magnitude) const
    {
        const AxisScales& s = m_scales;
        const double x = std::log(frequency) * m_mapping.FrequencyScale + m_mapping.FrequencyOffset;
        const double y = m_kind == CurveKind::Response
            ? m_height * (s.LevelTop - magnitude) / s.LevelRange
            : m_height * (1 - (10 * magnitude - s.ImpedanceBase) / (8.0 * s.ImpedanceStep));
        return {x, y};
    }

private:
    CurveKind m_kind;
    AxisScales m_scales;
    int m_height;
    FreqMapping m_mapping;
};

// The statistics band over the data window: minimum to maximum shaded
// lightly, the lowest to the highest percentile darker, the median (the
// 50th percentile, else the mean) as a line.
void PaintBand(QPainter& p, const RenderOptions& options, const PlotPictureLayout& layout,
    const TraceFrame& frame)
{
    const StatsTable& band = *options.band;
    const DataWindowPoints onWindow(band.kind, options.scales, frame);
    const auto point = [&](std::size_t i, double magnitude) {
        const ClipPoint at = onWindow(band.frequencies[i], magnitude);
        return QPointF(at.x, at.y);
    };
    const auto area = [&](const std::vector<double>& low, const std::vector<double>& high) {
        QPolygonF polygon;
        for (std::size_t i = 0; i < band.frequencies.size(); ++i)
            polygon << point(i, high[i]);
        for (std::size_t i = band.frequencies.size(); i-- > 0;)
            polygon << point(i, low[i]);
        return polygon;
    };
    const QColor colour(255, 200, 0);
    const QRectF window(0, 0, frame.width, frame.height);
    p.save();
    p.setClipRect(layout.dataWindow.left, layout.dataWindow.top, frame.width, frame.height);
    p.translate(layout.dataWindow.left, layout.dataWindow.top);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(colour.red(), colour.green(), colour.blue(), 70));
    FillPolygonWithin(p, area(band.minimum, band.maximum), window);
    if (band.percentiles.size() >= 2) {
        p.setBrush(QColor(colour.red(), colour.green(), colour.blue(), 130));
        FillPolygonWithin(
            p, area(band.percentileValues.front(), band.percentileValues.back()), window);
    }
    const auto median = std::find(band.percentiles.begin(), band.percentiles.end(), 50.0);
    const std::vector<double>& line = median == band.percentiles.end()
        ? band.mean
        : band.percentileValues[std::size_t(median - band.percentiles.begin())];
    std::vector<ClipPoint> polyline;
    for (std::size_t i = 0; i < band.frequencies.size(); ++i)
        polyline.push_back(onWindow(band.frequencies[i], line[i]));
    p.setPen(colour);
    p.setBrush(Qt::NoBrush);
    DrawPolylineWithin(p, polyline, frame.width, frame.height);
    p.restore();
}

// The limits of --upper and --lower as red lines over the data window.
void PaintLimits(QPainter& p, const RenderOptions& options, const PlotPictureLayout& layout,
    const TraceFrame& frame)
{
    p.save();
    p.setClipRect(layout.dataWindow.left, layout.dataWindow.top, frame.width, frame.height);
    p.translate(layout.dataWindow.left, layout.dataWindow.top);
    p.setPen(QColor(255, 0, 0));
    const DataWindowPoints onWindow(options.limitKind, options.scales, frame);
    for (const std::vector<BandPoint>& limit : options.limits) {
        std::vector<ClipPoint> line;
        for (const BandPoint& point : limit)
            line.push_back(onWindow(point.frequency, point.magnitude));
        DrawPolylineWithin(p, line, frame.width, frame.height);
    }
    p.restore();
}

// The legend: each curve's file name (without its directory) in its colour
// after a short line of it, in a box of the data window's colour framed in
// the grid's, where it hides the fewest points of the curves. Text in the
// painter's device: text in an SVG or PDF too.
void PaintLegend(QPainter& p, const RenderOptions& options, const PlotPictureLayout& layout,
    const TraceFrame& frame, const std::vector<PlotCurve>& plotted,
    const std::vector<const LoadedCurve*>& curves)
{
    if (curves.empty())
        return;
    const QFont font = PixelFont("Arial", 11);
    const QFontMetrics metrics(font);
    constexpr int kPad = 4, kSwatch = 14, kGap = 4, kMargin = 6;
    std::vector<QString> names;
    int textWidth = 0;
    for (const LoadedCurve* c : curves) {
        names.push_back(QString::fromStdString(fs::path(c->name).filename().string()));
        textWidth = std::max(textWidth, metrics.horizontalAdvance(names.back()));
    }
    const int line = metrics.height();
    std::vector<std::vector<TracePoint>> traces;
    for (const PlotCurve& c : plotted)
        traces.push_back(
            (c.impedance ? ComputeImpedanceTrace(
                 c.header, c.values, frame, options.scales, options.serialResistor)
                         : ComputeResponseTrace(c.header, c.values, frame, options.scales))
                .points);
    const LegendBox box
        = PlaceLegend(frame.width, frame.height, 2 * kPad + kSwatch + kGap + textWidth,
            2 * kPad + line * int(names.size()), kMargin, traces);
    const int left = layout.dataWindow.left + box.x;
    const int top = layout.dataWindow.top + box.y;
    p.save();
    p.setPen(options.colours.grid);
    p.setBrush(options.colours.dataWindow);
    p.drawRect(left, top, box.width, box.height);
    p.setFont(font);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int y = top + kPad + line * int(i);
        p.setPen(plotted[i].colour);
        p.drawLine(left + kPad, y + line / 2, left + kPad + kSwatch, y + line / 2);
        p.drawText(left + kPad + kSwatch + kGap, y + metrics.ascent(), names[i]);
    }
    p.restore();
}

// Paints the picture of the curves in their order and colours; a curve whose
// drawing faults is left out and the picture painted again without it, as
// the viewer removes it. Returns the faulted curves' reasons.
std::vector<std::pair<std::string, std::string>> PaintCurves(QPainter& p,
    const RenderOptions& options, const PlotPictureLayout& layout,
    std::vector<const LoadedCurve*> curves)
{
    TraceFrame frame = options.view;
    frame.width = layout.dataWindow.width;
    frame.height = layout.dataWindow.height;
    const PlotPainter painter(frame, options.scales, options.serialResistor, options.colours);
    std::vector<std::pair<std::string, std::string>> removed;
    for (;;) {
        std::vector<PlotCurve> plotted;
        uint32_t colour = kNoCurveColour;
        for (const LoadedCurve* c : curves) {
            colour = NextCurveColour(colour);
            plotted.push_back({c->header, c->values.data(), c->impedance, ToQColor(colour)});
        }
        const auto faults = painter.paintPicture(p, layout, plotted, PixelFont("Arial", 11));
        const auto faulted = std::find_if(
            faults.begin(), faults.end(), [](const auto& f) { return f.has_value(); });
        if (faulted == faults.end()) {
            if (options.band)
                PaintBand(p, options, layout, frame);
            PaintLimits(p, options, layout, frame);
            if (options.legend)
                PaintLegend(p, options, layout, frame, plotted, curves);
            return removed;
        }
        const std::size_t i = std::size_t(faulted - faults.begin());
        removed.emplace_back(
            curves[i]->name, "drawing the curve failed: " + DescribeFault(**faulted));
        curves.erase(curves.begin() + std::ptrdiff_t(i));
    }
}

// The picture with a colour table when it has at most 256 colours (lines,
// grid and text have a few dozen), the same pixels in a quarter of the bytes,
// which the PNG encoder compresses several times faster.
std::optional<QImage> ExactlyIndexed(const QImage& rgb)
{
    QList<QRgb> table;
    std::unordered_map<QRgb, uchar> index;
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    const int width = rgb.width();
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        QRgb last = ~in[0];
        uchar lastIndex = 0;
        for (int x = 0; x < width; ++x) {
            if (in[x] != last) {
                last = in[x];
                auto [entry, added] = index.try_emplace(last, uchar(table.size()));
                if (added) {
                    if (table.size() == 256)
                        return std::nullopt;
                    table.push_back(last);
                }
                lastIndex = entry->second;
            }
            out[x] = lastIndex;
        }
    }
    indexed.setColorTable(table);
    return indexed;
}

void WritePng(const QImage& picture, QIODevice& device)
{
    const std::optional<QImage> indexed = ExactlyIndexed(picture);
    QImageWriter writer(&device, "png");
    writer.setQuality(
        70); // zlib level 2 of 9: far faster than its default, and lines compress well
    writer.write(indexed ? *indexed : picture);
}

// The picture's bytes in the format; the faulted curves go to `removed`.
QByteArray RenderPicture(PictureFormat format, const RenderOptions& options,
    const std::vector<const LoadedCurve*>& curves,
    std::vector<std::pair<std::string, std::string>>& removed)
{
    const PlotPictureLayout layout = ComputePlotPictureLayout(options.width, options.height);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case PictureFormat::Png: {
        QImage picture(layout.width, layout.height, QImage::Format_RGB32);
        QPainter p(&picture);
        removed = PaintCurves(p, options, layout, curves);
        p.end();
        WritePng(picture, buffer);
        break;
    }
    case PictureFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(layout.width, layout.height));
        svg.setViewBox(QRect(0, 0, layout.width, layout.height));
        svg.setTitle("VOXA 32 curves");
        QPainter p(&svg);
        removed = PaintCurves(p, options, layout, curves);
        break;
    }
    case PictureFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72); // a pixel of the picture is a point of the page
        pdf.setPageSize(QPageSize(QSizeF(layout.width, layout.height), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle("VOXA 32 curves");
        QPainter p(&pdf);
        removed = PaintCurves(p, options, layout, curves);
        break;
    }
    }
    return bytes;
}

void ReportRemoved(
    const std::vector<std::pair<std::string, std::string>>& removed, std::ostream& err)
{
    for (const auto& [name, why] : removed)
        err << "voxacurve: " << QuotedName(name) << ": refused: " << why << '\n';
}

std::optional<PictureFormat> FormatOfPath(const std::string& path)
{
    const std::string extension = fs::path(path).extension().string();
    return extension.empty() ? std::nullopt : FormatOfName(extension.substr(1));
}

// One picture of all curves; when files were asked for and none could be
// drawn, nothing is written and a picture already there stays as it was.
int RenderOne(
    const ParsedArguments& parsed, const RenderOptions& options, bool filesAsked, std::ostream& err)
{
    const std::string output = parsed.value("-o", "");
    const std::optional<PictureFormat> format = FormatOfPath(output);
    if (!format)
        throw UsageError("render needs -o OUT.png, OUT.svg or OUT.pdf");
    int exitCode = kExitOk;
    std::vector<LoadedCurve> loaded;
    for (const std::string& name : parsed.files) {
        auto curve = LoadCurve(name, options.texts);
        if (auto* refusal = std::get_if<std::string>(&curve)) {
            err << "voxacurve: " << QuotedName(name) << ": refused: " << *refusal << '\n';
            exitCode = kExitFailed;
        } else {
            loaded.push_back(std::move(std::get<LoadedCurve>(curve)));
        }
    }
    std::vector<const LoadedCurve*> curves;
    for (const LoadedCurve& c : loaded)
        curves.push_back(&c);
    std::vector<std::pair<std::string, std::string>> removed;
    const QByteArray bytes = RenderPicture(*format, options, curves, removed);
    ReportRemoved(removed, err);
    if (!removed.empty())
        exitCode = kExitFailed;
    if (filesAsked && removed.size() == curves.size()) {
        err << "voxacurve: " << QuotedName(output) << ": not written: no curve could be drawn\n";
        return kExitFailed;
    }
    if (const auto writeError = WriteWhole(output,
            BytesOf(std::string_view(bytes.constData(), std::size_t(bytes.size()))),
            Flush::Lazily)) {
        err << "voxacurve: cannot write " << QuotedName(output) << ": " << *writeError << '\n';
        return kExitFailed;
    }
    return exitCode;
}

// "[#########...........]  450/1000  812 files/s"
std::string ProgressLine(std::size_t done, std::size_t total, double seconds)
{
    constexpr int kBarWidth = 30;
    const int filled = total == 0 ? kBarWidth : int(done * kBarWidth / total);
    std::ostringstream line;
    line << '[' << std::string(std::size_t(filled), '#')
         << std::string(std::size_t(kBarWidth - filled), '.') << "] " << done << '/' << total;
    if (seconds > 0)
        line << "  " << std::lround(double(done) / seconds) << " files/s";
    return line.str();
}

// One picture per file into DIR, on every core.
int RenderEach(const ParsedArguments& parsed, const RenderOptions& options, std::ostream& err)
{
    const std::string directory = parsed.value("-o", "");
    if (directory.empty() || directory == "-")
        throw UsageError("render --each needs -o DIR");
    const std::optional<PictureFormat> format = FormatOfName(parsed.value("--format", "png"));
    if (!format)
        throw UsageError("--format must be png, svg or pdf");
    std::error_code error, madeError;
    fs::create_directories(directory, madeError);
    if (!fs::is_directory(directory, error)) {
        err << "voxacurve: cannot make the directory " << QuotedName(directory) << ": "
            << (madeError ? madeError : error).message() << '\n';
        return kExitFailed;
    }

    // Each file's picture, claimed before any is written; a name's second
    // file is refused.
    const std::vector<std::string>& files = parsed.files;
    std::vector<std::optional<std::string>> targets;
    OutputNames claimed;
    std::size_t collisions = 0;
    for (const std::string& name : files) {
        const std::string target = (fs::path(directory)
            / (fs::path(name).filename().string() + "." + ExtensionOf(*format)))
                                       .string();
        if (claimed.claim(target)) {
            targets.emplace_back(target);
        } else {
            err << "voxacurve: " << QuotedName(name) << ": " << ClaimedByAnother(target) << '\n';
            targets.emplace_back();
            ++collisions;
        }
    }
    std::atomic<std::size_t> next {0}, done {0}, failed {collisions};
    std::mutex errLock;
    auto report = [&](const std::string& text) {
        const std::lock_guard lock(errLock);
        err << (isatty(STDERR_FILENO) ? "\r\033[K" : "") << text << '\n';
    };
    auto work = [&] {
        for (std::size_t i; (i = next++) < files.size(); ++done) {
            if (!targets[i])
                continue;
            const std::string& name = files[i];
            auto curve = LoadCurve(name, options.texts);
            if (auto* refusal = std::get_if<std::string>(&curve)) {
                report("voxacurve: " + QuotedName(name) + ": refused: " + *refusal);
                ++failed;
                continue;
            }
            std::vector<std::pair<std::string, std::string>> removed;
            const QByteArray bytes
                = RenderPicture(*format, options, {&std::get<LoadedCurve>(curve)}, removed);
            if (!removed.empty()) {
                report("voxacurve: " + QuotedName(name) + ": refused: " + removed.front().second);
                ++failed;
                continue;
            }
            const std::string& target = *targets[i];
            if (const auto writeError = WriteWhole(target,
                    BytesOf(std::string_view(bytes.constData(), std::size_t(bytes.size()))),
                    Flush::Lazily)) {
                report("voxacurve: cannot write " + target + ": " + *writeError);
                ++failed;
            }
        }
    };

    const auto start = std::chrono::steady_clock::now();
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> workers;
    for (unsigned i = 1; i < std::min<std::size_t>(cores, files.size()); ++i)
        workers.emplace_back(work);
    if (isatty(STDERR_FILENO)) {
        std::thread progress([&] {
            while (done < files.size()) {
                {
                    const std::lock_guard lock(errLock);
                    err << '\r' << ProgressLine(done, files.size(), seconds()) << std::flush;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
        work();
        for (std::thread& t : workers)
            t.join();
        progress.join();
        err << "\r\033[K";
    } else {
        work();
        for (std::thread& t : workers)
            t.join();
    }
    const double elapsed = seconds();
    err << "voxacurve: rendered " << files.size() - failed << " of " << files.size()
        << " files into " << directory << " in " << std::fixed << std::setprecision(2) << elapsed
        << " s (" << std::lround(double(files.size()) / std::max(elapsed, 1e-9)) << " files/s)";
    if (failed > 0)
        err << ", " << failed << " refused or not written";
    err << '\n';
    return failed > 0 ? kExitFailed : kExitOk;
}

// Qt's notes about the desktop it runs in (no runtime directory, no
// display) mean nothing here; its errors are passed on.
void ReportQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "voxacurve: %s\n", message.toLocal8Bit().constData());
}

// The fonts need an application; the offscreen platform needs no display.
class GuiWithoutScreen
{
public:
    GuiWithoutScreen()
        : m_app(offscreen(m_argc), m_argv)
    {
        InstallFontSubstitutes();
    }

private:
    // Chooses the platform before the application starts; returns argc.
    static int& offscreen(int& argc)
    {
        qInstallMessageHandler(ReportQtErrors);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }

    int m_argc = 1;
    char m_name[10] = "voxacurve";
    char* m_argv[2] = {m_name, nullptr};
    QGuiApplication m_app;
};

} // namespace

// The limit lines of --upper and --lower, on the scale of the band's kind, else
// of the first file's kind.
void ReadLimits(const ParsedArguments& parsed, RenderOptions& options)
{
    const auto kindOf = [&](const std::string& name) {
        return IsCurveTextName(name) ? ReadTextCurve(name, options.texts).kind
                                     : CurveKindOfName(name).value_or(CurveKind::Response);
    };
    options.limitKind = options.band ? options.band->kind
        : !parsed.files.empty()      ? kindOf(parsed.files.front())
                                     : CurveKind::Response;
    for (const char* option : {"--upper", "--lower"}) {
        if (!parsed.values.contains(option))
            continue;
        Limit limit(parsed.values.at(option), options.serialResistor);
        auto points = limit.PointsFor(options.limitKind);
        if (const auto* why = std::get_if<std::string>(&points))
            throw UsageError(std::string(option) + ": " + *why);
        options.limits.push_back(std::move(std::get<std::vector<BandPoint>>(points)));
    }
}

int RunRender(const std::vector<std::string>& args, std::ostream&, std::ostream& err)
{
    ParsedArguments parsed = ParseArguments(args,
        WithCurveTextOptions(WithFileListOptions({{"-o", true}, {"--each", false},
            {"--format", true}, {"--size", true}, {"--from", true}, {"--to", true},
            {"--level-top", true}, {"--level-range", true}, {"--impedance-step", true},
            {"--impedance-base", true}, {"--serial-resistor", true}, {"--colours", true},
            {"--legend", false}, {"--band", true}, {"--upper", true}, {"--lower", true}})));
    if (parsed.files.empty() && !parsed.values.contains("--files-from")
        && !parsed.values.contains("--band"))
        throw UsageError("render needs at least one FILE (or --band STATS.csv)");
    const GuiWithoutScreen gui;
    RenderOptions options = OptionsOf(parsed);
    const bool namesGiven = !parsed.files.empty() || parsed.values.contains("--files-from");
    const int problems = ExpandInputFiles(parsed, std::cin, err);
    ReadLimits(parsed, options);
    const int exitCode = parsed.has("--each") ? RenderEach(parsed, options, err)
                                              : RenderOne(parsed, options, namesGiven, err);
    return problems > 0 ? kExitFailed : exitCode;
}
