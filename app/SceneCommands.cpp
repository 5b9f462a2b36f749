#include "SceneCommands.h"

#include "AnimationExport.h"
#include "KeyboardShortcuts.h"

#include "framework/DialogFolders.h"
#include "framework/Document.h"
#include "framework/DocumentCommands.h"
#include "framework/DocumentWindow.h"
#include "framework/ImageExport.h"
#include "view/OffscreenRenderer.h"
#include "view/OrbalinOpenGLView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

SceneCommands::SceneCommands(DocumentWindow* window, OrbalinOpenGLView* view,
                             const Actions& actions)
    : QObject(window)
    , window_(window)
    , view_(view)
    , actions_(actions) {
    if (prepareCommand(actions.pauseAnimation, "Pause Animation", {QKeySequence(Qt::Key_Space)}))
        connect(actions.pauseAnimation, &QAction::triggered, this, &SceneCommands::togglePause);
    // The desktop's zoom keys, and Ctrl+= for keyboards where + needs Shift.
    QList<QKeySequence> zoomInKeys = QKeySequence::keyBindings(QKeySequence::ZoomIn);
    if (!zoomInKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Equal)))
        zoomInKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Equal));
    if (prepareCommand(actions.zoomIn, "Zoom In", zoomInKeys))
        connect(actions.zoomIn, &QAction::triggered, this, [this] {
            if (view_)
                view_->zoomIn();
        });
    if (prepareCommand(actions.zoomOut, "Zoom Out",
                       QKeySequence::keyBindings(QKeySequence::ZoomOut)))
        connect(actions.zoomOut, &QAction::triggered, this, [this] {
            if (view_)
                view_->zoomOut();
        });
    if (prepareCommand(actions.resetView, "Reset View",
                       {QKeySequence(Qt::Key_Home), QKeySequence(Qt::Key_R),
                        QKeySequence(Qt::CTRL | Qt::Key_0)}))
        connect(actions.resetView, &QAction::triggered, this, &SceneCommands::resetView);
    // Ctrl+? as on GNOME; F1, since there is no other help.
    if (prepareCommand(actions.keyboardShortcuts, "Keyboard Shortcuts",
                       {QKeySequence(Qt::CTRL | Qt::Key_Question), QKeySequence(Qt::Key_F1)}))
        connect(actions.keyboardShortcuts, &QAction::triggered, this,
                [this] { showKeyboardShortcuts(window_); });
    if (view_)
        connect(view_, &OrbalinOpenGLView::contextMenuRequested, this,
                &SceneCommands::showContextMenu);
    if (prepareCommand(actions.exportImage, "Export Image", {}))
        connect(actions.exportImage, &QAction::triggered, this, &SceneCommands::exportImage);
    if (prepareCommand(actions.exportAnimation, "Export Animation", {}))
        connect(actions.exportAnimation, &QAction::triggered, this,
                &SceneCommands::exportAnimation);
    if (prepareCommand(actions.copy, "Copy", QKeySequence::keyBindings(QKeySequence::Copy)))
        connect(actions.copy, &QAction::triggered, this, &SceneCommands::copy);
}

void SceneCommands::togglePause() {
    if (!view_)
        return;
    view_->setPaused(!view_->isPaused());
    if (actions_.pauseAnimation)
        actions_.pauseAnimation->setText(view_->isPaused() ? tr("&Resume Animation")
                                                           : tr("&Pause Animation"));
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
    FrameInputs onNothing = view_->frameInputs();
    onNothing.background = Background::Transparent;
    const auto picture = [this, &frame, &onNothing](bool transparent) -> Result<QImage> {
        if (!transparent || !view_)
            return frame;
        // One kind of context is current on a thread at a time: the window's goes first.
        view_->doneCurrent();
        return renderSceneOffscreen(onNothing);
    };
    const Document* document = window_->document();
    const QString name = QFileInfo(document->displayName()).completeBaseName() + ".png";
    const QString folder = DialogFolders::startFolder(document->filePath());
    ::exportImage(window_, picture, QDir(folder).filePath(name));
}

void SceneCommands::exportAnimation() {
    if (!view_)
        return;
    // The scene as it is on show when the command was given, and on from there.
    const FrameInputs start = view_->frameInputs();
    const Document* document = window_->document();
    const QString name = QFileInfo(document->displayName()).completeBaseName() + ".webm";
    const QString folder = DialogFolders::startFolder(document->filePath());
    ::exportAnimation(window_, start, QDir(folder).filePath(name));
}

void SceneCommands::copy() {
    if (!view_)
        return;
    const QImage frame = view_->grabFrame();
    if (!frame.isNull())
        QApplication::clipboard()->setImage(frame);
}

void SceneCommands::showContextMenu(const QPoint& at) {
    QMenu menu(window_);
    menu.setObjectName(QStringLiteral("sceneContextMenu"));
    const auto offer = [&menu](QAction* action) {
        if (action)
            menu.addAction(action);
    };
    offer(actions_.pauseAnimation);
    offer(actions_.resetView);
    if (QAction* fullScreen = actions_.fullScreen) {
        // Said as what it does now; the window's own command does it.
        QAction* choice =
            menu.addAction(window_->isFullScreen() ? tr("Leave &Full Screen") : tr("&Full Screen"));
        choice->setShortcuts(fullScreen->shortcuts());
        connect(choice, &QAction::triggered, fullScreen, &QAction::trigger);
    }
    menu.addSeparator();
    offer(actions_.copy);
    offer(actions_.exportImage);
    offer(actions_.exportAnimation);
    menu.exec(at);
}
