#pragma once

#include <QObject>
#include <QPointer>

class DocumentWindow;
class OrbalinOpenGLView;
class QAction;

// The commands of a scene window that act on its view: View ▸ Pause Animation / Resume
// Animation (Space), View ▸ Zoom In (Ctrl++, also Ctrl+=), Zoom Out (Ctrl+-) and Reset View
// (Home, also R and Ctrl+0), File ▸ Export Image… and Edit ▸ Copy, which take the frame on
// show (with whatever the user has done to it), File ▸ Export Animation…, which records the
// scene from there on, and Help ▸ Keyboard Shortcuts. A right click
// on the scene, or the Menu key, offers the scene's commands in a menu of their own, the only
// menu there is in full screen.
// Owned by the window.
class SceneCommands : public QObject {
    Q_OBJECT

  public:
    // The window description's actions for these commands, handed over by pointer.
    struct Actions {
        QAction* pauseAnimation = nullptr;
        QAction* zoomIn = nullptr;
        QAction* zoomOut = nullptr;
        QAction* resetView = nullptr;
        QAction* exportImage = nullptr;
        QAction* exportAnimation = nullptr;
        QAction* copy = nullptr;
        QAction* keyboardShortcuts = nullptr;
        QAction* fullScreen = nullptr; // wired by the document controller; offered here
    };

    SceneCommands(DocumentWindow* window, OrbalinOpenGLView* view, const Actions& actions);

    void togglePause();
    void resetView();
    void exportImage();
    void exportAnimation();
    void copy();
    // The scene's menu, at `at` (global).
    void showContextMenu(const QPoint& at);

  private:
    DocumentWindow* window_;
    QPointer<OrbalinOpenGLView> view_;
    Actions actions_;
};
