// Writing, reading and opening a scene of 100 000 pairs, far beyond the 50 a new scene holds, so
// that the cost per object shows. With --scene-file=PATH the scene is also written to PATH (and
// opened from there), for other programs to read the very same file.
#include "framework/files/FileReading.h"
#include "model/KeyedArchiver.h"
#include "model/KeyedUnarchiver.h"
#include "model/Random.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int pairCount = 100000;
QString sceneFile;

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

// Decoding data already in memory, as plistlib.loads() does.
void BM_ReadScene(benchmark::State& state) {
    const QByteArray data = KeyedArchiver::archivedDataWithRootObject(bigScene());
    for (auto _ : state) {
        const Result<PointPairArray> result = KeyedUnarchiver::unarchiveObjectWithData(data);
        if (!result || (*result)->size() != pairCount)
            state.SkipWithError("the scene did not read back");
        benchmark::DoNotOptimize(result ? result->get() : nullptr);
    }
    state.counters["bytes"] = static_cast<double>(data.size());
    state.SetItemsProcessed(state.iterations() * pairCount);
}
BENCHMARK(BM_ReadScene)->Unit(benchmark::kMillisecond);

// Reading the file and decoding it, as opening a document does.
void BM_OpenScene(benchmark::State& state) {
    for (auto _ : state) {
        const Result<QByteArray> data = readRegularFile(sceneFile, maximumSceneFileSize);
        if (!data) {
            state.SkipWithError(qPrintable(data.reason()));
            break;
        }
        const Result<PointPairArray> result = KeyedUnarchiver::unarchiveObjectWithData(*data);
        if (!result || (*result)->size() != pairCount)
            state.SkipWithError("the scene did not read back");
        benchmark::DoNotOptimize(result ? result->get() : nullptr);
    }
    state.SetItemsProcessed(state.iterations() * pairCount);
}
BENCHMARK(BM_OpenScene)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const char* const option = "--scene-file=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], option, std::strlen(option)) == 0)
            sceneFile = QString::fromLocal8Bit(argv[i] + std::strlen(option));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    QTemporaryDir scratch;
    if (sceneFile.isEmpty())
        sceneFile = scratch.filePath(QStringLiteral("scene.orbalin"));
    QFile file(sceneFile);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(KeyedArchiver::archivedDataWithRootObject(bigScene())) < 0)
        return 1;
    file.close();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
