#include "OrbalinDocument.h"

#include "SceneViewHost.h"
#include "framework/DocumentWindow.h"
#include "model/KeyedArchiver.h"
#include "model/KeyedUnarchiver.h"
#include "ui_OrbalinDocument.h"
#include "view/OrbalinOpenGLView.h"

OrbalinDocument::OrbalinDocument() = default;

DocumentController::DocumentType OrbalinDocument::sceneFileType() {
    return {QStringLiteral("Orbalin Scene"), QStringLiteral("orbalin"), maximumSceneFileSize,
            tr("Orbalin Scene")};
}

Result<std::unique_ptr<OrbalinDocument>> OrbalinDocument::readSceneFile(const QString& path,
                                                                        BackgroundTask* task) {
    const DocumentController::DocumentType type = sceneFileType();
    auto document = std::make_unique<OrbalinDocument>();
    if (const Result<void> read =
            document->readFromFile(path, type.name, type.maximumFileSize, task);
        !read)
        return read.failure();
    return document;
}

OrbalinDocument::~OrbalinDocument() {
    // The view refers back to this document: it goes first.
    if (orbalinOpenGLView_)
        orbalinOpenGLView_->setOrbalinDocument(nullptr);
    deleteWindow();
}

DocumentCommands OrbalinDocument::loadWindowDescription(DocumentWindow* window) {
    Ui::OrbalinDocument description;
    description.setupUi(window);
    orbalinOpenGLView_ = description.orbalinOpenGLView->view();
    orbalinOpenGLView_->setOrbalinDocument(this);
    sceneActions_ = {.pauseAnimation = description.actionPauseAnimation,
                     .zoomIn = description.actionZoomIn,
                     .zoomOut = description.actionZoomOut,
                     .resetView = description.actionResetView,
                     .exportImage = description.actionExportImage,
                     .exportAnimation = description.actionExportAnimation,
                     .copy = description.actionCopy,
                     .keyboardShortcuts = description.actionKeyboardShortcuts,
                     .fullScreen = description.actionFullScreen};
    return {.newDocument = description.actionNew,
            .open = description.actionOpen,
            .openRecent = description.menuOpenRecent,
            .save = description.actionSave,
            .saveAs = description.actionSaveAs,
            .close = description.actionClose,
            .quit = description.actionQuit,
            .about = description.actionAbout,
            .fullScreen = description.actionFullScreen};
}

void OrbalinDocument::windowControllerDidLoadNib(DocumentWindow* window) {
    Document::windowControllerDidLoadNib(window);
    new SceneCommands(window, orbalinOpenGLView_, sceneActions_);
}

namespace {

Result<QByteArray> archived(const PointPairArray& scene, BackgroundTask* task = nullptr) {
    if (!scene)
        return Failure::because(OrbalinDocument::tr(
            "its scene is not on show yet, so there is nothing to save: save again once its "
            "window shows the scene. Nothing was written"));
    return KeyedArchiver::archive(*scene, task);
}

} // namespace

Result<QByteArray> OrbalinDocument::dataRepresentationOfType(const QString& /*type*/) const {
    return archived(pointPairArray_);
}

Document::DataEncoder OrbalinDocument::dataEncoderOfType(const QString& /*type*/) const {
    return [scene = pointPairArray_](BackgroundTask* task) { return archived(scene, task); };
}

Result<void> OrbalinDocument::loadDataRepresentation(const QByteArray& data,
                                                     const QString& /*type*/,
                                                     BackgroundTask* task) {
    Result<PointPairArray> result = KeyedUnarchiver::unarchiveObjectWithData(data, task);
    if (!result)
        return result.failure();
    setPointPairArray(std::move(result).value());
    return {};
}

void OrbalinDocument::setPointPairArray(PointPairArray array) {
    pointPairArray_ = std::move(array);
}
