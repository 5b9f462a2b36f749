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

TEST(ViewHighDpi, ViewportAndPictureFillTheViewInDevicePixels) {
    ASSERT_TRUE(scaled);
    FakeDocument document;
    // One segment of 1000 units along the right vector: half the view's width.
    document.scene = sceneOf({redToCyanPair(0, -500, 0, 0, 500, 0)});
    OrbalinOpenGLView view(QRect(0, 0, 300, 150));
    view.setOrbalinDocument(&document);
    ASSERT_TRUE(showAndWaitForFirstFrame(view));
    ASSERT_EQ(view.devicePixelRatio(), 2.0);

    OrbitCamera& c = view.camera();
    c.xangle = c.yangle = c.zangle = 0;
    c.rtoff = c.upoff = c.drt = c.dup = 0;
    view.calculateCameraPosition();

    view.makeCurrent();
    view.reshape();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 600);
    EXPECT_EQ(viewport[3], 300);

    view.drawRect();
    const Pixels p(600, 300);
    int minX = 600, maxX = -1;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 600; ++x) {
            if (p.lit(x, y)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
        }
    }
    EXPECT_NEAR(minX, 150, 1);
    EXPECT_NEAR(maxX, 450, 1);

    // A frame taken for a picture has the same pixels.
    const QImage frame = view.grabFrame();
    EXPECT_EQ(frame.size(), QSize(600, 300));
    int litInMiddleColumn = 0;
    for (int y = 0; y < frame.height(); ++y)
        litInMiddleColumn += (frame.pixel(300, y) & 0xffffff) != 0 ? 1 : 0;
    EXPECT_GE(litInMiddleColumn, 1) << "the segment crosses the middle";
}
