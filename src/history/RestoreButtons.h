#pragma once

#include "forms/ToolbarShortcuts.h"
#include "services/HistoryRestore.h"
#include "services/ServiceResult.h"

#include <QString>
#include <array>

class QToolBar;
class QWidget;

// The history window's two restore commands on its toolbar: 恢复 puts back a
// deleted warehouse or right, 恢复此前的值 the values a changed warehouse had
// before the change. Each is enabled only on a row it applies to; a
// read-only seat shows neither.
namespace restorebuttons {

inline constexpr char Restore[] = "TlbRestore";
inline constexpr char RestoreEarlier[] = "TlbRestoreEarlier";

inline constexpr std::array<depotbase::ToolbarShortcut, 2> Shortcuts{{
    {Qt::Key_Z, Qt::ControlModifier, false, Restore, "Ctrl+Z"},
    {Qt::Key_B, Qt::ControlModifier, false, RestoreEarlier, "Ctrl+B"},
}};

// Gives the two buttons the toolbar was built with their captions and tool
// tips, or hides them on a read-only seat.
void setUp(QToolBar &toolbar, bool readOnly);

// Enables the button that applies to a row offering `kind`, the other not.
void follow(QToolBar &toolbar, services::RestoreKind kind, bool readOnly);

// The restore command a toolbar key runs; None for other keys.
services::RestoreKind kindOfCommand(const QString &key);

// Tells what a restore answered: a refusal, or a note beside a success; a
// plain success says nothing.
void tell(QWidget *window, const services::ServiceResult &answer);

} // namespace restorebuttons
