#include "ui/MainLayout.h"

#include <benchmark/benchmark.h>

namespace
{

// One layout pass for a growing window, as during a drag resize.
void BM_ComputeMainLayout(benchmark::State& state)
{
    MainLayoutInput in;
    in.escButtonWidth = 79;
    for (int i = 0; i < 9; ++i)
        in.softKeys[i] = {i * 79, 2, 79, 20};
    int step = 0;
    for (auto _ : state) {
        in.windowWidth = 500 + step % 1000;
        in.windowHeight = 300 + step % 700;
        const MainLayout m = ComputeMainLayout(in);
        benchmark::DoNotOptimize(m);
        in.datWinFrameWidth = m.DatWinFrame.width;
        in.sigWinFrameHeight = m.SigWinFrame.height;
        ++step;
    }
}
BENCHMARK(BM_ComputeMainLayout);

} // namespace
