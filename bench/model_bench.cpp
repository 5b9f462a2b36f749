#include "model/GLPointPair.h"
#include "model/Random.h"

#include <benchmark/benchmark.h>

static void BM_RandomPointPair(benchmark::State& state) {
    seedRandom(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(GLPointPair::randomPointPair());
}
BENCHMARK(BM_RandomPointPair);

static void BM_ComplementaryColor(benchmark::State& state) {
    Color color = Color::colorWithCalibratedRed(0.2f, 0.7f, 0.4f, 1.0f);
    for (auto _ : state) {
        color = GLPointPair::complementaryColorForColor(color);
        benchmark::DoNotOptimize(color);
    }
}
BENCHMARK(BM_ComplementaryColor);
