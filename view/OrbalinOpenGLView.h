#pragma once

#include "OrbitCamera.h"
#include "SceneDocument.h"
#include "SceneFrame.h"
#include "UserView.h"
#include "model/GLPointPair.h"

#include <QElapsedTimer>
#include <QImage>
#include <QOpenGLWindow>
#include <QRect>
#include <QSizeF>
#include <QSurfaceFormat>
#include <QTimer>

#include <memory>

class FrameRenderThread;

// The OpenGL view of one document window: it shows the document's scene through an orbiting
// camera, animated by a 16 ms timer. It is a window surface of its own (the document window
// hosts it in a container), drawn with fixed-function OpenGL in a compatibility context.
//
// The user can take the picture in hand (see UserView): left-drag turns it, middle-drag or
// Shift+left-drag pans it, the wheel, a pinch and +/- zoom it, the arrow keys turn it in steps,
// Home and R reset it. A click that does not drag does nothing.
//
// Nothing touches OpenGL until the first frame: that frame runs delayedInit(), which sets up
// the context, settles the scene with the document and starts the animation.
//
// Frames are drawn in paintGL(), on the GUI thread, unless they are heavy (see
// drawsOffThread()): those are drawn on a render thread of the view's own, and paintGL() only
// shows the latest one finished. Ticks stay on the GUI thread either way.
class OrbalinOpenGLView : public QOpenGLWindow {
    Q_OBJECT

  public:
    // A view with the default surface format (see defaultFormat()).
    explicit OrbalinOpenGLView(const QRect& frame = QRect());
    // Picks the camera's random parameters: thirteen draws from the random source.
    OrbalinOpenGLView(const QRect& frame, const QSurfaceFormat& pixelFormat);
    // The timer is a member, so it stops here: no tick can reach a destroyed view.
    ~OrbalinOpenGLView() override;

    OrbalinOpenGLView(const OrbalinOpenGLView&) = delete;
    OrbalinOpenGLView& operator=(const OrbalinOpenGLView&) = delete;

    // Compatibility profile, double buffered, with a depth buffer, each swap waiting for the
    // display's refresh.
    static QSurfaceFormat defaultFormat();
    // The viewport for a view of the given logical size: the whole view in device pixels,
    // each side truncated.
    static QRect viewportForSize(const QSizeF& size, qreal devicePixelRatio);

    // The document whose scene this view shows. Not owned; may be null, in which case the
    // view makes and keeps a scene of its own.
    void setOrbalinDocument(SceneDocument* document) { orbalinDocument_ = document; }
    SceneDocument* orbalinDocument() const { return orbalinDocument_; }

    PointPairArray pointPairArray() const { return pointPairArray_; }
    // Shares the array; never copies it.
    void setPointPairArray(PointPairArray array);

    bool inited() const { return inited_; }
    int swapEnabled() const { return swap_enabled; }
    bool isAnimating() const { return animationTimer.isActive(); }

    // A paused view has no timer running, so it takes no processor time while nothing changes;
    // it still draws its current frame when exposed or resized. Resuming carries on from the
    // same camera and scene. A view paused before its first frame still sets itself up on that
    // frame, but starts no timer until resumed.
    void setPaused(bool paused);
    bool isPaused() const { return paused_; }

    // What the user has done to the picture, and the camera that the picture shows now.
    const UserView& userView() const { return userView_; }
    OrbitCamera pictureCamera() const { return userView_.pictureCamera(camera_, sceneTime()); }
    // Back to the camera alone, at once: no turn, zoom or pan, the orbit live.
    void resetView();
    // One step in or out about the window's centre, as a wheel notch or the + and - keys; the
    // orbit is held as for any other gesture.
    void zoomIn();
    void zoomOut();
    // Time that runs while the view is not paused; the orbit's hold and return run on it, so
    // a paused view keeps its picture exactly as the user left it.
    UserView::Time sceneTime() const;

    // The current frame, drawn afresh at the view's size in device pixels; a null image while
    // the view has no context (it has never been shown). A view whose frames are drawn off the
    // GUI thread gives the frame on show: the latest one finished (black before the first).
    QImage grabFrame();

    // What the next frame shows: the camera, the scene, the viewport's size.
    FrameInputs frameInputs() const;
    // Whether a frame of these inputs is drawn on the render thread rather than in paintGL().
    bool drawsOffThread(const FrameInputs& inputs) const;
    // Frames the render thread has finished and handed over; 0 while it has none.
    int offThreadFramesFinished() const;
    // The budget of drawsOffThread(), in pairs times device pixels of width plus height.
    static long long offThreadBudget();

    // The camera; tests and benchmarks may set it directly.
    const OrbitCamera& camera() const { return camera_; }
    OrbitCamera& camera() { return camera_; }

    // One-time set-up with the context current; returns at once after the first call.
    void delayedInit();
    // Follows the view's size with the viewport; ignored until inited.
    void reshape();
    // A new random scene of 10 to 50 pairs (50 only for the largest raw draw).
    void generatePointPairs();
    // Starts (or restarts) the repeating 16 ms tick.
    void startAnimation();
    // One tick: advance the angles, rebuild the camera, step every pair, ask for a frame.
    // Virtual so that tests can watch which views receive ticks.
    virtual void animate();
    void calculateCameraPosition();
    void animatePointPairs();

    // One frame, with the context current (the first one also runs delayedInit). The buffer
    // swap that shows it follows paintGL().
    void drawRect();

  signals:
    // A right click at `at` (global), or the Menu key (at the view's centre): whoever hosts the
    // view offers its commands there.
    void contextMenuRequested(const QPoint& at);
    // What the view shows has changed in a way that words can say: its scene, paused or
    // moving, turned, zoomed or moved by the user or not.
    void shownChanged();

  protected:
    void paintGL() override;
    void resizeGL(int w, int h) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Tests reach the timer and the budget through it (tests/support/ViewTestAccess.h).
    friend struct OrbalinOpenGLViewTestAccess;
    static void setOffThreadBudget(long long budget);

    // Hands the inputs to the render thread (made on first use) unless it has them already.
    void requestOffThreadFrame(const FrameInputs& inputs);
    // The render thread's latest frame, or black before the first.
    void showOffThreadFrame();

    SceneDocument* orbalinDocument_ = nullptr;
    bool inited_ = false;
    bool paused_ = false;
    int swap_enabled = 0;
    QTimer animationTimer;
    PointPairArray pointPairArray_;
    OrbitCamera camera_;
    // Made for the first heavy frame; goes with the view without waiting for its thread.
    std::unique_ptr<FrameRenderThread> renderThread_;
    FrameInputs requested_;
    bool offThreadFailed_ = false;

    // A turn, zoom or step that happened now: the picture changes and the orbit is held.
    void userMoved();
    void endDrag();

    enum class Drag { None, Turn, Pan };
    UserView userView_;
    QElapsedTimer sceneClock_;
    qint64 sceneTimeBeforeMs_ = 0; // run before the clock was last started
    // The button of a press in this view, whether it has become a drag, and where the pointer
    // was; moves with no press of ours (a drag that began on the menu bar) are ignored.
    Qt::MouseButton dragButton_ = Qt::NoButton;
    bool panning_ = false;
    Drag drag_ = Drag::None;
    QPointF pressedAt_;
    QPointF lastAt_;
};
