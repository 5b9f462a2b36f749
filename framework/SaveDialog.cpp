#include "framework/SaveDialog.h"

#include "framework/ErrorBox.h"

#include <QFileInfo>

SaveDialog::SaveDialog(QWidget* parent, const QString& caption, Check check, Text failure)
    : QFileDialog(parent, caption)
    , check_(std::move(check))
    , failure_(std::move(failure)) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
}

void SaveDialog::accept() {
    // The name as it will be written, the default suffix added.
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && !QFileInfo(files.constFirst()).isDir()) {
        const QString& path = files.constFirst();
        if (const Result<void> checked = check_(path); !checked) {
            showErrorBox(this, failure_(path), checked.reason());
            return;
        }
    }
    QFileDialog::accept();
}
