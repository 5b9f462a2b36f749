#include "OrbalinOpenGLView.h"

#include "FrameRenderThread.h"
#include "model/Random.h"

#include <GL/gl.h>

namespace {

constexpr int animationIntervalMs = 16;

// On the software renderer a frame's cost is in rasterising its lines, so it grows with the
// pairs times the view's linear size (a segment's pixels grow with the width and the height).
// Mesa's llvmpipe on two cores draws about 900 pairs at 640x480 in 10 ms, well inside one
// 16 ms tick: up to there a frame is drawn in paintGL() as it always was, with no thread and
// no copy, at the cost of a bare OpenGL window. A generated scene (at most 50 pairs) never
// comes near. Past it the frame could hold up the GUI thread, so it is drawn off it.
long long budget = 900LL * (640 + 480);

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
    // renderThread_ goes here without waiting: a frame in flight is finished and thrown away
    // by its thread, which then ends on its own.
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
    emit shownChanged();
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
    emit shownChanged();
}

QImage OrbalinOpenGLView::grabFrame() {
    if (!isValid())
        return QImage();
    makeCurrent();
    if (!inited_)
        delayedInit();
    // Drawing a heavy frame here would hold up the GUI thread for as long as the render thread
    // is spared it; the picture on show is the one asked for.
    const FrameInputs inputs = frameInputs();
    if (drawsOffThread(inputs)) {
        const QImage& frame = renderThread_ ? renderThread_->frameBottomUp() : QImage();
        if (frame.isNull()) {
            QImage black(inputs.devicePixels, QImage::Format_RGBX8888);
            black.fill(Qt::black);
            return black;
        }
        return frame.mirrored(false, true);
    }
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
    // A heavy view hands the new camera straight to its render thread and repaints when the
    // frame is finished, rather than showing the same old picture again on every tick. One
    // that is not on screen draws nothing until it is exposed again, as a paint would.
    if (renderThread_) {
        const FrameInputs inputs = frameInputs();
        if (drawsOffThread(inputs)) {
            if (isExposed())
                requestOffThreadFrame(inputs);
            return;
        }
    }
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

    const FrameInputs inputs = frameInputs();
    if (!drawsOffThread(inputs)) {
        drawFrame(inputs);
        return;
    }
    requestOffThreadFrame(inputs);
    showOffThreadFrame();
}

FrameInputs OrbalinOpenGLView::frameInputs() const {
    return {pictureCamera(), pointPairArray_,
            viewportForSize(QSizeF(size()), devicePixelRatio()).size(), userView_};
}

bool OrbalinOpenGLView::drawsOffThread(const FrameInputs& inputs) const {
    if (offThreadFailed_ || !inputs.scene)
        return false;
    const long long pairs = static_cast<long long>(inputs.scene->size());
    const QSize& size = inputs.devicePixels;
    return pairs * (size.width() + size.height()) > budget;
}

int OrbalinOpenGLView::offThreadFramesFinished() const {
    return renderThread_ ? renderThread_->framesFinished() : 0;
}

long long OrbalinOpenGLView::offThreadBudget() {
    return budget;
}

void OrbalinOpenGLView::setOffThreadBudget(long long newBudget) {
    budget = newBudget;
}

void OrbalinOpenGLView::requestOffThreadFrame(const FrameInputs& inputs) {
    if (!renderThread_) {
        renderThread_ = std::make_unique<FrameRenderThread>();
        connect(renderThread_.get(), &FrameRenderThread::frameReady, this, [this] { update(); });
        // Heavy frames are then drawn here after all: slow, but shown.
        connect(renderThread_.get(), &FrameRenderThread::failed, this,
                [this](const QString& reason) {
                    qWarning("orbalin: heavy frames are drawn without a thread of their own: %s",
                             qUtf8Printable(reason));
                    offThreadFailed_ = true;
                    update();
                });
    }
    // The same inputs again (an expose, or the repaint that shows a finished frame) need no
    // new frame: a paused view would otherwise draw for ever.
    if (inputs == requested_)
        return;
    requested_ = inputs;
    renderThread_->request(inputs);
}

void OrbalinOpenGLView::showOffThreadFrame() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const QImage& frame = renderThread_->frameBottomUp();
    if (frame.isNull())
        return;
    // At the viewport's lower left corner, whatever the matrices were; a frame of an older size
    // is cut, or left with black around it, until the frame of the new size comes.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2i(-1, -1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glDrawPixels(frame.width(), frame.height(), GL_RGBA, GL_UNSIGNED_BYTE, frame.constBits());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

UserView::Time OrbalinOpenGLView::sceneTime() const {
    return UserView::Time(sceneTimeBeforeMs_ + (sceneClock_.isValid() ? sceneClock_.elapsed() : 0));
}

void OrbalinOpenGLView::resetView() {
    userView_.reset();
    update();
    emit shownChanged();
}

void OrbalinOpenGLView::paintGL() {
    drawRect();
}

void OrbalinOpenGLView::resizeGL(int, int) {
    reshape();
}
