#pragma once

#include <QString>

namespace depotbase {

// State shared by every window of one loaded component.

// Set only by LXWareHouse::SetBasicVersion; read when the list grid is set up,
// when the filter dialog loads and when the card fills its valuation list.
extern bool blnBasicVersion;

// Folder of the print-work files: the one the host set, else the
// application's data folder (created when missing).
QString SystemFolder();
void setSystemFolder(const QString &folder);

} // namespace depotbase
