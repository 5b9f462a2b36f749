#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

class QWidget;

// Where a new document window goes: it takes the size of the last document window the user
// resized (remembered across runs), and sits one step down and to the right of the window it
// was made from, so that no two windows ever cover each other exactly.
class WindowPlacement : public QObject {
    Q_OBJECT

  public:
    explicit WindowPlacement(QString settingsKey = QStringLiteral("DocumentWindow/size"),
                             QObject* parent = nullptr);

    // Sizes and places a window that is about to be shown for the first time, then follows its
    // size. `from` is the window it cascades from (none: the window system decides);
    // `others` are the windows it must not cover exactly.
    void place(QWidget* window, const QWidget* from, const QList<QWidget*>& others);

    QSize lastSize() const { return lastSize_; }
    // How far each window steps from the one before.
    static QPoint cascadeStep();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString settingsKey_;
    QSize lastSize_;
};
