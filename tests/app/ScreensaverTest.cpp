#include "app/Screensaver.h"
#include "ApplicationTestSupport.h"
#include "app/ScreensaverFrameRate.h"
#include "model/Random.h"
#include "view/OrbalinOpenGLView.h"

#include <QElapsedTimer>
#include <QWindow>

// The saver's options as they shape what it shows, in a host window of the test's own: the
// camera's steps, the tick, the scene, and the frame rate it states.
TEST(Screensaver, OptionsShapeTheCameraTheTickTheSceneAndTheFrameRate) {
    QTemporaryDir folder;
    writeScene(folder.filePath("two.orbalin"),
               {GLPointPair::randomPointPair(), GLPointPair::randomPointPair()});
    Result<std::unique_ptr<OrbalinDocument>> file =
        OrbalinDocument::readSceneFile(folder.filePath("two.orbalin"));
    ASSERT_TRUE(file) << file.reason().toStdString();
    // --speed, --delay in microseconds, --scene
    const std::tuple<double, int, SceneDocument*> rows[] = {
        {1, 16'000, nullptr}, {3, 40'000, nullptr}, {0.5, 16'000, file->get()}};
    for (const auto& [speed, delay, scene] : rows) {
        SCOPED_TRACE(speed);
        QWindow host;
        host.resize(320, 240);
        Screensaver saver(
            &host, {.delayMicroseconds = delay, .speed = speed, .showFrameRate = true, .scene = {}},
            scene);
        saver.fit(host.size());
        host.show();
        seedRandom(5);
        OrbitCamera expected = OrbitCamera::randomCamera();
        scaleCameraSteps(expected, speed);
        seedRandom(5);
        saver.newScene();
        OrbalinOpenGLView* view = saver.view();
        EXPECT_EQ(view->camera().dxang, expected.dxang);
        EXPECT_EQ(view->camera().dzang, expected.dzang);

        // Five ticks take at least four periods, however busy the machine.
        QElapsedTimer clock;
        clock.start();
        for (int tick = 0; tick < 5; ++tick) {
            const double from = view->camera().xangle;
            ASSERT_TRUE(QTest::qWaitFor([&] { return view->camera().xangle != from; }, 60000));
        }
        EXPECT_GE(clock.elapsed(), 4 * delay / 1000);
        if (scene)
            EXPECT_EQ(view->pointPairArray(), scene->pointPairArray());
        else
            EXPECT_GE(view->pointPairArray()->size(), 10u);

        // The frames it shows in a second, near as many as it ticks (showing the window and a
        // busy machine add a few): a figure in frames a second, not in any other unit.
        auto* frameRate = host.findChild<ScreensaverFrameRate*>();
        ASSERT_TRUE(QTest::qWaitFor([&] { return frameRate->text() != "– fps"; }, 60000));
        const double figure = frameRate->text().section(u' ', 0, 0).toDouble();
        EXPECT_GT(figure, 0.0) << frameRate->text().toStdString();
        EXPECT_LE(figure, 2e6 / delay + 5);
    }
}
