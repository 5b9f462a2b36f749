#include "KeyboardShortcuts.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

struct KeyboardShortcuts {
    Q_DECLARE_TR_FUNCTIONS(KeyboardShortcuts)
};

// A menu's command as the list names it: without its mnemonic and its ellipsis.
QString plainText(const QAction* action) {
    QString text = action->text();
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    text.remove(u'…');
    return text;
}

QString keysOf(const QAction* action) {
    QStringList keys;
    for (const QKeySequence& key : action->shortcuts())
        keys.append(key.toString(QKeySequence::NativeText));
    return keys.join(KeyboardShortcuts::tr(", "));
}

QTreeWidgetItem* section(QTreeWidget* list, const QString& title) {
    auto* item = new QTreeWidgetItem(list, {title});
    QFont bold = item->font(0);
    bold.setBold(true);
    item->setFont(0, bold);
    item->setFirstColumnSpanned(true);
    item->setExpanded(true);
    return item;
}

void fill(QTreeWidget* list, QWidget* window) {
    if (auto* bar = window ? window->findChild<QMenuBar*>() : nullptr) {
        for (QAction* menuAction : bar->actions()) {
            QMenu* menu = menuAction->menu();
            if (!menu)
                continue;
            QTreeWidgetItem* heading = nullptr;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator() || action->shortcuts().isEmpty())
                    continue;
                if (!heading)
                    heading = section(list, plainText(menuAction));
                new QTreeWidgetItem(heading, {plainText(action), keysOf(action)});
            }
        }
    }
    QTreeWidgetItem* scene = section(list, KeyboardShortcuts::tr("Scene"));
    const std::pair<const char*, const char*> gestures[] = {
        {QT_TRANSLATE_NOOP("KeyboardShortcuts", "Turn the scene"),
         QT_TRANSLATE_NOOP("KeyboardShortcuts", "Drag, or the arrow keys")},
        {QT_TRANSLATE_NOOP("KeyboardShortcuts", "Move the scene"),
         QT_TRANSLATE_NOOP("KeyboardShortcuts", "Shift+drag, or drag with the middle button")},
        {QT_TRANSLATE_NOOP("KeyboardShortcuts", "Zoom"),
         QT_TRANSLATE_NOOP("KeyboardShortcuts", "Wheel, pinch, or + and -")},
        {QT_TRANSLATE_NOOP("KeyboardShortcuts", "The scene's menu"),
         QT_TRANSLATE_NOOP("KeyboardShortcuts", "Right click, or the Menu key")},
        {QT_TRANSLATE_NOOP("KeyboardShortcuts", "Leave full screen"),
         QT_TRANSLATE_NOOP("KeyboardShortcuts", "Esc")},
    };
    for (const auto& [what, how] : gestures)
        new QTreeWidgetItem(scene, {KeyboardShortcuts::tr(what), KeyboardShortcuts::tr(how)});
}

} // namespace

void showKeyboardShortcuts(QWidget* window) {
    static QPointer<QDialog> shown;
    if (!shown) {
        shown = new QDialog();
        shown->setAttribute(Qt::WA_DeleteOnClose);
        shown->setObjectName(QStringLiteral("keyboardShortcuts"));
        shown->setWindowTitle(KeyboardShortcuts::tr("Keyboard Shortcuts"));
        auto* list = new QTreeWidget(shown);
        list->setColumnCount(2);
        list->setHeaderHidden(true);
        list->setRootIsDecorated(false);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setFocusPolicy(Qt::NoFocus);
        fill(list, window);
        list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, shown);
        QObject::connect(buttons, &QDialogButtonBox::rejected, shown.data(), &QDialog::close);
        auto* layout = new QVBoxLayout(shown);
        layout->addWidget(list);
        layout->addWidget(buttons);
        shown->resize(520, 560);
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
}
