#pragma once

#include <QFileDialog>

#include <functional>

// A file dialog for saving that refuses a name before it asks about replacing it: when
// `refusal` gives a reason why the name chosen cannot be written (a device, a named pipe, a
// suffix that names no format), the user is shown `failure` for it with that reason, and the
// dialog stays open for another name. Folders are left to the dialog, which opens them.
class SaveDialog : public QFileDialog {
    Q_OBJECT

  public:
    using Text = std::function<QString(const QString& path)>;

    SaveDialog(QWidget* parent, const QString& caption, Text refusal, Text failure);

    void accept() override;

  private:
    Text refusal_;
    Text failure_;
};
