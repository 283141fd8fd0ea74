#include "tools/voxacurve/ThumbnailCommand.h"

#include "app/SettingsRecord.h"
#include "app/WriteWhole.h"
#include "curves/ColourCycle.h"
#include "curves/CurveInfo.h"
#include "curves/CurveSlot.h"
#include "plot/FittedScales.h"
#include "plot/qt/PlotPainter.h"
#include "tools/voxacurve/Arguments.h"
#include "ui/qt/Colours.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <ostream>
#include <string_view>

namespace
{

// A file manager asks for 128, 256, 512 or 1024 pixels.
constexpr int kMinThumbnailSide = 16;
constexpr int kMaxThumbnailSide = 1024;

// The data window alone, grid and trace over the whole square: the axis
// strips' labels would not be legible at a file manager's sizes. The scales
// fit the curve; the colours are those of a fresh configuration. The fault
// the trace stopped at, if any.
std::optional<FaultKind> PaintThumbnail(
    QImage& picture, const CurveSummary& summary, const CurveFile& file)
{
    SettingsRecord fresh;
    WriteFreshSettings(fresh);
    const bool impedance = summary.kind == CurveKind::Impedance;
    const AxisScales scales
        = FittedScales(summary.kind, summary.minimum, summary.maximum, ScalesOf(fresh));
    const TraceFrame frame {picture.width(), picture.height()};
    const PlotPainter painter(frame, scales, summary.serialResistor,
        {ToQColor(fresh.DataWindowColor), ToQColor(fresh.GridColor),
            ToQColor(fresh.AxisPanelColor)});
    // As a fresh slot holds the curve: its values, then empty ones.
    std::vector<float> values(kCurveCapacity, EmptyCurveValue);
    std::copy(file.values.begin(), file.values.end(), values.begin());
    QPainter p(&picture);
    return painter
        .paintDataWindow(
            p, {{file.header, values.data(), impedance, ToQColor(NextCurveColour(kNoCurveColour))}})
        .front();
}

} // namespace

int RunThumbnail(const std::vector<std::string>& args, std::ostream&, std::ostream& err)
{
    const ParsedArguments parsed = ParseArguments(args, {});
    if (parsed.files.size() != 3)
        throw UsageError("thumbnail needs FILE, OUT.png and SIZE");
    const std::string& input = parsed.files[0];
    const std::string& output = parsed.files[1];
    const int size
        = int(ParseIntegerOption("SIZE", parsed.files[2], kMinThumbnailSide, kMaxThumbnailSide));

    const CurveFile file = ReadCurveFile(input);
    const CurveSummary summary = SummarizeCurveFile(input, file, DefaultSerialResistor());
    if (summary.refusal) {
        err << "voxacurve: " << input << ": refused: " << *summary.refusal << '\n';
        return kExitFailed;
    }
    QImage picture(size, size, QImage::Format_RGB32);
    if (const std::optional<FaultKind> fault = PaintThumbnail(picture, summary, file)) {
        err << "voxacurve: " << input
            << ": refused: drawing the curve failed: " << DescribeFault(*fault) << '\n';
        return kExitFailed;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "png");
    if (const auto writeError = WriteWhole(output,
            BytesOf(std::string_view(bytes.constData(), std::size_t(bytes.size()))),
            Flush::Lazily)) {
        err << "voxacurve: cannot write " << output << ": " << *writeError << '\n';
        return kExitFailed;
    }
    return kExitOk;
}
