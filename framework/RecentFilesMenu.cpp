#include "framework/RecentFilesMenu.h"

#include "framework/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {

// The file's name, with its folder when another entry has the same name.
QString entryText(const QString& path, const QStringList& all) {
    const QString name = QFileInfo(path).fileName();
    const auto sameName = std::count_if(all.begin(), all.end(), [&name](const QString& other) {
        return QFileInfo(other).fileName() == name;
    });
    QString text = name;
    if (sameName > 1)
        text = RecentFilesMenu::tr("%1 (%2)").arg(
            name, QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    // An ampersand in a file name is not a mnemonic.
    return text.replace(u'&', QStringLiteral("&&"));
}

} // namespace

RecentFilesMenu::RecentFilesMenu(QMenu* menu, RecentFiles* files, OpenFile open)
    : QObject(menu)
    , menu_(menu)
    , files_(files)
    , open_(std::move(open)) {
    menu_->setToolTipsVisible(true);
    connect(files_, &RecentFiles::changed, this, &RecentFilesMenu::rebuild);
    rebuild();
}

void RecentFilesMenu::rebuild() {
    // The old entries go later: one of them may be the action being triggered right now.
    for (QAction* old : menu_->actions()) {
        menu_->removeAction(old);
        if (old->parent() == menu_)
            old->deleteLater();
    }
    const QStringList paths = files_->files();
    for (const QString& path : paths) {
        QAction* entry = menu_->addAction(entryText(path, paths));
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setStatusTip(entry->toolTip());
        connect(entry, &QAction::triggered, this, [this, path] { open_(path); });
    }
    menu_->addSeparator();
    QAction* clear = menu_->addAction(tr("&Clear Menu"));
    clear->setObjectName(QStringLiteral("actionClearRecentFiles"));
    connect(clear, &QAction::triggered, files_, &RecentFiles::clear);
    menu_->menuAction()->setEnabled(!paths.isEmpty());
}
