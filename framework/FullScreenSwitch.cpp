#include "framework/FullScreenSwitch.h"

#include "framework/DocumentCommands.h"

#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>

FullScreenSwitch::FullScreenSwitch(QMainWindow* window, QAction* toggle)
    : QObject(window)
    , window_(window)
    , toggle_(toggle)
    , leave_(new QAction(tr("Leave Full Screen"), this)) {
    // A hidden menu bar takes its actions' shortcuts with it: the window holds them as well.
    for (QAction* action : window->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly))
        if (!action->isSeparator() && !action->menu())
            window->addAction(action);

    if (prepareCommand(toggle_, "Full Screen", shortcuts())) {
        toggle_->setCheckable(true);
        connect(toggle_, &QAction::triggered, this, &FullScreenSwitch::setFullScreen);
    }
    leave_->setObjectName(QStringLiteral("actionLeaveFullScreen"));
    leave_->setShortcut(QKeySequence(Qt::Key_Escape));
    leave_->setShortcutContext(Qt::WindowShortcut);
    window->addAction(leave_);
    connect(leave_, &QAction::triggered, this, [this] { setFullScreen(false); });

    window->installEventFilter(this);
    follow();
}

QList<QKeySequence> FullScreenSwitch::shortcuts() {
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::FullScreen);
    if (keys.isEmpty())
        keys.append(QKeySequence(Qt::Key_F11));
    return keys;
}

void FullScreenSwitch::setFullScreen(bool on) {
    // Maximised stays as it was underneath, so leaving full screen returns to it.
    const Qt::WindowStates state = window_->windowState();
    window_->setWindowState(on ? (state & ~Qt::WindowMinimized) | Qt::WindowFullScreen
                               : state & ~Qt::WindowFullScreen);
    follow();
}

bool FullScreenSwitch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::WindowStateChange)
        follow();
    return QObject::eventFilter(watched, event);
}

void FullScreenSwitch::follow() {
    const bool on = window_->isFullScreen();
    // menuWidget(), unlike menuBar(), never makes a menu bar that was not there.
    if (QWidget* menuBar = window_->menuWidget()) {
        // A menu bar left in keyboard navigation would otherwise take the first Esc.
        if (on && menuBar->hasFocus())
            menuBar->clearFocus();
        menuBar->setVisible(!on);
    }
    if (toggle_)
        toggle_->setChecked(on);
    leave_->setEnabled(on);
}
