// Writing and reading a scene of 100 000 pairs, far beyond the 50 a new scene holds, so that
// the cost per object shows.
#include "model/KeyedArchiver.h"
#include "model/KeyedUnarchiver.h"
#include "model/Random.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr int pairCount = 100000;

const PointPairs& bigScene() {
    static const PointPairs scene = [] {
        seedRandom(2024);
        PointPairs pairs;
        pairs.reserve(pairCount);
        for (int i = 0; i < pairCount; ++i)
            pairs.push_back(GLPointPair::randomPointPair());
        return pairs;
    }();
    return scene;
}

void BM_WriteScene(benchmark::State& state) {
    const PointPairs& scene = bigScene();
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray data = KeyedArchiver::archivedDataWithRootObject(scene);
        size = data.size();
        benchmark::DoNotOptimize(data.constData());
    }
    state.counters["bytes"] = static_cast<double>(size);
    state.SetItemsProcessed(state.iterations() * pairCount);
}
BENCHMARK(BM_WriteScene)->Unit(benchmark::kMillisecond);

void BM_ReadScene(benchmark::State& state) {
    const QByteArray data = KeyedArchiver::archivedDataWithRootObject(bigScene());
    for (auto _ : state) {
        const UnarchiveResult result = KeyedUnarchiver::unarchiveObjectWithData(data);
        if (!result.rootObject || result.rootObject->size() != pairCount)
            state.SkipWithError("the scene did not read back");
        benchmark::DoNotOptimize(result.rootObject.get());
    }
    state.counters["bytes"] = static_cast<double>(data.size());
    state.SetItemsProcessed(state.iterations() * pairCount);
}
BENCHMARK(BM_ReadScene)->Unit(benchmark::kMillisecond);

} // namespace
