#pragma once

#include "export/DepotbaseExport.h"

#include <QString>
#include <memory>

namespace dbkit {
class DbLogin;
}

// Account set-up is exported for the host program (--init, the demo account).
namespace depotbase {

// Creates the account tables (and the system database's operator table) on
// the login's engine, optionally with the demo company's data, in one
// transaction. Throws dbkit::DbError when a statement fails; nothing is left
// behind then.
DEPOTBASE_EXPORT void CreateAccountSchema(dbkit::DbLogin &login, bool withDemoData);

// Adds the change history table and its indexes to an account made before
// they existed, leaving everything else as it is; nothing when they are there.
// Two operators may do it at once. Throws dbkit::DbError when it fails (one
// that asks for the account to be set up when the login may not create it).
DEPOTBASE_EXPORT void AddChangeHistory(dbkit::DbLogin &login);

// Opens the SQLite account at `path`; when the file does not exist yet it is
// created with the schema (and the demo data when `demo`). Throws
// dbkit::DbError when the account cannot be opened or created.
DEPOTBASE_EXPORT std::shared_ptr<dbkit::DbLogin> OpenOrCreateSqliteAccount(const QString &path,
                                                                           bool demo);

} // namespace depotbase
