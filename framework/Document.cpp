#include "framework/Document.h"

#include "framework/DocumentWindow.h"
#include "framework/FileReading.h"

#include <QFileInfo>

Document::Document() = default;

Document::~Document() {
    deleteWindow();
}

void Document::windowControllerDidLoadNib(DocumentWindow* /*window*/) {}

bool Document::readFromFile(const QString& path, const QString& type, qint64 maximumSize,
                            QString* reason, const std::atomic<bool>* cancelled) {
    const std::optional<QByteArray> data = readRegularFile(path, maximumSize, reason);
    return data && !(cancelled && *cancelled) && loadDataRepresentation(*data, type, reason);
}

Document::DataEncoder Document::dataEncoderOfType(const QString& type) const {
    QString failure;
    std::optional<QByteArray> data = dataRepresentationOfType(type, &failure);
    return [data = std::move(data), failure](QString* reason) {
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
