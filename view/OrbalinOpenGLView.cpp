#include "OrbalinOpenGLView.h"

#include "model/Random.h"

#include <GL/gl.h>

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
    sceneClock_.start();
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
        setUpSceneContext(camera_);
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

    if (!paused_)
        startAnimation();
}

void OrbalinOpenGLView::setPaused(bool paused) {
    if (paused && sceneClock_.isValid()) {
        sceneTimeBeforeMs_ += sceneClock_.elapsed();
        sceneClock_.invalidate();
    } else if (!paused && !sceneClock_.isValid()) {
        sceneClock_.start();
    }
    paused_ = paused;
    if (paused)
        animationTimer.stop();
    else if (inited_ && !animationTimer.isActive())
        startAnimation();
}

QImage OrbalinOpenGLView::grabFrame() {
    if (!isValid())
        return QImage();
    makeCurrent();
    // Outside paintGL() the back buffer holds nothing reliable (it may have been swapped), so
    // the frame is drawn into it again, read back, and left for the next paint to replace.
    drawRect();
    return grabFramebuffer();
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
    animateScene(camera_, pointPairArray_.get());
    update();
}

void OrbalinOpenGLView::calculateCameraPosition() {
    ::calculateCameraPosition(camera_);
}

void OrbalinOpenGLView::animatePointPairs() {
    ::animatePointPairs(pointPairArray_.get());
}

void OrbalinOpenGLView::drawRect() {
    if (!inited_)
        delayedInit();

    drawSceneFrame(pictureCamera(), pointPairArray_.get(), userView_);
}

UserView::Time OrbalinOpenGLView::sceneTime() const {
    return UserView::Time(sceneTimeBeforeMs_ + (sceneClock_.isValid() ? sceneClock_.elapsed() : 0));
}

void OrbalinOpenGLView::resetView() {
    userView_.reset();
    update();
}

void OrbalinOpenGLView::paintGL() {
    drawRect();
}

void OrbalinOpenGLView::resizeGL(int, int) {
    reshape();
}
