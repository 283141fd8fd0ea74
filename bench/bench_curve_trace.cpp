#include "curves/CurveTrace.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace
{

// A measured-looking curve: positive values with a ripple, N = 65536 at 48 kHz.
const std::vector<float>& LongCurve()
{
    static const std::vector<float> values = [] {
        std::vector<float> v(kCurveCapacity);
        for (int k = 0; k < kCurveCapacity; ++k)
            v[k] = 0.05f * (1.5f + std::sin(0.01f * static_cast<float>(k)));
        return v;
    }();
    return values;
}

// The level factor puts the response inside the window (about 60 to 68 dB of
// 40 to 100 dB), where every point is drawn.
const CurveHeader kLongHeader {20000.0f, 48000, 65536, 20000.0f, 20.0f};
const AxisScales kScales {60, 100, 50, 0};

void BM_ResponseTrace(benchmark::State& state)
{
    const TraceFrame frame {
        static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 20.0f, 20000.0f};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ComputeResponseTrace(kLongHeader, LongCurve().data(), frame, kScales));
}

void BM_ImpedanceTrace(benchmark::State& state)
{
    const TraceFrame frame {
        static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 20.0f, 20000.0f};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ComputeImpedanceTrace(kLongHeader, LongCurve().data(), frame, kScales, 150.0f));
}

} // namespace

BENCHMARK(BM_ResponseTrace)->Args({640, 450})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImpedanceTrace)->Args({640, 450})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
