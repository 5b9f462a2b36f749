#include "OrbalinOpenGLView.h"

#include "model/Random.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {

constexpr int animationIntervalMs = 16;

} // namespace

OrbalinOpenGLView::OrbalinOpenGLView(const QRect& frame)
    : OrbalinOpenGLView(frame, defaultFormat()) {}

OrbalinOpenGLView::OrbalinOpenGLView(const QRect& frame, const QSurfaceFormat& pixelFormat)
    : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate)
    , camera_(OrbitCamera::randomCamera()) {
    setFormat(pixelFormat);
    if (frame.isValid())
        setGeometry(frame);
    animationTimer.setTimerType(Qt::PreciseTimer);
    animationTimer.setInterval(animationIntervalMs);
    animationTimer.setSingleShot(false);
    connect(&animationTimer, &QTimer::timeout, this, [this] { animate(); });
}

OrbalinOpenGLView::~OrbalinOpenGLView() {
    // A running timer would otherwise go on calling into whatever is left of this view.
    animationTimer.stop();
}

QSurfaceFormat OrbalinOpenGLView::defaultFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setDepthBufferSize(32);
    format.setSwapInterval(1);
    return format;
}

QRect OrbalinOpenGLView::viewportForSize(const QSizeF& size, qreal devicePixelRatio) {
    return QRect(0, 0, static_cast<int>(size.width() * devicePixelRatio),
                 static_cast<int>(size.height() * devicePixelRatio));
}

void OrbalinOpenGLView::setPointPairArray(PointPairArray array) {
    pointPairArray_ = std::move(array);
}

void OrbalinOpenGLView::delayedInit() {
    if (inited_)
        return;

    // A view that was never shown has no context; the scene is settled all the same.
    const bool hasContext = isValid();
    if (hasContext) {
        makeCurrent();
        // The interval itself belongs to the surface format, fixed when the context was made.
        swap_enabled = 1;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        gluPerspective(30.0, 4.0 / 3.0, 0.1, 2.0 * camera_.basedist);
        glMatrixMode(GL_MODELVIEW);
    }
    inited_ = true;
    reshape();

    PointPairArray documentScene =
        orbalinDocument_ ? orbalinDocument_->pointPairArray() : PointPairArray();
    if (documentScene) {
        setPointPairArray(std::move(documentScene));
    } else {
        generatePointPairs();
        if (orbalinDocument_)
            orbalinDocument_->setPointPairArray(pointPairArray_);
    }

    startAnimation();
}

void OrbalinOpenGLView::reshape() {
    if (!inited_ || !isValid())
        return;
    makeCurrent();
    const QRect viewport = viewportForSize(QSizeF(size()), devicePixelRatio());
    glViewport(viewport.x(), viewport.y(), viewport.width(), viewport.height());
    update();
}

void OrbalinOpenGLView::generatePointPairs() {
    const int count = static_cast<int>(randomDoubleBetween(10.0, 50.0));
    PointPairs pairs;
    pairs.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        pairs.push_back(GLPointPair::randomPointPair());
    setPointPairArray(std::make_shared<const PointPairs>(std::move(pairs)));
}

void OrbalinOpenGLView::startAnimation() {
    // start() on a running timer stops it first: the new period replaces the old one.
    animationTimer.start();
}

void OrbalinOpenGLView::animate() {
    advanceAngles(camera_);
    calculateCameraPosition();
    animatePointPairs();
    update();
}

void OrbalinOpenGLView::calculateCameraPosition() {
    ::calculateCameraPosition(camera_);
}

void OrbalinOpenGLView::animatePointPairs() {
    if (!pointPairArray_)
        return;
    for (const auto& pair : *pointPairArray_) {
        if (pair)
            pair->animate();
    }
}

void OrbalinOpenGLView::drawRect() {
    if (!inited_)
        delayedInit();

    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-edgeOfUniverse, edgeOfUniverse, -edgeOfUniverse, edgeOfUniverse, -edgeOfUniverse,
            edgeOfUniverse);
    // On the projection matrix: the model-view matrix stays the identity.
    const OrbitCamera& c = camera_;
    gluLookAt(c.px, c.py, c.pz, c.px + c.fx, c.py + c.fy, c.pz + c.fz, c.ux, c.uy, c.uz);
    glMatrixMode(GL_MODELVIEW);
    glBegin(GL_LINES);
    if (pointPairArray_) {
        for (const auto& pair : *pointPairArray_) {
            if (pair)
                pair->render();
        }
    }
    glEnd();
}

void OrbalinOpenGLView::paintGL() {
    drawRect();
}

void OrbalinOpenGLView::resizeGL(int, int) {
    reshape();
}
