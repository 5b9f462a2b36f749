#include "framework/DocumentCommands.h"

#include <QAction>

bool prepareCommand(QAction* command, const char* name, const QList<QKeySequence>& keys) {
    if (!hasCommand(command, name))
        return false;
    command->setShortcuts(keys);
    command->setShortcutContext(Qt::WindowShortcut);
    return true;
}
