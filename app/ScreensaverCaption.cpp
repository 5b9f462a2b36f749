#include "ScreensaverCaption.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace {

constexpr int margin = 6;
// Wider than this, a line is hard to take in at a glance.
constexpr int widestLine = 640;

} // namespace

ScreensaverCaption::ScreensaverCaption(QWindow* parent, Corner corner, const QString& widest)
    : QRasterWindow(parent)
    , corner_(corner)
    , widest_(widest) {
    setFlags(Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
}

void ScreensaverCaption::setText(const QString& text) {
    text_ = text;
    update();
}

void ScreensaverCaption::place(const QSize& hostSize) {
    const QFontMetrics metrics(QGuiApplication::font());
    const int lineWidth = std::clamp(hostSize.width() - 2 * margin, 1, widestLine);
    const QRect text = metrics.boundingRect(QRect(0, 0, lineWidth, INT_MAX), Qt::TextWordWrap,
                                            widest_.isEmpty() ? text_ : widest_);
    resize(text.width() + 2 * margin, text.height() + 2 * margin);
    setPosition(0, corner_ == Corner::TopLeft ? 0 : hostSize.height() - height());
    raise();
}

void ScreensaverCaption::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(0, 0), size()), Qt::black);
    painter.setPen(Qt::white);
    painter.drawText(QRect(QPoint(0, 0), size()).adjusted(margin, margin, -margin, -margin),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text_);
}
