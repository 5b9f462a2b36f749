#include "ScreensaverFrameRate.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

ScreensaverFrameRate::ScreensaverFrameRate(QWindow* parent)
    : QRasterWindow(parent)
    , text_(tr("– fps")) {
    setFlags(Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    const QFontMetrics metrics(QGuiApplication::font());
    resize(metrics.horizontalAdvance(QStringLiteral("0000.0 fps")) + 12, metrics.height() + 8);
    clock_.start();
}

void ScreensaverFrameRate::frameShown() {
    ++frames_;
    const qint64 elapsed = clock_.elapsed();
    if (elapsed < 1000)
        return;
    text_ = tr("%1 fps").arg(frames_ * 1000.0 / static_cast<double>(elapsed), 0, 'f', 1);
    frames_ = 0;
    clock_.restart();
    update();
}

void ScreensaverFrameRate::place(const QSize& hostSize) {
    setPosition(0, hostSize.height() - height());
    raise();
}

void ScreensaverFrameRate::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(0, 0), size()), Qt::black);
    painter.setPen(Qt::white);
    painter.drawText(QRect(QPoint(0, 0), size()).adjusted(6, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, text_);
}
