#include "framework/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QWidget>

#include <algorithm>

WindowPlacement::WindowPlacement(QString settingsKey, QObject* parent)
    : QObject(parent)
    , settingsKey_(std::move(settingsKey))
    , lastSize_(QSettings().value(settingsKey_).toSize()) {}

QPoint WindowPlacement::cascadeStep() {
    // About a title bar's height: enough to show the title of the window underneath.
    const int step = std::max(24, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
    return QPoint(step, step);
}

void WindowPlacement::place(QWidget* window, const QWidget* from, const QList<QWidget*>& others) {
    if (lastSize_.isValid())
        window->resize(lastSize_.expandedTo(window->minimumSizeHint()));
    if (from) {
        const QScreen* screen = from->screen() ? from->screen() : QApplication::primaryScreen();
        const QRect area = screen->availableGeometry();
        const QSize size = window->size().boundedTo(area.size());
        const QPoint step = cascadeStep();
        const auto fits = [&](const QPoint& at) { return area.contains(QRect(at, size)); };
        const auto taken = [&](const QPoint& at) {
            return std::any_of(others.begin(), others.end(), [&](const QWidget* other) {
                return other != window && other->isVisible() && other->pos() == at;
            });
        };
        // One step on from the window it was made from; past the screen's bottom or right
        // edge, back to the top left (a little further right on each round).
        QPoint at = from->pos() + step;
        int rounds = 0;
        for (int tries = 0; tries < 100 && (!fits(at) || taken(at)); ++tries)
            at = fits(at) ? at + step : area.topLeft() + QPoint(step.x() / 4 * rounds++, 0);
        window->move(at);
    }
    window->installEventFilter(this);
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    // Sizes that the window system or the user give a shown window in its normal state; those
    // of full screen and maximised windows are not the user's choice of size.
    if (event->type() == QEvent::Resize) {
        auto* window = static_cast<QWidget*>(watched);
        if (window->isVisible() && window->windowState() == Qt::WindowNoState &&
            window->size() != lastSize_) {
            lastSize_ = window->size();
            QSettings().setValue(settingsKey_, lastSize_);
        }
    }
    return QObject::eventFilter(watched, event);
}
