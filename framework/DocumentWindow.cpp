#include "framework/DocumentWindow.h"

#include "framework/Document.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

DocumentWindow::DocumentWindow(Document* document)
    : document_(document) {
    setAcceptDrops(true);
}

void DocumentWindow::updateTitle() {
    const QString name = document_->displayName();
    setWindowTitle(folder_.isEmpty() ? name : tr("%1 (%2)").arg(name, folder_));
    setWindowFilePath(document_->filePath());
}

void DocumentWindow::setDistinguishingFolder(const QString& folder) {
    if (folder == folder_)
        return;
    folder_ = folder;
    updateTitle();
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
    // Nothing marks a scene as edited, so there is never anything to ask before closing.
    event->accept();
    emit closed(this);
}

void DocumentWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFilesOf(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void DocumentWindow::dropEvent(QDropEvent* event) {
    const QStringList paths = localFilesOf(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    emit filesDropped(paths);
}

QStringList localFilesOf(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    return paths;
}
