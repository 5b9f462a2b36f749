#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QMenu;
class RecentFiles;

// Shows a RecentFiles list in a window's Open Recent menu, most recent first, followed by
// Clear Menu, and follows the list as it changes. The menu is disabled while the list is empty.
// Owned by the menu.
class RecentFilesMenu : public QObject {
    Q_OBJECT

  public:
    using OpenFile = std::function<void(const QString& path)>;

    RecentFilesMenu(QMenu* menu, RecentFiles* files, OpenFile open);

  private:
    void rebuild();

    QMenu* menu_;
    RecentFiles* files_;
    OpenFile open_;
};
