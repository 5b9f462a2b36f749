#include "ExposureGate.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

ExposureGate::ExposureGate(QWidget* gated)
    : QObject(gated->parentWidget())
    , gated_(gated)
    , parent_(gated->parentWidget()) {
    gated_->hide();
    parent_->installEventFilter(this);
}

bool ExposureGate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent_) {
        if (event->type() == QEvent::Show) {
            watchTopLevel();
            showIfExposed();
        } else if (event->type() == QEvent::Hide && !event->spontaneous()) {
            // Hidden for real, not minimised: the next show starts from an unexposed window.
            gated_->hide();
        }
    } else if (watched == topLevel_ && event->type() == QEvent::Expose) {
        // Shown before the window handles the expose, so that the window's next frame already
        // places the newly shown surface.
        showIfExposed();
    }
    return QObject::eventFilter(watched, event);
}

void ExposureGate::watchTopLevel() {
    QWindow* topLevel = parent_->window()->windowHandle();
    if (topLevel == topLevel_)
        return;
    if (topLevel_)
        topLevel_->removeEventFilter(this);
    topLevel_ = topLevel;
    if (topLevel_)
        topLevel_->installEventFilter(this);
}

void ExposureGate::showIfExposed() {
    if (gated_->isHidden() && parent_->isVisible() && topLevel_ && topLevel_->isExposed())
        gated_->show();
}
