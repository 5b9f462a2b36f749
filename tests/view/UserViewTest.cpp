// The user's turn, zoom and pan on top of the orbiting camera, and the orbit's hold and return,
// without a window.
#include "view/UserView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using std::chrono::milliseconds;
const double pi = std::acos(-1.0);

OrbitCamera cameraAt(double xangle, double yangle, double zangle, double rtoff, double upoff) {
    OrbitCamera c;
    c.pi = pi;
    c.pi2 = 2 * pi;
    c.basedist = 20;
    c.maxrt = 4;
    c.maxup = 3;
    c.xangle = xangle;
    c.yangle = yangle;
    c.zangle = zangle;
    c.rtoff = rtoff;
    c.upoff = upoff;
    calculateCameraPosition(c); // offsets stay: their steps are zero
    c.dxang = 0.011;
    c.dyang = -0.008;
    c.dzang = 0.009;
    c.drt = 0.02;
    c.dup = -0.017;
    return c;
}

void tick(OrbitCamera& c) {
    advanceAngles(c);
    calculateCameraPosition(c);
}

// Where the camera alone draws a scene point: (w·right - rtoff, w·up - upoff) / 1000.
std::array<double, 2> cameraAlone(const OrbitCamera& c, double x, double y, double z) {
    return {(x * c.rx + y * c.ry + z * c.rz - c.rtoff) / 1000,
            (x * c.ux + y * c.uy + z * c.uz - c.upoff) / 1000};
}

// How far apart two cameras draw the corners of the cube, at most, in window half-widths.
double pictureDistance(const OrbitCamera& a, const OrbitCamera& b) {
    const UserView identity;
    double most = 0;
    for (double x : {-800, 800})
        for (double y : {-800, 800})
            for (double z : {-800, 800}) {
                const auto p = identity.project(a, x, y, z), q = identity.project(b, x, y, z);
                most = std::max({most, std::abs(p[0] - q[0]), std::abs(p[1] - q[1])});
            }
    return most;
}

const double corners[][3] = {{800, 800, 800}, {-800, 300, 0}, {0, 0, 0}, {123, -456, 789}};

} // namespace

TEST(UserViewMaths, UntouchedItIsTheCameraAlone) {
    const UserView view;
    EXPECT_TRUE(view.isIdentity());
    for (const OrbitCamera& camera : {cameraAt(0, 0, 0, 0, 0), cameraAt(1, 2, 3, 3.9, -2.5),
                                      cameraAt(-0.4, 5.5, 0.2, -4.01, 3)}) {
        const UserView::Matrix turn = view.turnMatrix(camera);
        const UserView::Matrix screen = view.screenMatrix();
        for (int i = 0; i < 16; ++i) {
            const double unit = i % 5 == 0 ? 1.0 : 0.0;
            EXPECT_NEAR(turn[i], unit, 1e-12) << i;
            EXPECT_EQ(screen[i], unit) << i;
        }
        for (const auto& w : corners) {
            const auto p = view.project(camera, w[0], w[1], w[2]);
            const auto q = cameraAlone(camera, w[0], w[1], w[2]);
            EXPECT_NEAR(p[0], q[0], 1e-12);
            EXPECT_NEAR(p[1], q[1], 1e-12);
        }
    }
}

TEST(UserViewMaths, DragsTurnTheNearSideWithThePointerAboutTheScenesCentre) {
    // Camera of all angles 0: the scene's y runs right, z up, and +x comes towards the viewer.
    const OrbitCamera camera = cameraAt(0, 0, 0, 0, 0);
    struct Case {
        const char* what;
        double dx, dy;
        double nearX, nearY; // where the point (500, 0, 0) lands
    };
    const double s = 0.5 * std::sqrt(0.5); // 500 units turned an eighth of a turn, in 1000s
    const Case cases[] = {
        {"right", 100, 0, s, 0},
        {"left", -100, 0, -s, 0},
        {"down", 0, 100, 0, -s},
        {"up", 0, -100, 0, s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UserView view;
        view.turnByDrag(c.dx, c.dy, 400); // a quarter of the side: an eighth of a turn
        const auto near = view.project(camera, 500, 0, 0);
        EXPECT_NEAR(near[0], c.nearX, 1e-9);
        EXPECT_NEAR(near[1], c.nearY, 1e-9);
        // The scene's centre stays where it was.
        const auto centre = view.project(camera, 0, 0, 0);
        EXPECT_NEAR(centre[0], 0, 1e-9);
        EXPECT_NEAR(centre[1], 0, 1e-9);
    }

    // A sideways turn keeps every point's height, whatever the camera.
    const OrbitCamera tumbled = cameraAt(1, 2, 3, 2, -1);
    UserView sideways;
    sideways.turnByDrag(37, 0, 400);
    const UserView untouched;
    for (const auto& w : corners)
        EXPECT_NEAR(sideways.project(tumbled, w[0], w[1], w[2])[1],
                    untouched.project(tumbled, w[0], w[1], w[2])[1], 1e-12);

    // Across the whole shorter side is half a turn.
    UserView across;
    across.turnByDrag(400, 0, 400);
    EXPECT_NEAR(std::abs(across.yaw()), pi, 1e-12);
}

TEST(UserViewMaths, TurnZoomAndPanStayWithinTheirBounds) {
    UserView view;
    view.turn(0, 10);
    EXPECT_DOUBLE_EQ(view.pitch(), pi / 2) << "no further than straight down";
    view.turn(0, -20);
    EXPECT_DOUBLE_EQ(view.pitch(), -pi / 2);
    view.turn(101 * pi, 0);
    EXPECT_LE(std::abs(view.yaw()), pi) << "the yaw stays within one turn";

    const double inf = std::numeric_limits<double>::infinity();
    for (double factor : {0.0, -1.0, std::nan(""), inf, -inf}) {
        view.zoomBy(factor);
        EXPECT_EQ(view.zoom(), 1.0) << factor;
    }
    view.zoomBy(1e9);
    EXPECT_EQ(view.zoom(), UserView::maxZoom);
    view.zoomBy(1e-9);
    EXPECT_EQ(view.zoom(), UserView::minZoom);

    // The window's centre stays over the cube, however far the pan is pushed.
    for (double zoom : {UserView::minZoom, 1.0, UserView::maxZoom}) {
        UserView panned;
        panned.zoomBy(zoom);
        panned.panBy(1e6, -1e6);
        EXPECT_DOUBLE_EQ(panned.panX(), UserView::panReach * zoom);
        EXPECT_DOUBLE_EQ(panned.panY(), -UserView::panReach * zoom);
        panned.panBy(std::nan(""), 0);
        EXPECT_DOUBLE_EQ(panned.panX(), UserView::panReach * zoom);
    }
}

TEST(UserViewMaths, ZoomKeepsWhatIsAtTheWindowsCentreAndResetForgetsAll) {
    const OrbitCamera camera = cameraAt(0.3, 0.2, 0.1, 1, 1);
    UserView view;
    view.turn(0.4, 0.3);
    view.panBy(0.3, -0.2);
    const auto before = view.project(camera, 100, 200, 300);
    view.zoomBy(2);
    const auto after = view.project(camera, 100, 200, 300);
    // Twice as far from the centre, in the same direction.
    EXPECT_NEAR(after[0], 2 * before[0], 1e-12);
    EXPECT_NEAR(after[1], 2 * before[1], 1e-12);

    view.hold(camera, milliseconds(0));
    view.reset();
    EXPECT_TRUE(view.isIdentity());
    EXPECT_TRUE(view.followsCamera(milliseconds(0)));
}

TEST(UserViewOrbit, HeldThenEasedBackWithoutAJump) {
    OrbitCamera live = cameraAt(0.5, 1.0, 1.5, 0, 0);
    UserView view;
    EXPECT_EQ(pictureDistance(view.pictureCamera(live, milliseconds(0)), live), 0);

    const OrbitCamera grabbed = live;
    view.hold(live, milliseconds(1000));
    // Two seconds of ticks under a held picture, then three more after the release.
    for (int i = 0; i < 125; ++i)
        tick(live);
    view.release(milliseconds(3000));
    view.hold(live, milliseconds(3000)); // a new hold does not take the live camera...
    view.release(milliseconds(3000));
    for (int i = 0; i < 190; ++i)
        tick(live);
    EXPECT_GT(pictureDistance(grabbed, live), 0.3);

    // ...nor does a touch while released.
    view.touch(live, milliseconds(3500));
    EXPECT_EQ(pictureDistance(view.pictureCamera(live, milliseconds(6499)), grabbed), 0);
    EXPECT_FALSE(view.followsCamera(milliseconds(6499)));

    // Released at 3.5 s: held until 6.5 s, the live camera's from 7.5 s, and each millisecond
    // between moves the picture by little.
    OrbitCamera previous = view.pictureCamera(live, milliseconds(6500));
    EXPECT_EQ(pictureDistance(previous, grabbed), 0);
    for (int ms = 6501; ms <= 7500; ++ms) {
        const OrbitCamera now = view.pictureCamera(live, milliseconds(ms));
        EXPECT_LT(pictureDistance(previous, now), 0.01) << ms;
        previous = now;
    }
    EXPECT_LT(pictureDistance(view.pictureCamera(live, milliseconds(7499)), live), 1e-4);
    EXPECT_TRUE(view.followsCamera(milliseconds(7500)));
    EXPECT_EQ(pictureDistance(view.pictureCamera(live, milliseconds(7500)), live), 0);

    // A hold in the middle of the return keeps the picture where it was.
    UserView again;
    again.hold(grabbed, milliseconds(0));
    again.release(milliseconds(0));
    const OrbitCamera halfway = again.pictureCamera(live, milliseconds(3500));
    EXPECT_GT(pictureDistance(halfway, grabbed), 0.05);
    EXPECT_GT(pictureDistance(halfway, live), 0.05);
    again.hold(live, milliseconds(3500));
    EXPECT_LT(pictureDistance(again.pictureCamera(live, milliseconds(3500)), halfway), 1e-12);
    tick(live);
    EXPECT_LT(pictureDistance(again.pictureCamera(live, milliseconds(9000)), halfway), 1e-12);
}
