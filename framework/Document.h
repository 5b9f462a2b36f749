#pragma once

#include "base/BackgroundTask.h"
#include "base/Result.h"
#include "framework/DocumentCommands.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>

class DocumentWindow;

// One open document of the application's own thin document framework. The DocumentController
// makes documents, gives each its window and reads and writes their files; a document turns
// its content into file data and back, and fills the window it is given.
class Document : public QObject {
    Q_OBJECT

  public:
    Document();
    // Destroys the document's window (and whatever it shows) before the document's own state.
    ~Document() override;

    // The name of the window description (a .ui file, the "nib") this document's window is
    // made from.
    virtual QString windowNibName() const = 0;
    // Builds the window's content from that description and wires it to the document; hands
    // over the description's standard commands, every one of them.
    virtual DocumentCommands loadWindowDescription(DocumentWindow* window) = 0;
    // Called once the window's content is in place, after the .ui file is loaded and its
    // commands wired, before the window is shown.
    virtual void windowControllerDidLoadNib(DocumentWindow* window);

    // The whole file's data, in the format of the file type named `type` (the one the
    // controller was made for), or why the document cannot be written now.
    virtual Result<QByteArray> dataRepresentationOfType(const QString& type) const = 0;
    // What dataRepresentationOfType() does, packed to run on another thread while the document
    // goes on being shown: it holds what it needs (shared data that does not change) and never
    // the document itself. By default the data is made here and now, and only handed over.
    // With a task, it reports its progress there and stops (failing as cancelled) once it is
    // cancelled.
    using DataEncoder = std::function<Result<QByteArray>(BackgroundTask* task)>;
    virtual DataEncoder dataEncoderOfType(const QString& type) const;
    // Reads the whole file's data. A document with no window yet may be read on any thread. A
    // failure leaves the document as it was. With a task, it reports its progress there and
    // stops (failing as cancelled) once it is cancelled.
    virtual Result<void> loadDataRepresentation(const QByteArray& data, const QString& type,
                                                BackgroundTask* task = nullptr) = 0;
    // Reads the file (as readRegularFile() does: no folder, device or pipe, and nothing larger
    // than `maximumSize` bytes) and loads its data. The one way a document is read from a file,
    // for a window and for the command line alike; may run on any thread while the document has
    // no window. With a task, reading and decoding report their progress there and stop once it
    // is cancelled. Running out of memory is a failure like any other.
    Result<void> readFromFile(const QString& path, const QString& type, qint64 maximumSize,
                              BackgroundTask* task = nullptr);

    // The file the document was read from or last saved to; empty for a new document.
    QString filePath() const { return filePath_; }
    void setFilePath(const QString& path);
    // 1 for "Untitled", n for "Untitled n"; 0 once the document has a file.
    int untitledNumber() const { return untitledNumber_; }
    void setUntitledNumber(int number);
    // The file's name, or "Untitled", "Untitled 2", ... for a document without one.
    QString displayName() const;

    DocumentWindow* window() const;
    void setWindow(DocumentWindow* window);

  protected:
    // Deletes the window now; subclasses whose window refers back to them call it first thing
    // in their destructor.
    void deleteWindow();

  private:
    QString filePath_;
    int untitledNumber_ = 0;
    QPointer<DocumentWindow> window_;
};
