// Pictures drawn with no display server: what `orbalin --render` does once the scene is read.
// Needs no display; each iteration makes its context afresh, as every run of the program does.
#include "model/Random.h"
#include "view/OffscreenRenderer.h"
#include "view/SceneFrame.h"

#include <benchmark/benchmark.h>

// Arguments: width, height, pairs.
static void BM_RenderOffscreen(benchmark::State& state) {
    seedRandom(1);
    PointPairs pairs;
    for (int i = 0; i < state.range(2); ++i)
        pairs.push_back(GLPointPair::randomPointPair());
    OrbitCamera camera = OrbitCamera::randomCamera();
    animateScene(camera, &pairs);
    const auto scene = std::make_shared<const PointPairs>(std::move(pairs));
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const Result<QImage> picture = renderSceneOffscreen({camera, scene, size, {}});
        if (!picture) {
            state.SkipWithError(picture.reason().toStdString().c_str());
            break;
        }
        benchmark::DoNotOptimize(picture->constBits());
    }
    state.SetLabel(std::to_string(size.width()) + "x" + std::to_string(size.height()));
    state.SetItemsProcessed(state.iterations() * state.range(2));
}
// The last one is the time of a frame per 100 000 pairs, as a heavy view's render thread draws
// it (the same context, framebuffer and drawing).
BENCHMARK(BM_RenderOffscreen)
    ->Args({256, 256, 50})
    ->Args({640, 480, 50})
    ->Args({1920, 1080, 50})
    ->Args({640, 480, 100000})
    ->Unit(benchmark::kMillisecond);

// The camera after many ticks, as --render --ticks computes it: the camera alone, since a
// pair's step changes nothing drawn.
static void BM_CameraAfterTicks(benchmark::State& state) {
    seedRandom(1);
    for (auto _ : state) {
        OrbitCamera camera = OrbitCamera::randomCamera();
        for (int tick = 0; tick < state.range(0); ++tick)
            advanceCamera(camera);
        benchmark::DoNotOptimize(camera.px);
    }
}
BENCHMARK(BM_CameraAfterTicks)->Arg(100000)->Unit(benchmark::kMillisecond);
