#pragma once

#include <QObject>
#include <QPointer>

class DocumentWindow;
class OrbalinOpenGLView;
class QAction;

// The commands of a scene window that act on its view: View ▸ Pause Animation / Resume
// Animation (Space), View ▸ Reset View (Home, also R), File ▸ Export Image… and Edit ▸ Copy,
// which take the frame on show (with whatever the user has done to it).
// Owned by the window.
class SceneCommands : public QObject {
    Q_OBJECT

  public:
    // The window description's actions for these commands, handed over by pointer.
    struct Actions {
        QAction* pauseAnimation = nullptr;
        QAction* resetView = nullptr;
        QAction* exportImage = nullptr;
        QAction* copy = nullptr;
    };

    SceneCommands(DocumentWindow* window, OrbalinOpenGLView* view, const Actions& actions);

    void togglePause();
    void resetView();
    void exportImage();
    void copy();

  private:
    DocumentWindow* window_;
    QPointer<OrbalinOpenGLView> view_;
    QAction* pause_;
};
