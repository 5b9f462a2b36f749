#include "framework/DialogFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString lastFolderKey = QStringLiteral("FileDialogs/lastFolder");

} // namespace

QString DialogFolders::startFolder(const QString& documentPath) {
    if (!documentPath.isEmpty()) {
        const QFileInfo document(documentPath);
        if (document.dir().exists())
            return document.absolutePath();
    }
    const QString last = QSettings().value(lastFolderKey).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QDir::homePath();
}

void DialogFolders::remember(const QString& filePath) {
    if (filePath.isEmpty())
        return;
    QSettings().setValue(lastFolderKey, QFileInfo(filePath).absolutePath());
}
