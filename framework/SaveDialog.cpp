#include "framework/SaveDialog.h"

#include "framework/ErrorBox.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>

SaveDialog::SaveDialog(QWidget* parent, const QString& caption, Check check, Text failure)
    : QFileDialog(parent, caption)
    , check_(std::move(check))
    , failure_(std::move(failure)) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
}

QCheckBox* SaveDialog::addCheckBox(const QString& text) {
    setOption(QFileDialog::DontUseNativeDialog);
    auto* box = new QCheckBox(text, this);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
    return box;
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
