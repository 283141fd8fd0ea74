// The arithmetic floor the drawing benchmarks are measured against: one pass
// of the double logarithm over the 65,536 values of two full curve slots,
// the least any drawing of both curves at every bin would cost.
#include "curves/CurveSlot.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace
{

void BM_LogFloor(benchmark::State& state)
{
    std::vector<double> values(2 * std::size_t(kCurveCapacity));
    for (std::size_t k = 0; k < values.size(); ++k)
        values[k] = 0.05 * (1.5 + std::sin(0.01 * double(k % kCurveCapacity)));
    for (auto _ : state) {
        double sum = 0;
        for (double v : values)
            sum += std::log(v);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_LogFloor)->Unit(benchmark::kMicrosecond);

} // namespace
