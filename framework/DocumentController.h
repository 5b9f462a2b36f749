#pragma once

#include "framework/Document.h"
#include "framework/RecentFiles.h"
#include "framework/WindowPlacement.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <set>
#include <vector>

class DocumentWindow;
class QWidget;

// The application's document controller: it makes new documents, opens and saves files,
// gives every document one window with the standard File and Help commands, and reports
// failures to the user. It owns the open documents.
class DocumentController : public QObject {
    Q_OBJECT

  public:
    struct DocumentType {
        QString name;           // "Orbalin Scene"
        QString extension;      // without the dot: "orbalin"
        qint64 maximumFileSize; // larger files are refused before anything is read
        QString label = {};     // as the file dialogs name it to the user; the name if empty
        QString shownName() const { return label.isEmpty() ? name : label; }
    };
    using DocumentFactory = std::function<std::unique_ptr<Document>()>;

    DocumentController(DocumentType type, DocumentFactory factory, QObject* parent = nullptr);
    ~DocumentController() override;

    DocumentController(const DocumentController&) = delete;
    DocumentController& operator=(const DocumentController&) = delete;

    const DocumentType& documentType() const { return type_; }
    const std::vector<Document*>& documents() const { return documents_; }
    // The open document of that file, if any (compared by canonical path).
    Document* documentForFile(const QString& path) const;

    // New: an untitled document in a window of its own.
    Document* newDocument();
    // Opens a file, or brings its window to the front when it is open already. On failure the
    // user is told why and no window is left behind; returns nullptr. The file is read and
    // decoded on another thread while every window goes on (a long open shows its progress);
    // an open the user cancels leaves nothing behind and returns nullptr.
    Document* openDocumentWithContentsOfFile(const QString& path);
    void openDocuments(const QStringList& paths);
    // What failed when a file could not be opened: "The document … could not be opened."
    static QString openFailure(const QString& path);
    // Open…: asks for files and opens them.
    void runOpenPanel(QWidget* parent);
    // Open Recent: opens the file, or says that it is gone and takes it off the list.
    void openRecentFile(const QString& path);
    // The files last opened or saved, shown in every window's Open Recent menu.
    RecentFiles& recentFiles() { return recentFiles_; }

    // Save: to the document's file, or through Save As… when it has none.
    bool saveDocument(Document* document);
    // Save As…: asks for a name (adding the extension when missing, before replacing an
    // existing file is confirmed) and saves there.
    bool saveDocumentAs(Document* document);
    // Writes the file atomically: on failure the user is told the system's reason and any old
    // file stays byte for byte as it was. On success the document takes the file's path, and
    // another document that had that file open closes, and the user is told. The data is made and
    // written on another thread while every window goes on; a long save shows its progress, and one
    // the user cancels leaves the old file as it was and returns false. A second save of the same
    // document while one is under way is ignored (returns false), and its window waits for the
    // save to end before it closes.
    bool saveDocumentToFile(Document* document, const QString& path);
    // The name as saved: the type's extension is added when the name lacks it.
    QString fileNameWithExtension(const QString& path) const;

    // Closes the document's window; a document being saved closes once the save has ended.
    void closeDocument(Document* document);
    void closeAllDocuments();
    bool isSaving(const Document* document) const { return saving_.count(document) > 0; }

    // The key sequences of Save As…: the platform's own, or Ctrl+Shift+S where it has none.
    static QList<QKeySequence> saveAsShortcuts();

  signals:
    void aboutRequested();
    void quitRequested();
    // The last open document has closed.
    void lastDocumentClosed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static QString saveFailure(const Document* document, const QString& path);
    static void bringToFront(Document* document);
    // Takes the document into the open ones and gives it its window.
    Document* adopt(std::unique_ptr<Document> document);
    void makeWindow(Document* document);
    void wireActions(DocumentWindow* window, const DocumentCommands& commands);
    void windowClosed(DocumentWindow* window);
    // Titles of same-named files tell them apart by their folders.
    void updateTitles();
    int nextUntitledNumber() const;
    // A document now has this file: it heads Open Recent and its folder is where dialogs start.
    void noteFile(const QString& path);
    void placeWindow(DocumentWindow* window);
    bool confirmReplacing(QWidget* parent, const QString& path) const;
    // Says that the window of the file a save replaced has closed.
    void tellReplaced(QWidget* parent, const QString& path) const;
    void showError(QWidget* parent, const QString& text, const QString& reason) const;

    DocumentType type_;
    DocumentFactory factory_;
    std::vector<Document*> documents_;
    RecentFiles recentFiles_;
    WindowPlacement placement_;
    // Documents with a save under way, and those of them whose window waits to close.
    std::set<const Document*> saving_;
    std::set<const Document*> closeWhenSaved_;
};
