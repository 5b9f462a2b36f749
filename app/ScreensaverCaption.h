#pragma once

#include <QRasterWindow>
#include <QString>

// A few words in a box in a corner of the screen saver, over the scene: a window of its own, so
// that the scene's drawing stays exactly what a document window draws.
class ScreensaverCaption : public QRasterWindow {
    Q_OBJECT

  public:
    enum class Corner { TopLeft, BottomLeft };

    // The box is as wide as `widest` (or as the text, when that is empty) allows, and never
    // wider than the host: longer words wrap.
    ScreensaverCaption(QWindow* parent, Corner corner, const QString& widest = {});

    void setText(const QString& text);
    const QString& text() const { return text_; }
    // Keeps the box in its corner of a host of that size, above the scene.
    void place(const QSize& hostSize);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Corner corner_;
    QString widest_;
    QString text_;
};
