#include "ViewTestSupport.h"

#include <QtGlobal>

#include <gtest/gtest.h>

namespace {

// The whole suite runs on a screen scaled by two; the scale must be set before the
// application object exists.
const bool scaled = [] {
    qputenv("QT_SCALE_FACTOR", "2");
    return true;
}();

} // namespace

TEST(ViewHighDpi, PictureFillsTheViewInDevicePixelsAlsoAfterAResize) {
    ASSERT_TRUE(scaled);
    FakeDocument document;
    // One segment of 1000 units along the right vector: the middle half of the view's width.
    document.scene = sceneOf({redToCyanPair(0, -500, 0, 0, 500, 0)});
    RecordingView view(QRect(0, 0, 300, 150));
    view.setOrbalinDocument(&document);
    ASSERT_TRUE(showAndWaitForFirstFrame(view));
    ASSERT_EQ(view.devicePixelRatio(), 2.0);
    view.holdCameraStill();

    const std::optional<Pixels> shown = view.nextFrame(QSize(600, 300));
    ASSERT_TRUE(shown);
    const Extent before = litExtent(*shown);
    EXPECT_NEAR(before.minX, 150, 1);
    EXPECT_NEAR(before.maxX, 450, 1);
    EXPECT_NEAR(before.minY, 150, 1);

    // A frame taken for a picture has the same pixels.
    const QImage frame = view.grabFrame();
    EXPECT_EQ(frame.size(), QSize(600, 300));
    int litInMiddleColumn = 0;
    for (int y = 0; y < frame.height(); ++y)
        litInMiddleColumn += (frame.pixel(300, y) & 0xffffff) != 0 ? 1 : 0;
    EXPECT_GE(litInMiddleColumn, 1) << "the segment crosses the middle";

    view.resize(200, 100);
    const std::optional<Pixels> resized = view.nextFrame(QSize(400, 200));
    ASSERT_TRUE(resized) << "no frame at the new size";
    const Extent after = litExtent(*resized);
    EXPECT_NEAR(after.minX, 100, 1);
    EXPECT_NEAR(after.maxX, 300, 1);
    EXPECT_NEAR(after.minY, 100, 1);
}
