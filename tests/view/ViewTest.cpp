#include "ViewTestSupport.h"
#include "support/ScriptedRandom.h"
#include "support/ViewTestAccess.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ViewCreation, TakesItsCameraFromTheRandomSourceAndNothingElse) {
    // What the camera draws is the camera's own table; the view takes that and no more.
    seedRandom(21);
    const OrbitCamera expected = OrbitCamera::randomCamera();
    const double following = randomDoubleBetweenZeroOne();
    seedRandom(21);
    OrbalinOpenGLView view;
    EXPECT_EQ(randomDoubleBetweenZeroOne(), following);
    const OrbitCamera& c = view.camera();
    EXPECT_EQ(c.xangle, expected.xangle);
    EXPECT_EQ(c.zangle, expected.zangle);
    EXPECT_EQ(c.dup, expected.dup);
    EXPECT_EQ(c.dzang, expected.dzang);

    EXPECT_FALSE(view.inited());
    EXPECT_FALSE(view.isAnimating());
    EXPECT_EQ(view.pointPairArray(), nullptr);
    EXPECT_EQ(view.orbalinDocument(), nullptr);
    EXPECT_EQ(view.swapEnabled(), 0);
}

TEST(ViewViewport, WholeViewInDevicePixelsTruncated) {
    EXPECT_EQ(OrbalinOpenGLView::viewportForSize(QSizeF(400.7, 300.2), 1.0), QRect(0, 0, 400, 300));
    EXPECT_EQ(OrbalinOpenGLView::viewportForSize(QSizeF(401, 301), 1.5), QRect(0, 0, 601, 451));
    EXPECT_EQ(OrbalinOpenGLView::viewportForSize(QSizeF(640, 480), 2.0), QRect(0, 0, 1280, 960));
}

TEST(ViewSceneHandOver, AdoptsTheDocumentsArrayWithoutDrawing) {
    FakeDocument document;
    document.scene = sceneOf({GLPointPair::randomPointPair()});
    OrbalinOpenGLView view;
    view.setOrbalinDocument(&document);

    ScriptedRandom random({});
    view.delayedInit();
    EXPECT_EQ(ScriptedRandom::draws(), 0u);
    EXPECT_EQ(view.pointPairArray(), document.scene); // the same object
    view.setPointPairArray(view.pointPairArray());
    EXPECT_EQ(view.pointPairArray(), document.scene) << "handed its own array again, it keeps it";
    EXPECT_EQ(document.handed, 0);
    EXPECT_TRUE(view.inited());
    EXPECT_TRUE(view.isAnimating());
}

TEST(ViewSceneHandOver, NewDocumentReceivesTheGeneratedArray) {
    FakeDocument document;
    OrbalinOpenGLView view;
    view.setOrbalinDocument(&document);

    // One draw for the count (a value just below the top gives 49), sixteen for each pair.
    ScriptedRandom random({kRandomMax - 1});
    view.delayedInit();
    ASSERT_NE(view.pointPairArray(), nullptr);
    EXPECT_EQ(view.pointPairArray()->size(), 49u);
    EXPECT_EQ(ScriptedRandom::draws(), 1u + 49u * 16u);
    EXPECT_EQ(document.handed, 1);
    EXPECT_EQ(document.scene, view.pointPairArray());
}

TEST(ViewSceneHandOver, GeneratedSceneSizeRunsFromTenToFifty) {
    OrbalinOpenGLView view;
    {
        ScriptedRandom random({0});
        view.generatePointPairs();
        EXPECT_EQ(view.pointPairArray()->size(), 10u);
    }
    {
        ScriptedRandom random({kRandomMax});
        view.generatePointPairs();
        EXPECT_EQ(view.pointPairArray()->size(), 50u);
    }
    seedRandom(3);
    for (int i = 0; i < 20; ++i) {
        view.generatePointPairs();
        const auto n = view.pointPairArray()->size();
        EXPECT_GE(n, 10u);
        EXPECT_LE(n, 49u);
        for (const auto& pair : *view.pointPairArray())
            EXPECT_TRUE(pair && pair->point1() && pair->point2());
    }
}

TEST(ViewSceneHandOver, WithoutADocumentKeepsItsOwnScene) {
    OrbalinOpenGLView view;
    view.delayedInit();
    ASSERT_NE(view.pointPairArray(), nullptr);
    EXPECT_GE(view.pointPairArray()->size(), 10u);
}

TEST(ViewSetUp, SecondDelayedInitChangesNothing) {
    FakeDocument document;
    OrbalinOpenGLView view;
    view.setOrbalinDocument(&document);
    view.delayedInit();
    const PointPairArray scene = view.pointPairArray();
    document.scene = sceneOf({});

    ScriptedRandom random({});
    view.delayedInit();
    EXPECT_EQ(ScriptedRandom::draws(), 0u);
    EXPECT_EQ(view.pointPairArray(), scene);
    EXPECT_EQ(document.asked, 1);
}

TEST(ViewTick, AdvancesTheCameraWithOrWithoutAScene) {
    OrbalinOpenGLView view;
    OrbitCamera& c = view.camera();
    c.xangle = 1.0;
    c.dxang = 0.01;
    view.animate();
    EXPECT_NEAR(c.xangle, 1.01, 1e-15);
    EXPECT_NEAR(c.fx * c.fx + c.fy * c.fy + c.fz * c.fz, 1.0, 1e-12);

    view.setPointPairArray(sceneOf({GLPointPair::randomPointPair(), nullptr}));
    view.animate(); // a missing pair is skipped
    EXPECT_NEAR(c.fx * c.fx + c.fy * c.fy + c.fz * c.fz, 1.0, 1e-12);

    // The camera is rebuilt from the angles as this tick advanced them.
    c.xangle = c.zangle = 0;
    c.dxang = c.dzang = 0;
    c.yangle = c.pi / 2 - 0.01;
    c.dyang = 0.01;
    view.animate();
    EXPECT_NEAR(c.fx, 0, 1e-12);
    EXPECT_NEAR(c.fy, 0, 1e-12);
    EXPECT_NEAR(c.fz, 1, 1e-12);
}

TEST(ViewTimer, PreciseSixteenMillisecondsRepeatingAndRestartable) {
    RecordingView view;
    view.startAnimation();
    const QTimer& timer = OrbalinOpenGLViewTestAccess::animationTimer(view);
    EXPECT_TRUE(view.isAnimating());
    EXPECT_EQ(timer.interval(), 16);
    EXPECT_EQ(timer.timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(timer.isSingleShot());

    // Restarted, it ticks from the event loop, once a period: a second timer beside the first
    // would bring five ticks in less than four periods (a slow machine only makes it longer).
    // The clock starts first: a pause between the restart and the clock would shorten the
    // time measured.
    QElapsedTimer clock;
    clock.start();
    view.startAnimation();
    EXPECT_TRUE(view.isAnimating());
    ASSERT_TRUE(processEventsUntil([&] { return view.ticks >= 5; }));
    EXPECT_GE(clock.elapsed(), 4 * 16);
}

TEST(ViewShown, FirstFrameSetsUpAndLaterFramesFollowTheTicks) {
    FakeDocument document;
    RecordingView view(QRect(50, 50, 320, 240));
    view.setOrbalinDocument(&document);
    ASSERT_TRUE(showAndWaitForFirstFrame(view));
    // The context made is one that legacy OpenGL draws in, double-buffered.
    EXPECT_EQ(view.context()->format().profile(), QSurfaceFormat::CompatibilityProfile);
    EXPECT_EQ(view.context()->format().swapBehavior(), QSurfaceFormat::DoubleBuffer);
    EXPECT_EQ(view.format().swapInterval(), 1) << "asks to swap in step with the screen";
    EXPECT_EQ(view.swapEnabled(), 1);
    EXPECT_TRUE(view.isAnimating());
    ASSERT_NE(document.scene, nullptr);
    EXPECT_EQ(document.scene, view.pointPairArray());

    int frames = 0;
    QObject::connect(&view, &QOpenGLWindow::frameSwapped, [&] { ++frames; });
    EXPECT_TRUE(processEventsUntil([&] { return frames >= 5; }));
}

TEST(ViewShown, ReshapeBeforeTheFirstFrameIsIgnored) {
    OrbalinOpenGLView view;
    view.reshape();
    EXPECT_FALSE(view.inited());
    EXPECT_FALSE(view.isValid()); // no context was made for it
}

// A view paused before its first frame still sets up on it, but runs no timer; paused, it still
// draws when resized, and resuming starts the timer.
TEST(ViewPause, PausedBeforeTheFirstFrameSetsUpButDoesNotTick) {
    FakeDocument document;
    OrbalinOpenGLView view(QRect(50, 50, 320, 240));
    view.setOrbalinDocument(&document);
    view.setPaused(true);
    ASSERT_TRUE(showAndWaitForFirstFrame(view));
    EXPECT_NE(document.scene, nullptr) << "the scene is settled all the same";
    EXPECT_FALSE(view.isAnimating());

    int frames = 0;
    QObject::connect(&view, &QOpenGLWindow::frameSwapped, [&] { ++frames; });
    view.resize(200, 160);
    EXPECT_TRUE(processEventsUntil([&] { return frames > 0; }));
    EXPECT_FALSE(view.isAnimating());
    view.setPaused(false);
    EXPECT_TRUE(view.isAnimating());
}
