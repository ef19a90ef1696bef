#pragma once

#include "suite/locks/LockHolders.h"

#include <QString>
#include <optional>

namespace dbkit {
class DbLogin;
}

namespace locks {

// The statements on table LockRecords in the login's engine. Values are
// bound or quoted, so codes may hold any character.
class LockTable {
public:
    // Creates the table, and the lease table where the server keeps leases,
    // when the database has none yet (checked once per database and
    // process). A login that may not create them is told to have the
    // account set up.
    explicit LockTable(dbkit::DbLogin &login);

    // Whether a read judges if the holder still lives: a question that only
    // a lock of somebody else needs.
    enum class Liveness { Judged, NotNeeded };
    std::optional<LockRow> read(const QString &kind, const QString &code,
                                Liveness liveness = Liveness::Judged);
    // Throws DbError 3022 when somebody else holds the code meanwhile.
    void insert(const QString &kind, const QString &code, const QString &system,
                const QString &mode, const QString &computer);
    // Deletes the lock of the code when it is this login's own (its session's,
    // whatever its connection is now); returns the rows deleted (0 or 1).
    int removeOwn(const QString &kind, const QString &code);
    // Deletes the lock of the code when `row`'s holder still has it (a
    // takeover); 0 when somebody else changed it meanwhile.
    int removeHeldBy(const QString &kind, const QString &code, const LockRow &row);

private:
    void ensureTables();

    dbkit::DbLogin &m_login;
};

} // namespace locks
