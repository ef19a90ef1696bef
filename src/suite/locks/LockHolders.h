#pragma once

#include <QDateTime>
#include <QString>

namespace dbkit {
class DbLogin;
}

namespace locks {

// One lock as its row stores it.
struct LockRow {
    QString computer;
    QString operatorName;
    QString connection;
    QString session;          // the holder login's session token; empty in old rows
    QDateTime locked;         // UTC; invalid when the row has none
    bool holderGone = false;  // the holder's lease on the server ran out
};

// How long a lock stays valid when nothing can tell whether its holder
// still runs (a holder on another computer sharing an SQLite file).
constexpr qint64 leaseSeconds = 12 * 3600;

// Remembers that this login of this process may hold locks, so that once
// the login's connection is gone its locks count as stale; where the server
// judges holders by leases, keeps the login's lease alive until it closes.
void registerLogin(dbkit::DbLogin &login);

// Whether the lock belongs to this login: to its session, whatever
// connection the login has now (rows without a session: to its connection).
bool isOwnLock(dbkit::DbLogin &login, const LockRow &row);

// Whether the lock's holder is gone (or its lease ran out), so another
// operator may take it over.
bool isStale(dbkit::DbLogin &login, const LockRow &row, const QDateTime &nowUtc);

// The parts of an SQLite connection id: host, process id and the login's
// own number within that process.
struct SqliteHolder {
    QString host;
    qint64 pid = 0;
};
bool parseSqliteConnection(const QString &connectionId, SqliteHolder &holder);

} // namespace locks
