#pragma once

// How a host program opens the account it names by URL: the URL may carry
// identity items (?operator=NAME&computer=NAME) on every kind of database,
// and an account that cannot be opened or read is told to the user.

#include "component/LXWareHouse.h"
#include "export/DepotbaseExport.h"
#include "suite/dbkit/DbLogin.h"

#include <QString>

namespace depotbase {

// Opens the account at `url`. A sqlite: file that does not exist is created
// with the demo data when `createDemo` is set, and refused otherwise. Throws
// dbkit::DbError (ConnectionFailed) when the account cannot be opened or its
// tables cannot be read (a damaged file, a file that is no account, a file
// the user may not read).
DEPOTBASE_EXPORT dbkit::DbLoginPtr OpenHostAccount(const QString &url, bool createDemo);

struct HostAccount {
    QString url;
    bool createDemo = false;
    bool readOnly = false;
    // Whether the warehouse list is opened too (Init); the authority editor
    // needs only the login.
    bool openList = true;
};

// Opens the account for a host's windows and hands it to `component` (Init,
// or the login and read-only flag alone). When that fails the user is told
// in Chinese in a critical message box and the text is returned, for the
// host to write to standard error as well; "" when the component is ready.
DEPOTBASE_EXPORT QString OpenAccountForWindows(LXWareHouse &component,
                                               const HostAccount &account);

} // namespace depotbase
