#pragma once

#include <QString>
#include <Qt>
#include <array>
#include <cstddef>
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

// The keys of the commands both lists have: the warehouse list and the
// authority list run them by the same keys.
inline constexpr std::array<ToolbarShortcut, 10> SharedListShortcuts{{
    {Qt::Key_K, Qt::ControlModifier, false, "TlbFind", "Ctrl+K"},
    {Qt::Key_F, Qt::ControlModifier, false, "TlbFilter", "Ctrl+F"},
    {Qt::Key_R, Qt::ControlModifier, false, "TlbRefresh", "Ctrl+R"},
    {Qt::Key_P, Qt::ControlModifier, false, "TlbPrint", "Ctrl+P"},
    {Qt::Key_L, Qt::ControlModifier, false, "TlbPreview", "Ctrl+L"},
    {Qt::Key_O, Qt::ControlModifier, false, "TlbOutput", "Ctrl+O"},
    {Qt::Key_E, Qt::ControlModifier, false, "TlbEdit", "Ctrl+E"},
    {Qt::Key_H, Qt::ControlModifier, false, "TlbHistory", "Ctrl+H"},
    {Qt::Key_F1, Qt::NoModifier, true, "TlbHelp", "F1"},
    {Qt::Key_F4, Qt::AltModifier, false, "TlbExit", "Alt+F4"},
}};

// A list's own keys followed by the shared ones.
template <std::size_t N>
constexpr std::array<ToolbarShortcut, N + SharedListShortcuts.size()>
WithSharedListShortcuts(const std::array<ToolbarShortcut, N> &own)
{
    std::array<ToolbarShortcut, N + SharedListShortcuts.size()> all{};
    std::size_t i = 0;
    for (const ToolbarShortcut &s : own)
        all[i++] = s;
    for (const ToolbarShortcut &s : SharedListShortcuts)
        all[i++] = s;
    return all;
}

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
