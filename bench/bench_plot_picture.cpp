// The picture voxacurve renders for each file: strips, data window, grid
// and one response of N = 4096, painted without any window.
#include "app/SettingsRecord.h"
#include "curves/CurveSlot.h"
#include "plot/qt/PlotPainter.h"
#include "ui/qt/Colours.h"
#include "ui/qt/Fonts.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace
{

void BM_PlotPicture(benchmark::State& state)
{
    const int width = int(state.range(0)), height = int(state.range(1));
    const PlotPictureLayout layout = ComputePlotPictureLayout(width, height);
    std::vector<float> values(kCurveCapacity, EmptyCurveValue);
    for (int k = 0; k < 2048; ++k)
        values[std::size_t(k)] = 0.05f * (1.5f + std::sin(0.01f * float(k)));
    const PlotCurve curve {
        {20000.0f, 48000, 4096, 20000.0f, 20.0f}, values.data(), false, QColor(0, 255, 0)};
    const TraceFrame frame {layout.dataWindow.width, layout.dataWindow.height, 20.0f, 20000.0f};
    const PlotPainter painter(frame, ScalesOf(Settings), Settings.SerialResistor,
        {ToQColor(Settings.DataWindowColor), ToQColor(Settings.GridColor),
            ToQColor(Settings.AxisPanelColor)});
    const QFont font = PixelFont("Arial", 11);
    QImage picture(layout.width, layout.height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&picture);
        benchmark::DoNotOptimize(painter.paintPicture(p, layout, {curve}, font));
    }
}
BENCHMARK(BM_PlotPicture)->Args({640, 450})->Unit(benchmark::kMicrosecond);

} // namespace
