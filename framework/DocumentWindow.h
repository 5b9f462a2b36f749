#pragma once

#include <QMainWindow>
#include <QStringList>

class Document;

// The window of one document. It tells its controller when it has closed and when files are
// dropped on it; what it shows comes from the document's window description.
class DocumentWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit DocumentWindow(Document* document);

    Document* document() const { return document_; }
    // Titles the window with the document's name, and the folder given, if any.
    void updateTitle();
    // What tells this window's file apart from another of the same name (the end of its
    // folder's path); empty when nothing needs to.
    void setDistinguishingFolder(const QString& folder);

  signals:
    void closed(DocumentWindow* window);
    void filesDropped(const QStringList& paths);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    Document* document_;
    QString folder_;
};

// The local files among dropped data; empty when there are none.
QStringList localFilesOf(const class QMimeData* data);
