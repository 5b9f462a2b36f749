#include "ViewTestSupport.h"
#include "model/Random.h"
#include "support/ViewTestAccess.h"
#include "view/FrameRenderThread.h"
#include "view/OffscreenRenderer.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {

// Holds every frame of the render threads at its start until opened.
class FrameLatch {
  public:
    FrameLatch() {
        FrameRenderThreadTestAccess::setBeforeFrameHook([this] {
            std::unique_lock lock(mutex_);
            ++arrived_;
            opened_.wait(lock, [this] { return open_; });
            return Result<void>();
        });
    }
    ~FrameLatch() {
        open();
        processEventsUntil([] { return FrameRenderThread::liveThreads() == 0; });
        FrameRenderThreadTestAccess::setBeforeFrameHook({});
    }
    void open() {
        {
            const std::lock_guard lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }
    int arrived() {
        const std::lock_guard lock(mutex_);
        return arrived_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
    int arrived_ = 0;
};

PointPairArray randomScene(int pairs) {
    PointPairs scene;
    for (int i = 0; i < pairs; ++i)
        scene.push_back(GLPointPair::randomPointPair());
    return std::make_shared<const PointPairs>(std::move(scene));
}

// Scenes of a few hundred pairs count as heavy here, so that the tests run fast; a one-pair
// view stays on the GUI thread.
class OffThreadView : public ::testing::Test {
  protected:
    void SetUp() override {
        savedBudget_ = OrbalinOpenGLView::offThreadBudget();
        OrbalinOpenGLViewTestAccess::setOffThreadBudget(10000);
        ASSERT_EQ(FrameRenderThread::liveThreads(), 0);
    }
    void TearDown() override { OrbalinOpenGLViewTestAccess::setOffThreadBudget(savedBudget_); }

    long long savedBudget_ = 0;
};

} // namespace

TEST_F(OffThreadView, GuiThreadTurnsAndCloseGoesAtOnceWhileAHeavyFrameIsInFlight) {
    FakeDocument smallDocument;
    smallDocument.scene = sceneOf({redToCyanPair(0, 0, 0, 0, 500, 0)});
    RecordingView small(QRect(0, 0, 160, 120));
    small.setOrbalinDocument(&smallDocument);

    FrameLatch latch;
    FakeDocument heavyDocument;
    heavyDocument.scene = randomScene(300);
    auto heavy = std::make_unique<RecordingView>(QRect(200, 0, 320, 240));
    heavy->setOrbalinDocument(&heavyDocument);
    heavy->show();
    ASSERT_TRUE(showAndWaitForFirstFrame(small));
    ASSERT_TRUE(processEventsUntil([&] { return latch.arrived() == 1; }));
    EXPECT_FALSE(small.drawsOffThread(small.frameInputs()));
    EXPECT_TRUE(heavy->drawsOffThread(heavy->frameInputs()));

    // The heavy frame stays in flight while both views go on ticking on the GUI thread.
    const int smallTicks = small.ticks;
    const int heavyTicks = heavy->ticks;
    ASSERT_TRUE(processEventsUntil([&] { return small.ticks >= smallTicks + 10; }));
    EXPECT_GT(heavy->ticks, heavyTicks);
    EXPECT_EQ(heavy->offThreadFramesFinished(), 0);
    EXPECT_EQ(latch.arrived(), 1) << "ticks queued frames behind the one in flight";

    // Closing does not wait for it: the view is gone, its thread still drawing.
    heavy.reset();
    EXPECT_EQ(FrameRenderThread::liveThreads(), 1);
    latch.open();
    EXPECT_TRUE(processEventsUntil([] { return FrameRenderThread::liveThreads() == 0; }));
    EXPECT_EQ(latch.arrived(), 1) << "a closed view's thread drew what was asked before";
    const int afterClose = small.ticks;
    EXPECT_TRUE(processEventsUntil([&] { return small.ticks >= afterClose + 3; }));
}

TEST_F(OffThreadView, HeavyFrameOnShowIsThePictureDrawnWithoutAWindow) {
    seedRandom(7);
    FakeDocument document;
    document.scene = randomScene(400);
    RecordingView view(QRect(0, 0, 320, 240));
    view.setOrbalinDocument(&document);
    // The last row's thread fails, as it does without surfaceless EGL: the window draws the
    // heavy frames itself from then on, the same pictures.
    const struct {
        const char* name;
        double dzang;
        bool threadFails;
    } cameras[] = {{"held still", 0.0, false},
                   {"turned by a tick", 0.25, false},
                   {"drawn by the window", 0.5, true}};
    for (const auto& camera : cameras) {
        SCOPED_TRACE(camera.name);
        if (camera.threadFails)
            FrameRenderThreadTestAccess::setBeforeFrameHook(
                [] { return Result<void>(Failure::because("no EGL")); });
        view.holdCameraStill();
        view.camera().dzang = camera.dzang;
        view.animate();
        view.camera().dzang = 0;
        const int finished = view.offThreadFramesFinished();
        if (!view.isVisible()) {
            ASSERT_TRUE(showAndWaitForFirstFrame(view));
        }
        ASSERT_TRUE(processEventsUntil([&] {
            return camera.threadFails ? !view.drawsOffThread(view.frameInputs())
                                      : view.offThreadFramesFinished() > finished;
        }));
        const QSize size(320, 240);
        ASSERT_EQ(view.frameInputs().devicePixels, size);

        // A thread has one kind of context current at a time: the window's goes first.
        view.doneCurrent();
        const Result<QImage> expected =
            renderSceneOffscreen({view.camera(), document.scene, size, {}});
        ASSERT_TRUE(expected) << expected.reason().toStdString();
        EXPECT_EQ(view.grabFrame().convertToFormat(expected->format()), *expected);
        const std::optional<Pixels> shown = view.nextFrame(size);
        ASSERT_TRUE(shown);
        int differing = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb want = expected->pixel(x, size.height() - 1 - y);
                const auto got = shown->at(x, y);
                differing += got != std::array<int, 3>{qRed(want), qGreen(want), qBlue(want)};
            }
        EXPECT_EQ(differing, 0);
    }
    FrameRenderThreadTestAccess::setBeforeFrameHook({});
}
