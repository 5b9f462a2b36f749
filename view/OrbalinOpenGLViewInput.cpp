// The scene view's pointer, wheel, gesture and key handling: how the user turns, zooms and
// pans the picture.
#include "OrbalinOpenGLView.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QStyleHints>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// One notch of an ordinary wheel (120 eighths of a degree); finer wheels and touchpads send
// parts of it, and zoom by the same part.
constexpr double zoomPerNotch = 1.2;
constexpr double eighthsPerNotch = 120.0;
constexpr double keyTurnStep = 3.141592653589793 / 36; // five degrees

} // namespace

void OrbalinOpenGLView::userMoved() {
    if (drag_ == Drag::None)
        userView_.touch(camera_, sceneTime());
    update();
    emit shownChanged();
}

void OrbalinOpenGLView::endDrag() {
    if (drag_ != Drag::None) {
        userView_.release(sceneTime());
        unsetCursor();
    }
    dragButton_ = Qt::NoButton;
    drag_ = Drag::None;
}

void OrbalinOpenGLView::zoomIn() {
    userView_.zoomBy(zoomPerNotch);
    userMoved();
}

void OrbalinOpenGLView::zoomOut() {
    userView_.zoomBy(1.0 / zoomPerNotch);
    userMoved();
}

void OrbalinOpenGLView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    // The view is a window of its own inside the document window: a press in it takes the
    // keyboard there (once focus has gone to the menu bar it would not come back by itself),
    // so that the keys that turn and zoom reach it.
    if (QGuiApplication::focusWindow() != this)
        requestActivate();
    if (dragButton_ != Qt::NoButton)
        return; // a second button during a drag changes nothing
    if (event->button() == Qt::RightButton) {
        emit contextMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton && event->button() != Qt::MiddleButton)
        return;
    dragButton_ = event->button();
    // Shift+left-drag pans as a middle-drag does; what the drag does is settled here.
    panning_ = dragButton_ == Qt::MiddleButton || (event->modifiers() & Qt::ShiftModifier);
    pressedAt_ = lastAt_ = event->position();
}

void OrbalinOpenGLView::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (dragButton_ == Qt::NoButton)
        return;
    if (!(event->buttons() & dragButton_)) {
        endDrag(); // the release went elsewhere
        return;
    }
    const QPointF at = event->position();
    if (drag_ == Drag::None) {
        // A click, even one whose pointer trembles, is not a drag.
        if ((at - pressedAt_).manhattanLength() <
            QGuiApplication::styleHints()->startDragDistance())
            return;
        drag_ = panning_ ? Drag::Pan : Drag::Turn;
        userView_.hold(camera_, sceneTime());
        setCursor(Qt::ClosedHandCursor);
    }
    const QPointF delta = at - lastAt_;
    lastAt_ = at;
    if (drag_ == Drag::Turn) {
        userView_.turnByDrag(delta.x(), delta.y(), std::min(width(), height()));
    } else if (width() > 0 && height() > 0) {
        // The scene follows the pointer.
        userView_.panBy(2.0 * delta.x() / width(), -2.0 * delta.y() / height());
    }
    update();
}

void OrbalinOpenGLView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == dragButton_)
        endDrag();
}

void OrbalinOpenGLView::wheelEvent(QWheelEvent* event) {
    event->accept();
    // Eighths of a degree where the device tells them; a touchpad that gives only pixels
    // zooms by as many pixels as a notch has eighths.
    const double steps =
        !event->angleDelta().isNull() ? event->angleDelta().y() : event->pixelDelta().y();
    if (steps == 0)
        return;
    // However wild the device, one event zooms at most from one bound to the other.
    const double notches = std::clamp(steps / eighthsPerNotch, -50.0, 50.0);
    userView_.zoomBy(std::pow(zoomPerNotch, notches));
    userMoved();
}

void OrbalinOpenGLView::keyPressEvent(QKeyEvent* event) {
    // Shift gives + on many keyboards, the keypad its own flag: only other modifiers make a
    // key something else.
    const Qt::KeyboardModifiers other =
        event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (other != Qt::NoModifier) {
        QOpenGLWindow::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        userView_.turn(-keyTurnStep, 0);
        break;
    case Qt::Key_Right:
        userView_.turn(keyTurnStep, 0);
        break;
    case Qt::Key_Up:
        userView_.turn(0, -keyTurnStep);
        break;
    case Qt::Key_Down:
        userView_.turn(0, keyTurnStep);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        event->accept();
        return;
    case Qt::Key_Minus:
        zoomOut();
        event->accept();
        return;
    case Qt::Key_Home:
    case Qt::Key_R:
        resetView();
        event->accept();
        return;
    case Qt::Key_Menu:
        emit contextMenuRequested(mapToGlobal(QPoint(width() / 2, height() / 2)));
        event->accept();
        return;
    default:
        QOpenGLWindow::keyPressEvent(event);
        return;
    }
    event->accept();
    userMoved();
}

bool OrbalinOpenGLView::event(QEvent* event) {
    if (event->type() == QEvent::NativeGesture) {
        const auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            // The change of scale since the last event of the pinch.
            userView_.zoomBy(1.0 + gesture->value());
            userMoved();
        }
        event->accept();
        return true;
    }
    if (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide)
        endDrag(); // a release that will never come here
    return QOpenGLWindow::event(event);
}
