#include "plot/ReadOut.h"

#include <benchmark/benchmark.h>

namespace
{

// One mouse move over the data window: the read-out is rebuilt on every move.
void BM_CursorOutText(benchmark::State& state)
{
    AxisScales scales;
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CursorOutText(20.0f, 20000.0f, scales, 528, 209, 2 + x, 100));
        x = (x + 1) % 528;
    }
}
BENCHMARK(BM_CursorOutText);

} // namespace
