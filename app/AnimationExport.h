#pragma once

#include "view/SceneFrame.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class ExportAnimation;
}

// File ▸ Export Animation…: asks for a file, whose suffix names the format (WebM, MP4, GIF,
// WebP), a length in seconds and a size in pixels (the window's at first), then records the
// scene from `start` on into that file: the frames as the window shows them, the user's turn,
// zoom and move kept and the camera going on from there. The frames are drawn with a context
// of their own on a thread of their own, so every window goes on animating; a progress dialog
// counts them and can cancel. The file is written as every save is: whole or not at all, and
// only over an ordinary file. Failures are shown; returns the file written, or an empty string.
QString exportAnimation(QWidget* parent, const FrameInputs& start, const QString& suggestedPath);

// The dialog that asks, from its window description; it refuses a name that names no animation
// format, or that is not an ordinary file, and asks before replacing a file.
class AnimationExportDialog : public QDialog {
    Q_OBJECT

  public:
    AnimationExportDialog(QWidget* parent, const QString& suggestedPath, const QSize& size);
    ~AnimationExportDialog() override;

    QString path() const;
    double seconds() const;
    QSize size() const;
    bool transparent() const;

    void accept() override;

  private:
    // What the name's format allows and needs, said under the fields.
    void followFormat();
    void choose();

    std::unique_ptr<Ui::ExportAnimation> ui_;
    // The name the file dialog already asked about replacing.
    QString replaceAgreed_;
};
