// The drawing of the data window with the program's real windows and
// off-screen picture, at two window sizes.
#include "app/SettingsRecord.h"
#include "curves/CurveSlot.h"
#include "curves/LoadState.h"
#include "plot/PlotState.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <cmath>

namespace
{

// Two full curves (N = 65536 at 48 kHz, 20 Hz to 20 kHz) in the slots and a
// window of the benchmark's outer size.
void prepare(benchmark::State& state)
{
    MainForm->setOuterSize(int(state.range(0)), int(state.range(1)));
    MainForm->SetSystemMetrics();
    for (CurveSlot* slot : {&ResponseCurve, &ImpedanceCurve}) {
        slot->header = {1.0f, 48000, 65536, 20000.0f, 20.0f};
        for (int k = 0; k < kCurveCapacity; ++k)
            slot->values[k] = 0.05f * (1.5f + std::sin(0.01f * float(k)));
    }
    ResponseCurve.header.LevelFactor = 20000.0f;
    Plot.ViewFreqLow = 20.0f;
    Plot.ViewFreqHigh = 20000.0f;
}

void drawBothCurves()
{
    Plot.ActiveDisplayKind = DisplayKind;
    DrawResponseCurve(ResponseCurve.values, true, Settings.SignalColor);
    Plot.ActiveDisplayKind = kImpedanceKind;
    DrawImpedanceCurve(ImpedanceCurve.values, 0x00FF00);
}

// A redraw over the program's own last drawing, as after a zoom or a scroll:
// the background is written back under the old lines only.
void BM_DrawBothCurves(benchmark::State& state)
{
    prepare(state);
    for (auto _ : state)
        drawBothCurves();
}
BENCHMARK(BM_DrawBothCurves)->Args({640, 450})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

// The same after something else has painted the picture (an inscription):
// the whole background is written.
void BM_DrawBothCurvesOverOtherPainting(benchmark::State& state)
{
    prepare(state);
    for (auto _ : state) {
        OffscreenBitmap.bits(); // as a painter's begin: the picture's key changes
        drawBothCurves();
    }
}
BENCHMARK(BM_DrawBothCurvesOverOtherPainting)
    ->Args({640, 450})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);

void BM_RebuildPlot(benchmark::State& state)
{
    prepare(state);
    for (auto _ : state)
        RebuildPlot();
}
BENCHMARK(BM_RebuildPlot)->Args({640, 450})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

void BM_SetSystemMetrics(benchmark::State& state)
{
    // Alternating sizes, so every pass also resizes the off-screen picture.
    int i = 0;
    for (auto _ : state) {
        MainForm->setOuterSize(640 + (i & 1) * 8, 450);
        MainForm->SetSystemMetrics();
        ++i;
    }
}
BENCHMARK(BM_SetSystemMetrics)->Unit(benchmark::kMicrosecond);

// One mouse move over the data window, through the window's event handler.
void BM_CursorOutEvent(benchmark::State& state)
{
    prepare(state);
    int x = 2;
    for (auto _ : state) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 100), QPointF(x, 100), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(MainForm->SigWinFrame, &move);
        x = 2 + (x + 1) % 500;
    }
}
BENCHMARK(BM_CursorOutEvent)->Args({640, 450})->Unit(benchmark::kMicrosecond);

} // namespace
