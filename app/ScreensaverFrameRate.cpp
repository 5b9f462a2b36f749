#include "ScreensaverFrameRate.h"

ScreensaverFrameRate::ScreensaverFrameRate(QWindow* parent)
    : ScreensaverCaption(parent, Corner::BottomLeft, QStringLiteral("0000.0 fps")) {
    setText(tr("– fps"));
    clock_.start();
}

void ScreensaverFrameRate::frameShown() {
    ++frames_;
    const qint64 elapsed = clock_.elapsed();
    if (elapsed < 1000)
        return;
    setText(tr("%1 fps").arg(frames_ * 1000.0 / static_cast<double>(elapsed), 0, 'f', 1));
    frames_ = 0;
    clock_.restart();
}
