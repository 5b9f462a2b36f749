#include "framework/SaveDialog.h"

#include "framework/ErrorBox.h"

#include <QFileInfo>

SaveDialog::SaveDialog(QWidget* parent, const QString& caption, Text refusal, Text failure)
    : QFileDialog(parent, caption)
    , refusal_(std::move(refusal))
    , failure_(std::move(failure)) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
}

void SaveDialog::accept() {
    // The name as it will be written, the default suffix added.
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && !QFileInfo(files.constFirst()).isDir()) {
        const QString& path = files.constFirst();
        const QString reason = refusal_(path);
        if (!reason.isEmpty()) {
            showErrorBox(this, failure_(path), reason);
            return;
        }
    }
    QFileDialog::accept();
}
