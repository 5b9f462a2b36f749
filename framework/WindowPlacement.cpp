#include "framework/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QWidget>
#include <QWindowStateChangeEvent>

#include <algorithm>

namespace {

// The states whose size the window system sets, not the user.
constexpr Qt::WindowStates notNormal =
    Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized;
// After a change of state the window system may go on resizing the window for a moment (on
// leaving full screen, first to the maximised size): those sizes are not the user's.
constexpr int settleMs = 1000;
// A resize is kept once it has paused this long, when a drag or the window system is done.
constexpr int pauseMs = 300;

int titleBarHeight() {
    return std::max(24, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
}

} // namespace

QMargins frameMarginsOf(const QWidget* window) {
    if (window && window->isVisible()) {
        const QRect inner = window->geometry();
        const QRect outer = window->frameGeometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    // Before the window system has framed a window: a title bar and thin borders.
    constexpr int border = 4;
    return QMargins(border, titleBarHeight() + border, border, border);
}

WindowPlacement::WindowPlacement(QString settingsKey, QObject* parent)
    : QObject(parent)
    , settingsKey_(std::move(settingsKey))
    , lastSize_(QSettings().value(settingsKey_).toSize()) {
    pause_.setSingleShot(true);
    pause_.setInterval(pauseMs);
    connect(&pause_, &QTimer::timeout, this, &WindowPlacement::keepPendingSize);
}

QPoint WindowPlacement::cascadeStep() {
    // About a title bar's height: enough to show the title of the window underneath.
    const int step = titleBarHeight();
    return QPoint(step, step);
}

void WindowPlacement::place(QWidget* window, const QWidget* from, const QList<QWidget*>& others) {
    keepPendingSize();
    const QScreen* screen = from && from->screen() ? from->screen() : window->screen();
    if (!screen)
        screen = QApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    const QWidget* framed = from;
    for (const QWidget* other : others)
        if (!framed && other->isVisible())
            framed = other;
    const QMargins frame = frameMarginsOf(framed);
    // Whole on screen, frame and all, whatever size was remembered (on another screen, say).
    const QSize size = (lastSize_.isValid() ? lastSize_ : window->size())
                           .expandedTo(window->minimumSizeHint())
                           .boundedTo(area.size().shrunkBy(frame));
    window->resize(size);
    if (from) {
        const QSize outer = size.grownBy(frame);
        const QPoint step = cascadeStep();
        const auto fits = [&](const QPoint& at) { return area.contains(QRect(at, outer)); };
        const auto taken = [&](const QPoint& at) {
            return std::any_of(others.begin(), others.end(), [&](const QWidget* other) {
                return other != window && other->isVisible() && other->pos() == at;
            });
        };
        // One step on from the window it was made from; past the area's bottom or right edge,
        // back to its top left, a little further right on each round while that still fits.
        const int shift = std::max(1, step.x() / 4);
        const int rounds = std::max(1, (area.width() - outer.width()) / shift + 1);
        QPoint at = from->pos() + step;
        int round = 0;
        for (int tries = 0; tries < 100 && (!fits(at) || taken(at)); ++tries)
            at = fits(at) ? at + step : area.topLeft() + QPoint(shift * (round++ % rounds), 0);
        // Every place taken: whole on screen still comes first.
        at.setX(std::clamp(at.x(), area.left(), area.right() + 1 - outer.width()));
        at.setY(std::clamp(at.y(), area.top(), area.bottom() + 1 - outer.height()));
        window->move(at);
    }
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this](QObject* gone) { settling_.remove(gone); });
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    auto* window = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Resize:
        sizeGiven(window);
        break;
    case QEvent::WindowStateChange:
        stateChanged(window, static_cast<QWindowStateChangeEvent*>(event)->oldState());
        break;
    case QEvent::Close:
        // Quit right after a resize still keeps it.
        if (window == pending_)
            keepPendingSize();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void WindowPlacement::sizeGiven(QWidget* window) {
    // Only sizes of a shown window in its normal state, and not while the window system is
    // still settling a change of state, are the user's choice of size.
    if (!window->isVisible() || (window->windowState() & notNormal) || isSettling(window))
        return;
    pending_ = window;
    pause_.start();
}

void WindowPlacement::stateChanged(QWidget* window, Qt::WindowStates oldState) {
    if ((oldState & notNormal) == (window->windowState() & notNormal))
        return;
    if (window == pending_)
        pending_ = nullptr;
    settling_.insert(window, QDeadlineTimer(settleMs));
}

bool WindowPlacement::isSettling(const QWidget* window) const {
    const auto found = settling_.constFind(window);
    return found != settling_.cend() && !found->hasExpired();
}

void WindowPlacement::keepPendingSize() {
    pause_.stop();
    QWidget* window = pending_;
    pending_ = nullptr;
    if (!window || (window->windowState() & notNormal) || isSettling(window))
        return;
    // A window that fills the whole available area is maximised in all but name (some window
    // systems report no state for it): that is not a size to open new windows at.
    const QScreen* screen = window->screen();
    if (screen && window->frameGeometry().size().expandedTo(screen->availableSize()) ==
                      window->frameGeometry().size())
        return;
    if (window->size() == lastSize_)
        return;
    lastSize_ = window->size();
    QSettings().setValue(settingsKey_, lastSize_);
}
