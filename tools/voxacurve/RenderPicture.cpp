#include "tools/voxacurve/RenderPicture.h"

#include "curves/ColourCycle.h"
#include "curves/CurveInfo.h"
#include "curves/OctaveSmoothing.h"
#include "plot/qt/PlotPainter.h"
#include "ui/qt/Colours.h"
#include "ui/qt/Fonts.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <unordered_map>

namespace
{

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

// Paints the picture of the curves in their order and colours with the
// extras; a curve whose drawing faults is left out and the picture painted
// again without it, as the viewer removes it. Returns the faulted curves'
// reasons.
std::vector<Refusal> PaintCurves(QPainter& p, const RenderOptions& options,
    const PlotPictureLayout& layout, std::vector<const LoadedCurve*> curves)
{
    TraceFrame frame = options.view;
    frame.width = layout.dataWindow.width;
    frame.height = layout.dataWindow.height;
    const PlotPainter painter(frame, options.scales, options.serialResistor, options.colours);
    std::vector<Refusal> removed;
    PlotExtras extras = options.extras;
    for (;;) {
        std::vector<PlotCurve> plotted;
        extras.curveNames.clear();
        uint32_t colour = kNoCurveColour;
        for (const LoadedCurve* c : curves) {
            colour = NextCurveColour(colour);
            plotted.push_back({c->header, c->values.data(), c->impedance, ToQColor(colour)});
            extras.curveNames.push_back(
                QString::fromStdString(std::filesystem::path(c->name).filename().string()));
        }
        const auto faults
            = painter.paintPicture(p, layout, plotted, PixelFont("Arial", 11), extras);
        const auto faulted = std::find_if(
            faults.begin(), faults.end(), [](const auto& f) { return f.has_value(); });
        if (faulted == faults.end())
            return removed;
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

// Qt's notes about the desktop it runs in (no runtime directory, no
// display) mean nothing here; its errors are passed on.
void ReportQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "voxacurve: %s\n", message.toLocal8Bit().constData());
}

} // namespace

std::variant<LoadedCurve, std::string> LoadCurve(
    const std::string& name, const CurveTextOptions& texts, std::optional<int> smoothing)
{
    auto read = ReadAnyCurve(name, texts);
    if (auto* reason = std::get_if<std::string>(&read))
        return *reason;
    auto& [file, kind] = std::get<std::pair<CurveFile, CurveKind>>(read);
    if (const std::optional<std::string> refusal = CurveRefusal(file, kind))
        return *refusal;
    if (smoothing)
        SmoothCurveBand(file, *smoothing);
    LoadedCurve curve {name, file.header, std::vector<float>(kCurveCapacity, EmptyCurveValue),
        kind == CurveKind::Impedance};
    std::copy(file.values.begin(), file.values.end(), curve.values.begin());
    return curve;
}

QByteArray RenderPicture(PictureFormat format, const RenderOptions& options,
    const std::vector<const LoadedCurve*>& curves, std::vector<Refusal>& removed)
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

GuiWithoutScreen::GuiWithoutScreen()
    : m_app(offscreen(m_argc), m_argv)
{
    InstallFontSubstitutes();
}

int& GuiWithoutScreen::offscreen(int& argc)
{
    qInstallMessageHandler(ReportQtErrors);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}
