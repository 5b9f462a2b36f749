// Costs of the scene view: one tick, one frame in a real context, the processor time an animated
// view takes, alone and hosted in a document window, against a bare OpenGL window doing the same
// drawing, and that of a paused view. Needs a display: X11 or Wayland (bench/view_cpu.sh runs
// the comparisons on both).
#include "BareWindow.h"
#include "app/OrbalinDocument.h"
#include "framework/DocumentWindow.h"
#include "model/GLPointPair.h"
#include "model/Random.h"
#include "tests/support/ViewTestAccess.h"
#include "view/OrbalinOpenGLView.h"
#include "view/SceneFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenuBar>
#include <QOpenGLWindow>
#include <QTimer>

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace {

constexpr int benchWidth = 640;
constexpr int benchHeight = 480;
constexpr int cpuSeconds = 10;
constexpr int pausedSeconds = 5;

PointPairArray randomScene(int pairs) {
    PointPairs scene;
    scene.reserve(static_cast<std::size_t>(pairs));
    for (int i = 0; i < pairs; ++i)
        scene.push_back(GLPointPair::randomPointPair());
    return std::make_shared<const PointPairs>(std::move(scene));
}

class BenchDocument : public SceneDocument {
  public:
    explicit BenchDocument(PointPairArray scene)
        : scene_(std::move(scene)) {}
    PointPairArray pointPairArray() const override { return scene_; }
    void setPointPairArray(PointPairArray array) override { scene_ = std::move(array); }

  private:
    PointPairArray scene_;
};

void runEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitForFirstFrame(OrbalinOpenGLView& view) {
    QElapsedTimer clock;
    clock.start();
    while (!(view.isExposed() && view.inited()) && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return view.inited();
}

double processSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Share {
    double cpu = 0;  // processor seconds
    double wall = 0; // seconds
    long frames = 0;
};

// Shows the window and runs the event loop for the given time, adding the processor time the
// process used and the frames that `drawing` showed to the total. The first frame and set-up
// are left out.
template <typename Window>
void measure(Window& window, QOpenGLWindow& drawing, int ms, Share& total) {
    long frames = 0;
    QObject::connect(&drawing, &QOpenGLWindow::frameSwapped, [&] { ++frames; });
    window.show();
    runEventLoopFor(500);
    frames = 0;
    QElapsedTimer wall;
    const double before = processSeconds();
    wall.start();
    runEventLoopFor(ms);
    total.cpu += processSeconds() - before;
    total.wall += static_cast<double>(wall.nsecsElapsed()) / 1e9;
    total.frames += frames;
}

// Runs `run` and the bare window in halves ordered run, bare, bare, run, so that a drift in the
// machine's load weighs on both alike, and reports their shares of a processor and frame
// rates. The figure to watch is cpu_ratio (the goal is at most 1.1).
template <typename Run>
void compareWithBareWindow(benchmark::State& state, const Run& run, int halfMs) {
    auto runBare = [&](Share& share) {
        BareWindow bare;
        bare.resize(benchWidth, benchHeight);
        measure(bare, bare, halfMs, share);
    };
    for (auto _ : state) {
        Share view;
        Share bare;
        run(view);
        runBare(bare);
        runBare(bare);
        run(view);
        const double viewShare = view.cpu / view.wall;
        const double bareShare = bare.cpu / bare.wall;
        state.counters["view_cpu"] = viewShare;
        state.counters["bare_cpu"] = bareShare;
        state.counters["cpu_ratio"] = viewShare / bareShare;
        state.counters["view_fps"] = static_cast<double>(view.frames) / view.wall;
        state.counters["bare_fps"] = static_cast<double>(bare.frames) / bare.wall;
    }
    state.SetLabel(QGuiApplication::platformName().toStdString());
}

} // namespace

static void BM_ViewTick50Pairs(benchmark::State& state) {
    seedRandom(1);
    OrbalinOpenGLView view;
    view.setPointPairArray(randomScene(50));
    for (auto _ : state) {
        view.animate();
        benchmark::DoNotOptimize(view.camera().px);
    }
}
BENCHMARK(BM_ViewTick50Pairs);

// A tick of a heavy view, on the GUI thread whoever draws its frames: every pair still takes
// its step.
static void BM_ViewTick(benchmark::State& state) {
    seedRandom(1);
    OrbalinOpenGLView view;
    view.setPointPairArray(randomScene(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        view.animate();
        benchmark::DoNotOptimize(view.camera().px);
    }
}
BENCHMARK(BM_ViewTick)->Arg(600000)->Unit(benchmark::kMillisecond);

// One frame drawn and finished by the GL in the view's own context (the swap that shows it is
// not included), whichever thread would draw it in the program. On Mesa's software renderer a
// window's lines are rasterised as the frame is shown, so the large scene's figure here is
// the submission alone; render_bench's BM_RenderOffscreen/640/480/100000 is what a heavy
// view's render thread really spends on a frame.
static void BM_ViewFrame(benchmark::State& state) {
    seedRandom(2);
    BenchDocument document(randomScene(static_cast<int>(state.range(0))));
    OrbalinOpenGLView view(QRect(0, 0, benchWidth, benchHeight));
    view.setOrbalinDocument(&document);
    view.show();
    if (!waitForFirstFrame(view)) {
        state.SkipWithError("the view never drew: no display?");
        return;
    }
    view.setPaused(true);
    view.makeCurrent();
    for (auto _ : state) {
        drawFrame(view.frameInputs());
        glFinish();
        unsigned char px[4];
        glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
        benchmark::DoNotOptimize(px[0]);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ViewFrame)->Arg(50)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The GUI thread beside a heavy view: a 600 000-pair view (seconds a frame on a software
// renderer) animates next to a 50-pair one for a while. Reported: the longest lateness of a
// 10 ms timer on the GUI thread (the longest the event loop was held up), the small view's
// frames per tick, the heavy view's frames shown, and how long closing the heavy view took
// with a frame in flight. With a second argument of 1 every frame is drawn on the GUI thread,
// as before render threads, for comparison.
static void BM_GuiStallWithHeavyView(benchmark::State& state) {
    seedRandom(5);
    const auto heavyPairs = static_cast<int>(state.range(0));
    const long long budget = OrbalinOpenGLView::offThreadBudget();
    if (state.range(1))
        OrbalinOpenGLViewTestAccess::setOffThreadBudget(std::numeric_limits<long long>::max());
    BenchDocument heavyDocument(randomScene(heavyPairs));
    BenchDocument smallDocument(randomScene(50));
    for (auto _ : state) {
        auto* heavy = new OrbalinOpenGLView(QRect(0, 0, benchWidth, benchHeight));
        heavy->setOrbalinDocument(&heavyDocument);
        long heavyFrames = 0;
        QObject::connect(heavy, &QOpenGLWindow::frameSwapped, [&] { ++heavyFrames; });
        OrbalinOpenGLView small(QRect(benchWidth + 20, 0, 320, 240));
        small.setOrbalinDocument(&smallDocument);
        long smallFrames = 0;
        long smallTicks = 0;
        QObject::connect(&small, &QOpenGLWindow::frameSwapped, [&] { ++smallFrames; });
        QObject::connect(&OrbalinOpenGLViewTestAccess::animationTimer(small), &QTimer::timeout,
                         [&] { ++smallTicks; });
        heavy->show();
        small.show();
        if (!waitForFirstFrame(small) || !waitForFirstFrame(*heavy)) {
            state.SkipWithError("the views never drew: no display?");
            delete heavy;
            return;
        }
        smallFrames = smallTicks = heavyFrames = 0;
        const int offThreadBefore = heavy->offThreadFramesFinished();
        qint64 longestLateNs = 0;
        QElapsedTimer sinceLast;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            longestLateNs = std::max(longestLateNs, sinceLast.nsecsElapsed() - 10'000'000);
            sinceLast.restart();
        });
        sinceLast.start();
        probe.start(10);
        runEventLoopFor(cpuSeconds * 1000);
        probe.stop();
        if (heavy->offThreadFramesFinished() > 0)
            heavyFrames = heavy->offThreadFramesFinished() - offThreadBefore;
        QElapsedTimer closing;
        closing.start();
        delete heavy;
        state.counters["close_ms"] = static_cast<double>(closing.nsecsElapsed()) / 1e6;
        state.counters["max_stall_ms"] = static_cast<double>(longestLateNs) / 1e6;
        state.counters["small_frames_per_tick"] =
            smallTicks ? static_cast<double>(smallFrames) / static_cast<double>(smallTicks) : 0;
        state.counters["heavy_frames"] = static_cast<double>(heavyFrames);
    }
    OrbalinOpenGLViewTestAccess::setOffThreadBudget(budget);
    state.SetLabel(QGuiApplication::platformName().toStdString());
}
BENCHMARK(BM_GuiStallWithHeavyView)
    ->Args({50, 0}) // the floor: two small views
    ->Args({600000, 0})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// Ten seconds of an animated 50-pair view, a window of its own, against ten seconds of the
// bare window, in one run and at one size. A fresh window for each half, and only one at a
// time.
static void BM_AnimatedViewCpuAgainstBareWindow(benchmark::State& state) {
    seedRandom(3);
    const PointPairArray scene = randomScene(50);
    const int halfMs = cpuSeconds * 1000 / 2;
    auto runView = [&](Share& share) {
        BenchDocument document(scene);
        OrbalinOpenGLView view;
        view.setOrbalinDocument(&document);
        view.resize(benchWidth, benchHeight);
        measure(view, view, halfMs, share);
    };
    compareWithBareWindow(state, runView, halfMs);
}
BENCHMARK(BM_AnimatedViewCpuAgainstBareWindow)->Iterations(1)->Unit(benchmark::kSecond);

// The same for the view as the program shows it: in a document window, hosted as the platform
// needs it, its view area the bare window's size.
static void BM_DocumentWindowCpuAgainstBareWindow(benchmark::State& state) {
    seedRandom(3);
    const PointPairArray scene = randomScene(50);
    const int halfMs = cpuSeconds * 1000 / 2;
    auto runWindow = [&](Share& share) {
        OrbalinDocument document;
        document.setPointPairArray(scene);
        auto* window = new DocumentWindow(&document);
        document.setWindow(window);
        document.loadWindowDescription(window);
        window->resize(benchWidth, benchHeight + window->menuBar()->sizeHint().height());
        measure(*window, *document.orbalinOpenGLView(), halfMs, share);
    };
    compareWithBareWindow(state, runWindow, halfMs);
}
BENCHMARK(BM_DocumentWindowCpuAgainstBareWindow)->Iterations(1)->Unit(benchmark::kSecond);

// Time from show() to the first frame on screen, of a 50-pair view against the bare window,
// each a fresh window, alternated, the median of several of each. The goal is at most 1.2.
static void BM_FirstFrameAgainstBareWindow(benchmark::State& state) {
    seedRandom(6);
    BenchDocument document(randomScene(50));
    auto firstFrameMs = [](QOpenGLWindow& window) {
        bool shown = false;
        QObject::connect(&window, &QOpenGLWindow::frameSwapped, [&] { shown = true; });
        QElapsedTimer clock;
        clock.start();
        window.show();
        while (!shown && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        return static_cast<double>(clock.nsecsElapsed()) / 1e6;
    };
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    for (auto _ : state) {
        std::vector<double> view;
        std::vector<double> bare;
        for (int round = 0; round < 9; ++round) {
            {
                OrbalinOpenGLView window(QRect(0, 0, benchWidth, benchHeight));
                window.setOrbalinDocument(&document);
                view.push_back(firstFrameMs(window));
            }
            {
                BareWindow window;
                window.resize(benchWidth, benchHeight);
                bare.push_back(firstFrameMs(window));
            }
            runEventLoopFor(50);
        }
        state.counters["view_ms"] = median(view);
        state.counters["bare_ms"] = median(bare);
        state.counters["first_frame_ratio"] = median(view) / median(bare);
    }
    state.SetLabel(QGuiApplication::platformName().toStdString());
}
BENCHMARK(BM_FirstFrameAgainstBareWindow)->Iterations(1)->Unit(benchmark::kMillisecond);

// Processor time of a paused view on screen over a few seconds: the timer is stopped and nothing
// changes, so the goal is none at all. Counted for the whole process, Qt's own threads included.
static void BM_PausedViewCpu(benchmark::State& state) {
    seedRandom(4);
    BenchDocument document(randomScene(50));
    OrbalinOpenGLView view(QRect(0, 0, benchWidth, benchHeight));
    view.setOrbalinDocument(&document);
    view.show();
    if (!waitForFirstFrame(view)) {
        state.SkipWithError("the view never drew: no display?");
        return;
    }
    runEventLoopFor(300);
    view.setPaused(true);
    runEventLoopFor(200);
    long frames = 0;
    QObject::connect(&view, &QOpenGLWindow::frameSwapped, [&] { ++frames; });
    for (auto _ : state) {
        frames = 0;
        QElapsedTimer wall;
        const double before = processSeconds();
        wall.start();
        runEventLoopFor(pausedSeconds * 1000);
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        state.counters["paused_cpu"] = (processSeconds() - before) / seconds;
        state.counters["paused_fps"] = static_cast<double>(frames) / seconds;
    }
}
BENCHMARK(BM_PausedViewCpu)->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
