// The document controller's window work: making, wiring, placing, titling and closing the
// documents' windows. Its file work is in DocumentFiles.cpp.
#include "framework/DocumentController.h"

#include "framework/BackgroundWork.h"
#include "framework/DocumentWindow.h"
#include "framework/ErrorBox.h"
#include "framework/FullScreenSwitch.h"
#include "framework/MemoryRelease.h"
#include "framework/RecentFilesMenu.h"
#include "framework/WindowTitles.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenu>

#include <algorithm>

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

void DocumentController::bringToFront(Document* document) {
    if (DocumentWindow* window = document->window()) {
        window->showNormal();
        window->raise();
        window->activateWindow();
    }
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

void DocumentController::showError(QWidget* parent, const QString& text,
                                   const QString& reason) const {
    showErrorBox(parent, text, reason);
}
