#include "SceneCommands.h"

#include "framework/DialogFolders.h"
#include "framework/Document.h"
#include "framework/DocumentWindow.h"
#include "framework/ImageExport.h"
#include "view/OrbalinOpenGLView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>

namespace {

QAction* wire(DocumentWindow* window, const char* name, const QList<QKeySequence>& keys) {
    QAction* action = window->findChild<QAction*>(QLatin1String(name));
    if (action) {
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    return action;
}

} // namespace

SceneCommands::SceneCommands(DocumentWindow* window, OrbalinOpenGLView* view)
    : QObject(window)
    , window_(window)
    , view_(view)
    , pause_(wire(window, "actionPauseAnimation", {QKeySequence(Qt::Key_Space)})) {
    if (pause_)
        connect(pause_, &QAction::triggered, this, &SceneCommands::togglePause);
    if (QAction* action =
            wire(window, "actionResetView", {QKeySequence(Qt::Key_Home), QKeySequence(Qt::Key_R)}))
        connect(action, &QAction::triggered, this, &SceneCommands::resetView);
    if (QAction* action = wire(window, "actionExportImage", {}))
        connect(action, &QAction::triggered, this, &SceneCommands::exportImage);
    if (QAction* action = wire(window, "actionCopy", QKeySequence::keyBindings(QKeySequence::Copy)))
        connect(action, &QAction::triggered, this, &SceneCommands::copy);
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
