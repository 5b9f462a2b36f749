#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;
class QMainWindow;

// Full screen for a main window. The window's action `toggle` (made checkable) switches it
// on and off (with the platform's key, or F11 where the platform has none), Esc also leaves
// it, and the menu bar hides while it lasts so that the content fills the screen. The switch
// follows the window's state, however it changes. Owned by the window.
class FullScreenSwitch : public QObject {
    Q_OBJECT

  public:
    FullScreenSwitch(QMainWindow* window, QAction* toggle);

    static QList<QKeySequence> shortcuts();
    void setFullScreen(bool on);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void follow();

    QMainWindow* window_;
    QAction* toggle_;
    QAction* leave_;
};
