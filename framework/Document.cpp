#include "framework/Document.h"

#include "framework/DocumentWindow.h"
#include "framework/FileReading.h"

#include <QFileInfo>

#include <new>

Document::Document() = default;

Document::~Document() {
    deleteWindow();
}

void Document::windowControllerDidLoadNib(DocumentWindow* /*window*/) {}

bool Document::readFromFile(const QString& path, const QString& type, qint64 maximumSize,
                            QString* reason, BackgroundTask* task) {
    // Reading the bytes is quick beside decoding them: it is the first tenth of the bar.
    try {
        if (task)
            task->setStage(0.0, 0.1);
        const std::optional<QByteArray> data = readRegularFile(path, maximumSize, reason, task);
        if (!data || (task && task->isCancelled()))
            return false;
        if (task)
            task->setStage(0.1, 1.0);
        return loadDataRepresentation(*data, type, reason, task);
    } catch (const std::bad_alloc&) {
        // Whatever runs out of memory on this thread, the program goes on.
        *reason = tr("There is not enough memory to open the file.");
        return false;
    }
}

Document::DataEncoder Document::dataEncoderOfType(const QString& type) const {
    QString failure;
    std::optional<QByteArray> data = dataRepresentationOfType(type, &failure);
    return [data = std::move(data), failure](QString* reason, BackgroundTask* /*task*/) {
        if (!data && reason)
            *reason = failure;
        return data;
    };
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
