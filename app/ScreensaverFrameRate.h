#pragma once

#include <QElapsedTimer>
#include <QRasterWindow>
#include <QString>

// The frame rate in a small box in a corner of the screen saver (--fps): a window of its own
// over the scene's, so that the scene's drawing stays exactly what a document window draws.
class ScreensaverFrameRate : public QRasterWindow {
    Q_OBJECT

  public:
    explicit ScreensaverFrameRate(QWindow* parent);

    // Counts one frame shown; the figure changes about once a second.
    void frameShown();
    // Keeps the box in the bottom left corner of a host of that size, above the scene.
    void place(const QSize& hostSize);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QElapsedTimer clock_;
    int frames_ = 0;
    QString text_;
};
