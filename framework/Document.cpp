#include "framework/Document.h"

#include "framework/DocumentWindow.h"
#include "framework/files/FileReading.h"

#include <QFileInfo>

#include <new>

Document::Document() = default;

Document::~Document() {
    deleteWindow();
}

void Document::windowControllerDidLoadNib(DocumentWindow* /*window*/) {}

Result<void> Document::readFromFile(const QString& path, const QString& type, qint64 maximumSize,
                                    BackgroundTask* task) {
    // Reading the bytes is quick beside decoding them: it is the first tenth of the bar.
    try {
        if (task)
            task->setStage(0.0, 0.1);
        const Result<QByteArray> data = readRegularFile(path, maximumSize, task);
        if (!data)
            return data.failure();
        if (task && task->isCancelled())
            return Failure::cancel();
        if (task)
            task->setStage(0.1, 1.0);
        return loadDataRepresentation(*data, type, task);
    } catch (const std::bad_alloc&) {
        // Whatever runs out of memory on this thread, the program goes on.
        return Failure::because(tr("there is not enough memory to open the file"));
    }
}

Document::DataEncoder Document::dataEncoderOfType(const QString& type) const {
    return [data = dataRepresentationOfType(type)](BackgroundTask* /*task*/) { return data; };
}

void Document::setFilePath(const QString& path) {
    filePath_ = path;
    if (!path.isEmpty())
        untitledNumber_ = 0;
    if (window_)
        window_->updateTitle();
}

void Document::setUntitledNumber(int number) {
    untitledNumber_ = number;
    if (window_)
        window_->updateTitle();
}

QString Document::displayName() const {
    if (!filePath_.isEmpty())
        return QFileInfo(filePath_).fileName();
    if (untitledNumber_ <= 1)
        return tr("Untitled");
    return tr("Untitled %1").arg(untitledNumber_);
}

DocumentWindow* Document::window() const {
    return window_.data();
}

void Document::setWindow(DocumentWindow* window) {
    window_ = window;
}

void Document::deleteWindow() {
    delete window_.data();
    window_ = nullptr;
}
