#pragma once

#include "ScreensaverCaption.h"

#include <QElapsedTimer>

// The frame rate in a small box in the bottom left corner of the screen saver (--fps).
class ScreensaverFrameRate : public ScreensaverCaption {
    Q_OBJECT

  public:
    explicit ScreensaverFrameRate(QWindow* parent);

    // Counts one frame shown; the figure changes about once a second.
    void frameShown();

  private:
    QElapsedTimer clock_;
    int frames_ = 0;
};
