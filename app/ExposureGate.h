#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

// Keeps a widget hidden until the top-level window it sits in is exposed, and hides it again
// whenever its parent is hidden, so that it is only ever shown into a window already on screen.
// Owned by the widget's parent.
class ExposureGate : public QObject {
    Q_OBJECT

  public:
    explicit ExposureGate(QWidget* gated);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void watchTopLevel();
    void showIfExposed();

    QWidget* gated_;
    QWidget* parent_;
    QPointer<QWindow> topLevel_;
};
