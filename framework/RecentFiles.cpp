#include "framework/RecentFiles.h"

#include <QSettings>

RecentFiles::RecentFiles(QString settingsKey, QObject* parent)
    : QObject(parent)
    , settingsKey_(std::move(settingsKey))
    , files_(QSettings().value(settingsKey_).toStringList()) {
    files_.removeAll(QString());
    files_.removeDuplicates();
    if (files_.size() > maximumCount)
        files_.resize(maximumCount);
}

void RecentFiles::add(const QString& path) {
    if (path.isEmpty())
        return;
    QStringList files = files_;
    files.removeAll(path);
    files.prepend(path);
    if (files.size() > maximumCount)
        files.resize(maximumCount);
    store(std::move(files));
}

void RecentFiles::remove(const QString& path) {
    QStringList files = files_;
    if (files.removeAll(path) > 0)
        store(std::move(files));
}

void RecentFiles::clear() {
    store(QStringList());
}

void RecentFiles::store(QStringList files) {
    if (files == files_)
        return;
    files_ = std::move(files);
    // Stored as no entry at all when empty: an empty list has no form of its own in the
    // settings file, and Qt would write an invalid value in its place.
    if (files_.isEmpty())
        QSettings().remove(settingsKey_);
    else
        QSettings().setValue(settingsKey_, files_);
    emit changed();
}
