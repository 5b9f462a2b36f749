#pragma once

#include "base/Result.h"

#include <QFileDialog>

class QCheckBox;

#include <functional>

// A file dialog for saving that refuses a name before it asks about replacing it: when `check`
// fails for the name chosen (a device, a named pipe, a suffix that names no format), the user
// is shown `failure` for it with the reason, and the dialog stays open for another name.
// Folders are left to the dialog, which opens them.
class SaveDialog : public QFileDialog {
    Q_OBJECT

  public:
    using Check = std::function<Result<void>(const QString& path)>;
    using Text = std::function<QString(const QString& path)>;

    SaveDialog(QWidget* parent, const QString& caption, Check check, Text failure);

    void accept() override;
    // A check box of the caller's under the dialog's fields (the dialog is then Qt's own, as a
    // desktop's dialog takes no widgets); the dialog owns it.
    QCheckBox* addCheckBox(const QString& text);

  private:
    Check check_;
    Text failure_;
};
