#pragma once

#include "SceneCommands.h"
#include "framework/Document.h"
#include "framework/DocumentController.h"
#include "view/OrbalinOpenGLView.h"
#include "view/SceneDocument.h"

#include <QPointer>

#include <memory>

// A scene document: it owns the scene (shared with its window's view, never copied) and turns
// it into a keyed archive and back. The view of a new document makes the scene on its first
// draw and hands it over; a document read from a file has its scene before its window exists.
class OrbalinDocument : public Document, public SceneDocument {
    Q_OBJECT

  public:
    OrbalinDocument();
    ~OrbalinDocument() override;

    // The scene file: its type's name, its extension and the largest file that is read.
    static DocumentController::DocumentType sceneFileType();
    // Reads a scene file as a window's Open does, for a program that shows no document window;
    // stops, failing as cancelled, once `task` is cancelled.
    static Result<std::unique_ptr<OrbalinDocument>> readSceneFile(const QString& path,
                                                                  BackgroundTask* task = nullptr);

    QString windowNibName() const override { return QStringLiteral("OrbalinDocument"); }
    // Loads the "OrbalinDocument" window description and wires its view to this document.
    DocumentCommands loadWindowDescription(DocumentWindow* window) override;
    void windowControllerDidLoadNib(DocumentWindow* window) override;

    // The keyed archive of the scene. Refused while there is no scene yet (the view has never
    // drawn): such a file could never be opened again.
    Result<QByteArray> dataRepresentationOfType(const QString& type) const override;
    // Archives the scene as it is now, on whatever thread runs it: the scene never changes.
    DataEncoder dataEncoderOfType(const QString& type) const override;
    Result<void> loadDataRepresentation(const QByteArray& data, const QString& type,
                                        BackgroundTask* task = nullptr) override;

    PointPairArray pointPairArray() const override { return pointPairArray_; }
    void setPointPairArray(PointPairArray array) override;

    // The scene view of the document's window; null until the window is loaded.
    OrbalinOpenGLView* orbalinOpenGLView() const { return orbalinOpenGLView_; }

  private:
    QPointer<OrbalinOpenGLView> orbalinOpenGLView_;
    // The description's commands on the view, wired once the window is in place.
    SceneCommands::Actions sceneActions_;
    PointPairArray pointPairArray_;
};
