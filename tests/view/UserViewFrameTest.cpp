// The user's hand on a real view: pointer, wheel and key events change its frames as the
// turn, zoom and pan predict, and Home gives back the camera's own frame.
#include "ViewTestSupport.h"

#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

bool samePixels(const Pixels& a, const Pixels& b) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.at(x, y) != b.at(x, y))
                return false;
    return true;
}

// An 800 x 400 view whose camera stays at all angles and offsets 0 (the scene's y runs right,
// z up, +x towards the viewer), showing a segment along the depth, from red far away to cyan
// near by, which is a dot at the centre until turned, and a vertical one of 1000 units.
class UserViewFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        document_.scene =
            sceneOf({redToCyanPair(-500, 0, 0, 500, 0, 0), redToCyanPair(0, 0, -500, 0, 0, 500)});
        view_.setOrbalinDocument(&document_);
        ASSERT_TRUE(showAndWaitForFirstFrame(view_));
        ASSERT_EQ(view_.size(), QSize(800, 400));
        view_.holdCameraStill();
    }

    Pixels frame() {
        std::optional<Pixels> p = view_.nextFrame(QSize(800, 400));
        EXPECT_TRUE(p);
        return p ? std::move(*p) : Pixels(0, 0);
    }

    void drag(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint from, QPoint to) {
        QTest::mousePress(&view_, button, modifiers, from);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(&view_, from + (to - from) * step / 4);
        QTest::mouseRelease(&view_, button, modifiers, to);
    }

    void wheel(int eighths) {
        const QPointF at(400, 200);
        QWheelEvent event(at, view_.mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&view_, &event);
    }

    FakeDocument document_;
    RecordingView view_{QRect(0, 0, 800, 400)};
};

} // namespace

TEST_F(UserViewFrameTest, DragsWheelAndKeysMoveThePictureAsPredictedAndHomeGivesItBack) {
    const Pixels untouched = frame();
    const Extent plain = litExtent(untouched);
    EXPECT_NEAR(plain.minY, 100, 1);
    EXPECT_NEAR(plain.maxY, 300, 1);
    EXPECT_EQ(plain.minX, plain.maxX);

    // A click, even with a tremble, is not a drag.
    QTest::mousePress(&view_, Qt::LeftButton, {}, QPoint(400, 200));
    QTest::mouseMove(&view_, QPoint(402, 201));
    QTest::mouseRelease(&view_, Qt::LeftButton, {}, QPoint(402, 201));
    EXPECT_TRUE(view_.userView().isIdentity());
    EXPECT_TRUE(samePixels(frame(), untouched));

    // A left-drag of a quarter of the height to the right: an eighth of a turn, the near end
    // coming to the right. The height of everything stays. The hand grips while it turns.
    QTest::mousePress(&view_, Qt::LeftButton, {}, QPoint(300, 200));
    QTest::mouseMove(&view_, QPoint(350, 200));
    EXPECT_EQ(view_.cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseMove(&view_, QPoint(400, 200));
    QTest::mouseRelease(&view_, Qt::LeftButton, {}, QPoint(400, 200));
    EXPECT_EQ(view_.cursor().shape(), Qt::ArrowCursor);
    const Pixels turned = frame();
    const Extent t = litExtent(turned);
    EXPECT_NEAR(t.minX, 400 - 141, 2);
    EXPECT_NEAR(t.maxX, 400 + 141, 2);
    EXPECT_NEAR(t.minY, 100, 1);
    EXPECT_NEAR(t.maxY, 300, 1);
    int nearRow = t.minY;
    while (nearRow < t.maxY && !turned.lit(t.maxX, nearRow))
        ++nearRow;
    const auto nearEnd = turned.at(t.maxX, nearRow);
    EXPECT_GT(nearEnd[1], 200);
    EXPECT_LT(nearEnd[0], 60);

    // The wheel up zooms in by a fifth about the centre.
    wheel(120);
    const Extent z = litExtent(frame());
    EXPECT_NEAR(z.minX, 400 - 170, 2);
    EXPECT_NEAR(z.maxX, 400 + 170, 2);
    EXPECT_NEAR(z.minY, 200 - 120, 2);
    EXPECT_NEAR(z.maxY, 200 + 120, 2);
    wheel(-120);
    EXPECT_NEAR(view_.userView().zoom(), 1.0, 1e-12);

    // Shift+left-drag moves the picture with the pointer; the arrow keys turn it back.
    drag(Qt::LeftButton, Qt::ShiftModifier, QPoint(400, 200), QPoint(460, 200));
    const Extent moved = litExtent(frame());
    EXPECT_NEAR(moved.minX, t.minX + 60, 2);
    EXPECT_NEAR(moved.maxX, t.maxX + 60, 2);
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(&view_, Qt::Key_Left);
    EXPECT_NEAR(view_.userView().yaw(), 0, 1e-9);

    // The orbit, held by the drags and keys, is the camera's own again a few seconds after.
    EXPECT_FALSE(view_.userView().followsCamera(view_.sceneTime()));
    EXPECT_TRUE(processEventsUntil(
        [&] { return view_.userView().followsCamera(view_.sceneTime()); }, 20000));

    QTest::keyClick(&view_, Qt::Key_Home);
    EXPECT_TRUE(view_.userView().isIdentity());
    EXPECT_TRUE(samePixels(frame(), untouched));
}

TEST_F(UserViewFrameTest, APausedViewTurnsByHandAndStaysPaused) {
    view_.setPaused(true);
    const Pixels untouched = frame();
    const QImage picture = view_.grabFrame(); // as Export Image and Copy take it
    drag(Qt::MiddleButton, {}, QPoint(400, 200), QPoint(400, 300));
    QTest::keyClick(&view_, Qt::Key_Right);
    EXPECT_FALSE(samePixels(frame(), untouched));
    EXPECT_NE(view_.grabFrame(), picture);
    EXPECT_FALSE(view_.isAnimating());
    // A wheel gone wild zooms to a bound and no further.
    wheel(INT_MAX);
    EXPECT_EQ(view_.userView().zoom(), UserView::maxZoom);
    wheel(-INT_MAX);
    EXPECT_EQ(view_.userView().zoom(), UserView::minZoom);
    QTest::keyClick(&view_, Qt::Key_R);
    EXPECT_TRUE(samePixels(frame(), untouched));
    EXPECT_EQ(view_.grabFrame(), picture);
    EXPECT_FALSE(view_.isAnimating());
}
