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
    SceneCommands(DocumentWindow* window, OrbalinOpenGLView* view);

    void togglePause();
    void resetView();
    void exportImage();
    void copy();

  private:
    DocumentWindow* window_;
    QPointer<OrbalinOpenGLView> view_;
    QAction* pause_;
};
