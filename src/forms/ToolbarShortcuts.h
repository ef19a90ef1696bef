#pragma once

#include <QString>
#include <Qt>
#include <functional>
#include <span>

class QKeyEvent;
class QToolBar;
class QWidget;

namespace depotbase {

// A keyboard shortcut of a list window: the key, exactly these modifiers (or
// any), the toolbar command it runs, and how the tool tip names the keys.
struct ToolbarShortcut {
    int key;
    Qt::KeyboardModifiers modifiers;
    bool anyModifiers;
    const char *command;
    const char *keys;
};

// Adds the keys of each button's shortcuts to its tool tip ("刷新 (Ctrl+R)").
void NameShortcutsInToolTips(QToolBar &toolbar, std::span<const ToolbarShortcut> shortcuts);

// The command key of a shortcut ("TlbFind" for Ctrl+K); "" for a key that is
// no shortcut. The modifiers must be exactly the shortcut's.
QString CommandOfKey(const QKeyEvent &event, std::span<const ToolbarShortcut> shortcuts);

// What Ctrl+P asks before printing: a key pressed by accident must not send
// a long list to the printer, so a list of more than one page asks first.
// `list` names the list in the question ("仓库列表").
std::function<bool(int pages)> KeyedPrintConfirmation(QWidget *window, const QString &list);

} // namespace depotbase
