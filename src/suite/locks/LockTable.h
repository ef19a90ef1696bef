#pragma once

#include "suite/locks/LockHolders.h"

#include <QString>
#include <optional>

namespace dbkit {
class DbLogin;
}

namespace locks {

// The statements on table LockRecords in the login's engine. Values are
// bound, so codes may hold any character.
class LockTable {
public:
    // Creates the table when the database has none yet (checked once per
    // database and process).
    explicit LockTable(dbkit::DbLogin &login);

    std::optional<LockRow> read(const QString &kind, const QString &code);
    // Throws DbError 3022 when somebody else holds the code meanwhile.
    void insert(const QString &kind, const QString &code, const QString &system,
                const QString &mode, const QString &computer);
    // Deletes the lock of the code when it is held by this connection (and
    // this operator, when given); returns the rows deleted (0 or 1).
    int remove(const QString &kind, const QString &code, const QString &connection,
               const std::optional<QString> &operatorName = std::nullopt);

private:
    void ensureTable();

    dbkit::DbLogin &m_login;
};

} // namespace locks
