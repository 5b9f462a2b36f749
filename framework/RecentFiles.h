#pragma once

#include <QObject>
#include <QStringList>

// The files most recently opened or saved, most recent first, kept in the application's
// settings so that they outlive the run. One list serves every window; `changed` tells them
// when to show it afresh.
class RecentFiles : public QObject {
    Q_OBJECT

  public:
    static constexpr int maximumCount = 10;

    // `settingsKey` names the list in the application's settings.
    explicit RecentFiles(QString settingsKey = QStringLiteral("RecentFiles/files"),
                         QObject* parent = nullptr);

    QStringList files() const { return files_; }
    // Puts the file first (moving it if it is there already) and drops the oldest beyond the
    // maximum. Paths are compared as given: callers pass canonical ones.
    void add(const QString& path);
    void remove(const QString& path);
    void clear();

  signals:
    void changed();

  private:
    void store(QStringList files);

    QString settingsKey_;
    QStringList files_;
};
