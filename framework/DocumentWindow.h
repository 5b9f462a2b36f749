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
    // Titles the window with the document's name.
    void updateTitle();

  signals:
    void closed(DocumentWindow* window);
    void filesDropped(const QStringList& paths);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    Document* document_;
};

// The local files among dropped data; empty when there are none.
QStringList localFilesOf(const class QMimeData* data);
