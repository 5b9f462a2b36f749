// Pictures drawn with no display server: what `orbalin --render` does once the scene is read.
// Needs no display; each iteration makes its context afresh, as every run of the program does.
#include "model/Random.h"
#include "view/OffscreenRenderer.h"
#include "view/SceneFrame.h"

#include <benchmark/benchmark.h>

static void BM_RenderOffscreen(benchmark::State& state) {
    seedRandom(1);
    PointPairs pairs;
    for (int i = 0; i < 50; ++i)
        pairs.push_back(GLPointPair::randomPointPair());
    OrbitCamera camera = OrbitCamera::randomCamera();
    animateScene(camera, &pairs);
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const OffscreenPicture picture = renderSceneOffscreen(camera, &pairs, size);
        if (picture.image.isNull()) {
            state.SkipWithError(picture.error.toStdString().c_str());
            break;
        }
        benchmark::DoNotOptimize(picture.image.constBits());
    }
    state.SetLabel(std::to_string(size.width()) + "x" + std::to_string(size.height()));
}
BENCHMARK(BM_RenderOffscreen)
    ->Args({256, 256})
    ->Args({640, 480})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);
