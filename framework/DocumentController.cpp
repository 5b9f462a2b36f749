#include "framework/DocumentController.h"

#include "framework/BackgroundWork.h"
#include "framework/DialogFolders.h"
#include "framework/DocumentWindow.h"
#include "framework/ErrorBox.h"
#include "framework/HeldDialog.h"
#include "framework/FileDescriptor.h"
#include "framework/FullScreenSwitch.h"
#include "framework/MemoryRelease.h"
#include "framework/RecentFilesMenu.h"
#include "framework/SafeFileWriter.h"
#include "framework/SaveDialog.h"
#include "framework/WindowTitles.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>

#include <algorithm>
#include <new>
#include <unistd.h>

namespace {

QString canonicalPath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

DocumentController::DocumentController(DocumentType type, DocumentFactory factory, QObject* parent)
    : QObject(parent)
    , type_(std::move(type))
    , factory_(std::move(factory)) {}

DocumentController::~DocumentController() {
    const std::vector<Document*> documents = std::move(documents_);
    documents_.clear();
    for (Document* document : documents)
        delete document;
}

Document* DocumentController::documentForFile(const QString& path) const {
    const QString wanted = canonicalPath(path);
    const auto found = std::find_if(documents_.begin(), documents_.end(), [&](Document* document) {
        return !document->filePath().isEmpty() && canonicalPath(document->filePath()) == wanted;
    });
    return found == documents_.end() ? nullptr : *found;
}

Document* DocumentController::newDocument() {
    std::unique_ptr<Document> document = factory_();
    document->setUntitledNumber(nextUntitledNumber());
    return adopt(std::move(document));
}

Document* DocumentController::adopt(std::unique_ptr<Document> document) {
    Document* adopted = document.release();
    documents_.push_back(adopted);
    makeWindow(adopted);
    updateTitles();
    return adopted;
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

void DocumentController::bringToFront(Document* document) {
    if (DocumentWindow* window = document->window()) {
        window->showNormal();
        window->raise();
        window->activateWindow();
    }
}

void DocumentController::openDocuments(const QStringList& paths) {
    for (const QString& path : paths)
        openDocumentWithContentsOfFile(path);
}

void DocumentController::runOpenPanel(QWidget* parent) {
    const QString filters = tr("%1 (*.%2);;All files (*)").arg(type_.name, type_.extension);
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
    const auto refusal = [this](const QString& path) {
        return notAFileReason(fileNameWithExtension(path));
    };
    const auto failure = [this, document](const QString& path) {
        return saveFailure(document, fileNameWithExtension(path));
    };
    HeldDialog<SaveDialog> dialog(document->window(), tr("Save As"), refusal, failure);
    dialog->setNameFilter(tr("%1 (*.%2)").arg(type_.name, type_.extension));
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
        if (const QString reason = refusal(path); !reason.isEmpty()) {
            showError(document->window(), failure(path), reason);
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

void DocumentController::closeDocument(Document* document) {
    if (DocumentWindow* window = document->window())
        window->close();
}

void DocumentController::closeAllDocuments() {
    const std::vector<Document*> documents = documents_;
    for (Document* document : documents)
        closeDocument(document);
}

QList<QKeySequence> DocumentController::saveAsShortcuts() {
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::SaveAs);
    if (keys.isEmpty())
        keys.append(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    return keys;
}

void DocumentController::makeWindow(Document* document) {
    auto* window = new DocumentWindow(document);
    window->setObjectName(document->windowNibName());
    document->setWindow(window);
    const DocumentCommands commands = document->loadWindowDescription(window);
    window->updateTitle();
    wireActions(window, commands);
    new FullScreenSwitch(window, commands.fullScreen);
    if (hasCommand(commands.openRecent, "Open Recent"))
        new RecentFilesMenu(commands.openRecent, &recentFiles_,
                            [this](const QString& path) { openRecentFile(path); });
    placeWindow(window);
    connect(window, &DocumentWindow::closed, this, &DocumentController::windowClosed);
    window->installEventFilter(this);
    // Opening files (and reporting failures) waits until the drop itself has finished.
    connect(window, &DocumentWindow::filesDropped, this, &DocumentController::openDocuments,
            Qt::QueuedConnection);
    document->windowControllerDidLoadNib(window);
    window->show();
    window->raise();
    window->activateWindow();
}

void DocumentController::wireActions(DocumentWindow* window, const DocumentCommands& commands) {
    const auto wire = [window](QAction* action, const char* name, QList<QKeySequence> keys,
                               auto&& slot) {
        if (prepareCommand(action, name, keys))
            connect(action, &QAction::triggered, window, slot);
    };
    Document* document = window->document();
    wire(commands.newDocument, "New", QKeySequence::keyBindings(QKeySequence::New),
         [this] { newDocument(); });
    wire(commands.open, "Open", QKeySequence::keyBindings(QKeySequence::Open),
         [this, window] { runOpenPanel(window); });
    wire(commands.save, "Save", QKeySequence::keyBindings(QKeySequence::Save),
         [this, document] { saveDocument(document); });
    wire(commands.saveAs, "Save As", saveAsShortcuts(),
         [this, document] { saveDocumentAs(document); });
    wire(commands.close, "Close", QKeySequence::keyBindings(QKeySequence::Close),
         [this, document] { closeDocument(document); });
    wire(commands.quit, "Quit", QKeySequence::keyBindings(QKeySequence::Quit),
         [this] { emit quitRequested(); });
    wire(commands.about, "About", {}, [this] { emit aboutRequested(); });
}

bool DocumentController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        auto* window = qobject_cast<DocumentWindow*>(watched);
        // The window of a document being saved stays until the save has ended, so that its
        // scene is neither lost nor written half; the save then closes it.
        if (window && isSaving(window->document())) {
            closeWhenSaved_.insert(window->document());
            setProgressNote(window, tr("Closing after the save…"));
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void DocumentController::windowClosed(DocumentWindow* window) {
    Document* document = window->document();
    const auto found = std::find(documents_.begin(), documents_.end(), document);
    if (found == documents_.end())
        return;
    documents_.erase(found);
    // Once the document and its window are gone, so is the last hold on its content.
    connect(document, &QObject::destroyed, this, [] { giveFreedMemoryBack(); });
    // The close event is still being delivered to the window: delete both once it is over.
    document->deleteLater();
    updateTitles();
    if (documents_.empty())
        emit lastDocumentClosed();
}

void DocumentController::updateTitles() {
    QStringList paths;
    for (const Document* document : documents_)
        paths.append(document->filePath());
    const QStringList folders = distinguishingFolders(paths);
    for (std::size_t i = 0; i < documents_.size(); ++i)
        if (DocumentWindow* window = documents_[i]->window())
            window->setDistinguishingFolder(folders[qsizetype(i)]);
}

int DocumentController::nextUntitledNumber() const {
    int number = 1;
    while (std::any_of(documents_.begin(), documents_.end(), [number](Document* document) {
        return document->filePath().isEmpty() && document->untitledNumber() == number;
    }))
        ++number;
    return number;
}

void DocumentController::noteFile(const QString& path) {
    recentFiles_.add(path);
    DialogFolders::remember(path);
}

void DocumentController::placeWindow(DocumentWindow* window) {
    // From the active document window, or else the one made last.
    QList<QWidget*> others;
    for (Document* document : documents_)
        if (document->window() && document->window() != window)
            others.append(document->window());
    const QWidget* from = qobject_cast<DocumentWindow*>(QApplication::activeWindow());
    if (!from || from == window)
        from = others.isEmpty() ? nullptr : others.constLast();
    placement_.place(window, from, others);
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

void DocumentController::showError(QWidget* parent, const QString& text,
                                   const QString& reason) const {
    showErrorBox(parent, text, reason);
}
