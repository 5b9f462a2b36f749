#include "AnimationExport.h"

#include "animation/AnimationTiming.h"
#include "framework/BackgroundWork.h"
#include "framework/DialogFolders.h"
#include "framework/ErrorBox.h"
#include "framework/HeldDialog.h"
#include "framework/SafeFileWriter.h"
#include "framework/SaveDialog.h"
#include "record/AnimationRecording.h"
#include "ui_ExportAnimation.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace {

QString suffixList() {
    QStringList suffixes = animationSuffixes();
    for (QString& suffix : suffixes)
        suffix.prepend(u'.');
    return suffixes.join(QStringLiteral(", "));
}

// Why no animation may be written under that name, before anything is.
Result<void> checkAnimationName(const QString& path) {
    if (!animationFormatForSuffix(path))
        return Failure::because(AnimationExportDialog::tr("“%1” does not name an animation "
                                                          "format: its suffix must be one of %2")
                                    .arg(QFileInfo(path).fileName(), suffixList()));
    return checkSaveTarget(path);
}

QString failureFor(const QString& path) {
    return AnimationExportDialog::tr("The animation “%1” could not be written.")
        .arg(QFileInfo(path).fileName());
}

} // namespace

AnimationExportDialog::AnimationExportDialog(QWidget* parent, const QString& suggestedPath,
                                             const QSize& size)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::ExportAnimation>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("exportAnimationDialog"));
    ui_->file->setText(suggestedPath);
    ui_->width->setValue(size.width());
    ui_->height->setValue(size.height());
    ui_->buttons->button(QDialogButtonBox::Save)->setText(tr("&Export"));
    connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui_->choose, &QPushButton::clicked, this, &AnimationExportDialog::choose);
    connect(ui_->file, &QLineEdit::textChanged, this, &AnimationExportDialog::followFormat);
    for (QSpinBox* side : {ui_->width, ui_->height})
        connect(side, &QSpinBox::valueChanged, this, &AnimationExportDialog::followFormat);
    followFormat();
}

AnimationExportDialog::~AnimationExportDialog() = default;

QString AnimationExportDialog::path() const {
    return QFileInfo(ui_->file->text().trimmed()).absoluteFilePath();
}

double AnimationExportDialog::seconds() const {
    return ui_->length->value();
}

QSize AnimationExportDialog::size() const {
    return {ui_->width->value(), ui_->height->value()};
}

bool AnimationExportDialog::transparent() const {
    return ui_->transparent->isEnabled() && ui_->transparent->isChecked();
}

void AnimationExportDialog::followFormat() {
    const std::optional<AnimationFormat> format = animationFormatForSuffix(ui_->file->text());
    ui_->transparent->setEnabled(format && canBeTransparent(*format));
    QString note;
    if (!format) {
        note = tr("The file's suffix names the format: %1.").arg(suffixList());
    } else if (const QSize encoded = encodableSize(*format, size()); encoded != size()) {
        note = tr("%1 needs even sides: the animation will be %2×%3 pixels.")
                   .arg(animationFormatName(*format))
                   .arg(encoded.width())
                   .arg(encoded.height());
    }
    ui_->note->setText(note);
    ui_->note->setVisible(!note.isEmpty());
}

void AnimationExportDialog::choose() {
    HeldDialog<SaveDialog> dialog(this, tr("Export Animation"), checkAnimationName, failureFor);
    dialog->setObjectName(QStringLiteral("chooseAnimationFile"));
    QStringList filters;
    for (const AnimationFormat format :
         {AnimationFormat::WebM, AnimationFormat::MP4, AnimationFormat::GIF, AnimationFormat::WebP})
        filters.append(tr("%1 animation (*.%2)")
                           .arg(animationFormatName(format),
                                animationSuffixes().at(static_cast<int>(format))));
    dialog->setNameFilters(filters);
    const std::optional<AnimationFormat> current = animationFormatForSuffix(path());
    if (current)
        dialog->selectNameFilter(filters.at(static_cast<int>(*current)));
    dialog->setDefaultSuffix(
        animationSuffixes().at(static_cast<int>(current.value_or(AnimationFormat::WebM))));
    SaveDialog* const shown = dialog.get();
    connect(shown, &QFileDialog::filterSelected, shown, [&filters, shown](const QString& chosen) {
        const qsizetype index = filters.indexOf(chosen);
        if (index >= 0)
            shown->setDefaultSuffix(animationSuffixes().at(index));
    });
    dialog->setDirectory(QFileInfo(path()).absolutePath());
    dialog->selectFile(QFileInfo(path()).fileName());
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        ui_->file->setText(dialog->selectedFiles().constFirst());
        // The file dialog asked about replacing it already.
        replaceAgreed_ = ui_->file->text();
    }
}

void AnimationExportDialog::accept() {
    const QString chosen = path();
    if (const Result<void> checked = checkAnimationName(chosen); !checked) {
        showErrorBox(this, failureFor(chosen), checked.reason());
        return;
    }
    if (QFileInfo::exists(chosen) && replaceAgreed_ != ui_->file->text()) {
        HeldDialog<QMessageBox> question(
            QMessageBox::Warning, tr("Export Animation"),
            tr("“%1” already exists. Do you want to replace it?").arg(QFileInfo(chosen).fileName()),
            QMessageBox::Yes | QMessageBox::No, this);
        question->setDefaultButton(QMessageBox::No);
        if (question->exec() != QMessageBox::Yes)
            return;
    }
    QDialog::accept();
}

QString exportAnimation(QWidget* parent, const FrameInputs& start, const QString& suggestedPath) {
    HeldDialog<AnimationExportDialog> dialog(parent, suggestedPath, start.devicePixels);
    if (dialog->exec() != QDialog::Accepted)
        return QString();
    const QString path = dialog->path();
    const AnimationFormat format = *animationFormatForSuffix(path);
    Recording recording{start, {}, 1};
    recording.settings.format = format;
    recording.settings.transparent = dialog->transparent();
    recording.settings.threads = std::max(2, QThread::idealThreadCount());
    recording.start.devicePixels = encodableSize(format, dialog->size());
    recording.start.background =
        dialog->transparent() ? Background::Transparent : Background::Opaque;
    recording.frames = frameCount(dialog->seconds(), recording.settings.ticksPerFrame);
    DialogFolders::remember(path);

    Result<void> written;
    const bool finished = runInBackground(
        parent, AnimationExportDialog::tr("Exporting “%1”").arg(QFileInfo(path).fileName()),
        AtQuit::Cancel, [&](BackgroundTask& task) {
            Result<SafeFileStream> file = SafeFileStream::open(path);
            if (!file) {
                written = file.failure();
                return;
            }
            written = recordAnimation(recording, file->descriptor(), true, &task);
            if (written)
                written = file->commit(&task.cancelFlag());
        });
    if (!finished || written.cancelled())
        return QString();
    if (!written) {
        showErrorBox(parent, failureFor(path), written.reason());
        return QString();
    }
    return path;
}
