#include "SceneCommands.h"

#include "framework/DialogFolders.h"
#include "framework/Document.h"
#include "framework/DocumentCommands.h"
#include "framework/DocumentWindow.h"
#include "framework/ImageExport.h"
#include "view/OrbalinOpenGLView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>

SceneCommands::SceneCommands(DocumentWindow* window, OrbalinOpenGLView* view,
                             const Actions& actions)
    : QObject(window)
    , window_(window)
    , view_(view)
    , pause_(actions.pauseAnimation) {
    if (prepareCommand(pause_, "Pause Animation", {QKeySequence(Qt::Key_Space)}))
        connect(pause_, &QAction::triggered, this, &SceneCommands::togglePause);
    if (prepareCommand(actions.resetView, "Reset View",
                       {QKeySequence(Qt::Key_Home), QKeySequence(Qt::Key_R)}))
        connect(actions.resetView, &QAction::triggered, this, &SceneCommands::resetView);
    if (prepareCommand(actions.exportImage, "Export Image", {}))
        connect(actions.exportImage, &QAction::triggered, this, &SceneCommands::exportImage);
    if (prepareCommand(actions.copy, "Copy", QKeySequence::keyBindings(QKeySequence::Copy)))
        connect(actions.copy, &QAction::triggered, this, &SceneCommands::copy);
}

void SceneCommands::togglePause() {
    if (!view_)
        return;
    view_->setPaused(!view_->isPaused());
    if (pause_)
        pause_->setText(view_->isPaused() ? tr("&Resume Animation") : tr("&Pause Animation"));
}

void SceneCommands::resetView() {
    if (view_)
        view_->resetView();
}

void SceneCommands::exportImage() {
    if (!view_)
        return;
    // The frame on show when the command was given, not when the dialog closes.
    const QImage frame = view_->grabFrame();
    const Document* document = window_->document();
    const QString name = QFileInfo(document->displayName()).completeBaseName() + ".png";
    const QString folder = DialogFolders::startFolder(document->filePath());
    ::exportImage(window_, frame, QDir(folder).filePath(name));
}

void SceneCommands::copy() {
    if (!view_)
        return;
    const QImage frame = view_->grabFrame();
    if (!frame.isNull())
        QApplication::clipboard()->setImage(frame);
}
