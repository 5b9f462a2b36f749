#pragma once

#include <QDeadlineTimer>
#include <QHash>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QTimer>

class QWidget;

// Where a new document window goes: it takes the last normal size the user gave a document
// window (remembered across runs; never that of a maximised or full screen one), within the
// screen's available area, and sits one step down and to the right of the window it was made
// from, back at the area's top left when the next step would not fit, so that every window is
// whole on screen and no two cover each other exactly.
class WindowPlacement : public QObject {
    Q_OBJECT

  public:
    explicit WindowPlacement(QString settingsKey = QStringLiteral("DocumentWindow/size"),
                             QObject* parent = nullptr);

    // Sizes and places a window that is about to be shown for the first time, then follows its
    // size. `from` is the window it cascades from (none: the window system decides where);
    // `others` are the windows it must not cover exactly.
    void place(QWidget* window, const QWidget* from, const QList<QWidget*>& others);

    QSize lastSize() const { return lastSize_; }
    // How far each window steps from the one before.
    static QPoint cascadeStep();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void sizeGiven(QWidget* window);
    void stateChanged(QWidget* window, Qt::WindowStates oldState);
    bool isSettling(const QWidget* window) const;
    void keepPendingSize();

    QString settingsKey_;
    QSize lastSize_;
    // The window whose new normal size is kept once resizing has paused.
    QPointer<QWidget> pending_;
    QTimer pause_;
    // Until when each window's size follows a change of state rather than the user.
    QHash<const QObject*, QDeadlineTimer> settling_;
};

// The window frame's extent around a top-level widget's content, as the window system draws
// it; a typical frame for a window not yet shown.
QMargins frameMarginsOf(const QWidget* window);
