#pragma once

#include "base/Result.h"

#include <QFileDialog>

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

  private:
    Check check_;
    Text failure_;
};
