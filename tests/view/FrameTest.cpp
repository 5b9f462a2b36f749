#include "ViewTestSupport.h"
#include "tests/support/ViewTestAccess.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// An 800 x 400 view on screen with the camera of all angles and offsets 0: eye (20, 0, 0),
// forward -x, up +z, so the scene's y axis runs to the right and z runs up.
class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        document_.scene = sceneOf({});
        view_.setOrbalinDocument(&document_);
        ASSERT_TRUE(showAndWaitForFirstFrame(view_));
        ASSERT_EQ(view_.size(), QSize(800, 400));
        ASSERT_EQ(view_.devicePixelRatio(), 1.0);
        setCamera(0, 0, 0);
    }

    void setCamera(double xangle, double yangle, double zangle, double rtoff = 0,
                   double upoff = 0) {
        OrbitCamera& c = view_.camera();
        c.xangle = xangle;
        c.yangle = yangle;
        c.zangle = zangle;
        c.rtoff = rtoff;
        c.upoff = upoff;
        c.drt = 0;
        c.dup = 0;
        view_.calculateCameraPosition();
    }

    // Draws one frame of the scene and reads it back before it is swapped away, in the
    // viewport that the view's real frames left. No events are processed, so no tick moves
    // the camera in between.
    Pixels frameOf(PointPairArray scene) {
        view_.setPointPairArray(std::move(scene));
        view_.makeCurrent();
        view_.drawRect();
        return Pixels(800, 400);
    }

    FakeDocument document_;
    OrbalinOpenGLView view_{QRect(0, 0, 800, 400)};
};

} // namespace

TEST_F(FrameTest, SegmentAlongYRunsFromTheCentreHalfwayToTheRightEdge) {
    const Pixels p = frameOf(sceneOf({redToCyanPair(0, 0, 0, 0, 500, 0)}));
    const Extent e = litExtent(p);
    EXPECT_NEAR(e.minX, 400, 1);
    EXPECT_NEAR(e.maxX, 600, 1);
    EXPECT_GE(e.minY, 199); // the centre row (the line lies on the row boundary)
    EXPECT_LE(e.maxY, 200);
    EXPECT_EQ(e.minY, e.maxY);
    EXPECT_NEAR(e.count, 200, 2);
}

TEST_F(FrameTest, ColourRunsFromTheFirstEndsColourToTheSeconds) {
    const Pixels p = frameOf(sceneOf({redToCyanPair(0, 0, 0, 0, 500, 0)}));
    const int row = litExtent(p).minY;
    const auto nearFirst = p.at(402, row);
    const auto middle = p.at(500, row);
    const auto nearSecond = p.at(597, row);
    EXPECT_GT(nearFirst[0], 240);
    EXPECT_LT(nearFirst[1], 15);
    EXPECT_LT(nearFirst[2], 15);
    EXPECT_NEAR(middle[0], 128, 12);
    EXPECT_NEAR(middle[1], 128, 12);
    EXPECT_NEAR(middle[2], 128, 12);
    EXPECT_LT(nearSecond[0], 15);
    EXPECT_GT(nearSecond[1], 240);
    EXPECT_GT(nearSecond[2], 240);
}

TEST_F(FrameTest, ThousandUnitsSpanHalfTheWidthOrHalfTheHeight) {
    const Extent across = litExtent(frameOf(sceneOf({redToCyanPair(0, -500, 0, 0, 500, 0)})));
    EXPECT_NEAR(across.count, 400, 2);
    EXPECT_NEAR(across.minX, 200, 1);
    EXPECT_NEAR(across.maxX, 600, 1);

    const Extent up = litExtent(frameOf(sceneOf({redToCyanPair(0, 0, -500, 0, 0, 500)})));
    EXPECT_NEAR(up.count, 200, 2);
    EXPECT_NEAR(up.minY, 100, 1);
    EXPECT_NEAR(up.maxY, 300, 1);
    EXPECT_EQ(up.minX, up.maxX);
}

TEST_F(FrameTest, EmptyOrMissingSceneLeavesOnlyBlack) {
    EXPECT_EQ(frameOf(sceneOf({redToCyanPair(0, -500, 0, 0, 500, 0)})).litCount(), 400);
    EXPECT_EQ(frameOf(sceneOf({})).litCount(), 0);
    EXPECT_EQ(frameOf(nullptr).litCount(), 0);
}

TEST_F(FrameTest, DepthBeyondTheUniverseIsCutOnBothSidesOfTheEye) {
    // Along the forward axis the visible depth runs from x = 1020 (behind the eye at x = 20)
    // to x = -980 (ahead); where these segments cross either plane, y is -240 or -260.
    const Extent ahead = litExtent(frameOf(sceneOf({redToCyanPair(-1500, -500, 0, 500, 500, 0)})));
    EXPECT_NEAR(ahead.minX, 400 - 96, 2);
    EXPECT_NEAR(ahead.maxX, 600, 1);

    const Extent behind = litExtent(frameOf(sceneOf({redToCyanPair(1500, -500, 0, -500, 500, 0)})));
    EXPECT_NEAR(behind.minX, 400 - 104, 2);
    EXPECT_NEAR(behind.maxX, 600, 1);
}

TEST_F(FrameTest, DrawsFromTheLatestCamera) {
    // Turned a quarter about y: forward +z, up +x, so the scene's x axis runs upwards.
    setCamera(0, std::acos(-1.0) / 2, 0);
    const Extent turned = litExtent(frameOf(sceneOf({redToCyanPair(0, 0, 0, 500, 0, 0)})));
    EXPECT_NEAR(turned.minY, 200, 1);
    EXPECT_NEAR(turned.maxY, 300, 1);
    EXPECT_EQ(turned.minX, turned.maxX);

    // An eye moved 250 units to the right shifts the picture 100 pixels to the left.
    setCamera(0, 0, 0, 250, 0);
    const Extent shifted = litExtent(frameOf(sceneOf({redToCyanPair(0, 0, 0, 0, 500, 0)})));
    EXPECT_NEAR(shifted.minX, 300, 1);
    EXPECT_NEAR(shifted.maxX, 500, 1);

    // A tick in between moves the picture.
    setCamera(0, 0, 0);
    view_.camera().dzang = 0.3;
    view_.animate();
    const Extent ticked = litExtent(frameOf(sceneOf({redToCyanPair(0, 0, 0, 0, 500, 0)})));
    EXPECT_LT(ticked.maxX, 600 - 5);
}

TEST_F(FrameTest, LaterPairsDrawOverEarlierOnes) {
    // Placed off the pixel boundaries: A is row 220 from red to cyan, B column 440 from blue
    // to yellow. Where they cross, A is 0.6 of its way along, (0.4, 0.6, 0.6), and B 0.6 of
    // its way, (0.6, 0.6, 0.4).
    const auto a = redToCyanPair(0, -500, 103.75, 0, 500, 103.75);
    const auto b =
        std::make_shared<GLPointPair>(GLPointWithColor::pointWithX(0, 101.875, -500, 0, 0, 1, 1),
                                      GLPointWithColor::pointWithX(0, 101.875, 500));

    const auto bOnTop = frameOf(sceneOf({a, b})).at(440, 220);
    EXPECT_NEAR(bOnTop[0], 153, 6);
    EXPECT_NEAR(bOnTop[2], 102, 6);
    const Pixels bThenA = frameOf(sceneOf({b, a}));
    const auto aOnTop = bThenA.at(440, 220);
    EXPECT_NEAR(aOnTop[0], 102, 6);
    EXPECT_NEAR(aOnTop[2], 153, 6);

    // Large scenes are drawn in batches of 16 384 pairs: the last of one and the first of the
    // next are both drawn, in order, to the bit. The other pairs lie beyond the right edge.
    // Drawn here, on this thread, as a render thread or --render would.
    PointPairs large(40000, redToCyanPair(0, 5000, 0, 0, 6000, 0));
    large[16383] = b;
    large[16384] = a;
    const long long budget = OrbalinOpenGLView::offThreadBudget();
    OrbalinOpenGLViewTestAccess::setOffThreadBudget(std::numeric_limits<long long>::max());
    const bool same = frameOf(std::make_shared<const PointPairs>(large)) == bThenA;
    OrbalinOpenGLViewTestAccess::setOffThreadBudget(budget);
    EXPECT_TRUE(same);
}
