#include "ToolbarShortcuts.h"

#include "data/Catalogue.h"
#include "suite/modal/ModalSeam.h"

#include <QAction>
#include <QKeyEvent>
#include <QStringList>
#include <QToolBar>

namespace depotbase {

void NameShortcutsInToolTips(QToolBar &toolbar, std::span<const ToolbarShortcut> shortcuts)
{
    for (QAction *action : toolbar.actions()) {
        QStringList keys;
        for (const ToolbarShortcut &shortcut : shortcuts)
            if (action->objectName() == QLatin1String(shortcut.command))
                keys << QLatin1String(shortcut.keys);
        if (!keys.isEmpty())
            action->setToolTip(action->toolTip() + QStringLiteral(" (%1)")
                                                       .arg(keys.join(QStringLiteral(", "))));
    }
}

QString CommandOfKey(const QKeyEvent &event, std::span<const ToolbarShortcut> shortcuts)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    for (const ToolbarShortcut &shortcut : shortcuts)
        if (event.key() == shortcut.key && (shortcut.anyModifiers || mods == shortcut.modifiers))
            return QLatin1String(shortcut.command);
    return QString();
}

std::function<bool(int pages)> KeyedPrintConfirmation(QWidget *window, const QString &list)
{
    return [window, list](int pages) {
        return pages <= 1
               || modal::message(window,
                                 QStringLiteral("%1共 %2 页，确实要在默认打印机上打印吗？")
                                     .arg(list)
                                     .arg(pages),
                                 modal::Icon::Question, modal::Buttons::YesNo,
                                 LoadResString(text::MessageCaption))
                      == modal::Answer::Yes;
    };
}

} // namespace depotbase
