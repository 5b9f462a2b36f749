// The document controller's file work: finding, opening and saving documents' files, the
// dialogs and questions that go with them, and the recent files. Its window work is in
// DocumentController.cpp.
#include "framework/DocumentController.h"

#include "framework/BackgroundWork.h"
#include "framework/DialogFolders.h"
#include "framework/DocumentWindow.h"
#include "framework/HeldDialog.h"
#include "framework/MemoryRelease.h"
#include "framework/SafeFileWriter.h"
#include "framework/SaveDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <algorithm>
#include <cerrno>
#include <new>
#include <unistd.h>

namespace {

QString canonicalPath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

Document* DocumentController::documentForFile(const QString& path) const {
    const QString wanted = canonicalPath(path);
    const auto found = std::find_if(documents_.begin(), documents_.end(), [&](Document* document) {
        return !document->filePath().isEmpty() && canonicalPath(document->filePath()) == wanted;
    });
    return found == documents_.end() ? nullptr : *found;
}

Document* DocumentController::openDocumentWithContentsOfFile(const QString& path) {
    if (Document* open = documentForFile(path)) {
        bringToFront(open);
        return open;
    }
    std::unique_ptr<Document> document = factory_();
    // Cancelled unless the work gets as far as reading.
    Result<void> read = Failure::cancel();
    // The progress belongs to the window the user asked from, if any; a quit cancels the read.
    const bool finished = runInBackground(
        QApplication::activeWindow(), tr("Opening “%1”…").arg(QFileInfo(path).fileName()),
        AtQuit::Cancel, [&](BackgroundTask& task) {
            read = document->readFromFile(path, type_.name, type_.maximumFileSize, &task);
        });
    if (!read) {
        // What the read had taken goes back to the system, as a closed window's does.
        document.reset();
        giveFreedMemoryBack();
    }
    if (!finished || read.cancelled())
        return nullptr; // the user cancelled: nothing to show and nothing to tell
    if (!read) {
        showError(QApplication::activeWindow(), openFailure(path), read.reason());
        return nullptr;
    }
    // Opened meanwhile (named twice, or dropped while it was being read): one window for it.
    if (Document* open = documentForFile(path)) {
        bringToFront(open);
        return open;
    }
    document->setFilePath(canonicalPath(path));
    noteFile(document->filePath());
    return adopt(std::move(document));
}

QString DocumentController::openFailure(const QString& path) {
    return tr("The document “%1” could not be opened.").arg(QFileInfo(path).fileName());
}

void DocumentController::openDocuments(const QStringList& paths) {
    for (const QString& path : paths)
        openDocumentWithContentsOfFile(path);
}

void DocumentController::runOpenPanel(QWidget* parent) {
    const QString filters = tr("%1 (*.%2);;All files (*)").arg(type_.shownName(), type_.extension);
    const auto* window = qobject_cast<DocumentWindow*>(parent);
    const QString folder =
        DialogFolders::startFolder(window ? window->document()->filePath() : QString());
    const QStringList chosen = QFileDialog::getOpenFileNames(parent, tr("Open"), folder, filters);
    if (!chosen.isEmpty())
        DialogFolders::remember(chosen.constFirst());
    openDocuments(chosen);
}

void DocumentController::openRecentFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        recentFiles_.remove(path);
        showError(QApplication::activeWindow(), openFailure(path),
                  tr("it is no longer there (it was moved, renamed or deleted), so it has been "
                     "taken off the Open Recent menu"));
        return;
    }
    openDocumentWithContentsOfFile(path);
}

bool DocumentController::saveDocument(Document* document) {
    if (document->filePath().isEmpty())
        return saveDocumentAs(document);
    return saveDocumentToFile(document, document->filePath());
}

bool DocumentController::saveDocumentAs(Document* document) {
    if (isSaving(document))
        return false;
    const QString suggestion = document->filePath().isEmpty()
                                   ? QDir(DialogFolders::startFolder(QString()))
                                         .filePath(document->displayName() + u'.' + type_.extension)
                                   : document->filePath();
    // A device, pipe or socket is refused before replacing it is even asked.
    const auto check = [this](const QString& path) {
        return checkSaveTarget(fileNameWithExtension(path));
    };
    const auto failure = [this, document](const QString& path) {
        return saveFailure(document, fileNameWithExtension(path));
    };
    HeldDialog<SaveDialog> dialog(document->window(), tr("Save As"), check, failure);
    dialog->setNameFilter(tr("%1 (*.%2)").arg(type_.shownName(), type_.extension));
    dialog->setObjectName(QStringLiteral("saveAsDialog"));
    // The dialog adds the extension itself, so the name it asks about replacing is the name
    // that is written.
    dialog->setDefaultSuffix(type_.extension);
    dialog->selectFile(suggestion);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return false;
    const QString chosen = dialog->selectedFiles().constFirst();
    const QString path = fileNameWithExtension(chosen);
    // A dialog adds no extension to a name with a dot of its own ("v1.2"): then the file
    // written is not the one it confirmed, and replacing it is asked here.
    if (path != chosen && QFileInfo::exists(path)) {
        if (const Result<void> checked = check(path); !checked) {
            showError(document->window(), failure(path), checked.reason());
            return false;
        }
        if (!confirmReplacing(document->window(), path))
            return false;
    }
    return saveDocumentToFile(document, path);
}

QString DocumentController::saveFailure(const Document* document, const QString& path) {
    // Saved again where it is, or saved under another name.
    if (!document->filePath().isEmpty() && QFileInfo(path) == QFileInfo(document->filePath()))
        return tr("The document “%1” could not be saved.").arg(document->displayName());
    return tr("The document “%1” could not be saved as “%2”.")
        .arg(document->displayName(), QFileInfo(path).fileName());
}

QString DocumentController::fileNameWithExtension(const QString& path) const {
    const QString suffix = u'.' + type_.extension;
    if (path.endsWith(suffix, Qt::CaseInsensitive))
        return path;
    return path + suffix;
}

bool DocumentController::saveDocumentToFile(Document* document, const QString& path) {
    // Save pressed again while the progress of the last one is up: that save is still going.
    if (isSaving(document))
        return false;
    const QString failure = saveFailure(document, path);
    // A folder that cannot take the file is told before any work is done on it.
    const QString folder = QFileInfo(path).absolutePath();
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0) {
        showError(document->window(), failure, folderFailureReason(folder, errno));
        return false;
    }
    const Document::DataEncoder encode = document->dataEncoderOfType(type_.name);
    // Making the data, then writing it; cancelled unless the work gets as far as either.
    Result<void> written = Failure::cancel();
    saving_.insert(document);
    const bool finished = runInBackground(
        document->window(), tr("Saving “%1”…").arg(QFileInfo(path).fileName()), AtQuit::Finish,
        [&](BackgroundTask& task) {
            try {
                task.setStage(0.0, 0.9);
                const Result<QByteArray> data = encode(&task);
                if (!data) {
                    written = data.failure();
                    return;
                }
                // The new content replaces the old file only once it is completely
                // written.
                task.setStage(0.9, 1.0);
                if (!task.isCancelled())
                    written = writeFileSafely(path, *data, &task.cancelFlag());
            } catch (const std::bad_alloc&) {
                written = Failure::because(tr("there is not enough memory to save the document"));
            }
        });
    saving_.erase(document);
    if (written) {
        // Another window showing the file that has just been replaced would show content the
        // file no longer holds, and its next Save would undo this one: it closes.
        Document* replaced = documentForFile(path);
        document->setFilePath(canonicalPath(path));
        noteFile(document->filePath());
        if (replaced && replaced != document) {
            closeDocument(replaced);
            tellReplaced(document->window(), path);
        }
        updateTitles();
    } else if (finished && !written.cancelled()) {
        // (A save the user cancelled needs no message: the old file is as it was.)
        showError(document->window(), failure, written.reason());
    }
    // A close asked for during the save is carried out once the scene is safe in its file; a
    // failed or cancelled save keeps the window, and with it the scene.
    if (closeWhenSaved_.erase(document) > 0 && written)
        closeDocument(document);
    return written.ok();
}

void DocumentController::noteFile(const QString& path) {
    recentFiles_.add(path);
    DialogFolders::remember(path);
}

void DocumentController::tellReplaced(QWidget* parent, const QString& path) const {
    // Said without holding anything up: the save is done, and nothing is to be decided.
    auto* box = new QMessageBox(
        QMessageBox::Information, QApplication::applicationDisplayName(),
        tr("The window showing “%1” was closed, because the file was replaced by this document.")
            .arg(QFileInfo(path).fileName()),
        QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("replacedWindowNote"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

bool DocumentController::confirmReplacing(QWidget* parent, const QString& path) const {
    // Asked in the words of the file dialog's own question.
    HeldDialog<QMessageBox> box(
        QMessageBox::Warning, tr("Save As"),
        tr("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(path).fileName()),
        QMessageBox::Yes | QMessageBox::No, parent);
    box->setObjectName(QStringLiteral("replaceFileBox"));
    box->setDefaultButton(QMessageBox::No);
    return box->exec() == QMessageBox::Yes;
}
