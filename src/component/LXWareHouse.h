#pragma once

#include "export/DepotbaseExport.h"
#include "suite/dbkit/DbLogin.h"

#include <QString>
#include <QVariant>
#include <memory>

// The component's one public class. A host creates it, may switch it to the
// basic version, hands it an open login and the read-only flag (Init) and
// calls Show, which runs the warehouse list modally until the user closes it.
// The component owns its list window: Init creates it, Show shows it, and it
// goes with the component (or when the application quits, if that is first).
class DEPOTBASE_EXPORT LXWareHouse {
public:
    LXWareHouse();
    ~LXWareHouse();
    LXWareHouse(const LXWareHouse &) = delete;
    LXWareHouse &operator=(const LXWareHouse &) = delete;

    // The host's login object, set by Init.
    dbkit::DbLoginPtr mdbObject;
    // Read-only flag, set by Init: the list's data set opens read-only and
    // every command that would write is refused.
    bool blnReadOnly = false;

    // Shows the warehouse list modally; returns when it is closed. Without a
    // successful Init it tells the user and returns without a window.
    void Show();
    // Keeps the login and flag and opens the warehouse list's data set.
    // False when the data set could not be opened.
    bool Init(dbkit::DbLoginPtr dbase, bool blnread);
    // Switches the windows loaded from now on to the basic version.
    // Always returns an empty variant.
    QVariant SetBasicVersion(bool blnBasicVersion);
    // Opens the warehouse-rights editor directly on the login given to Init,
    // modally; a shortcut for hosts that manage rights without the list.
    void ShowAuthorityEditor();

    // Folder where the print-work files are kept (default: the application's
    // data folder).
    static void setSystemFolder(const QString &folder);

private:
    struct Windows;
    std::unique_ptr<Windows> m_windows;
};

// Plain C entry points for hosts that load the library at run time.
extern "C" {
DEPOTBASE_EXPORT LXWareHouse *depotbase_create_warehouse();
DEPOTBASE_EXPORT void depotbase_destroy_warehouse(LXWareHouse *instance);
// The library's version ("1.0.0") and description ("仓库档案(SQL)").
DEPOTBASE_EXPORT const char *depotbase_version();
DEPOTBASE_EXPORT const char *depotbase_description();
}
