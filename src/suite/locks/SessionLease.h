#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

namespace dbkit {
class DbLogin;
}

namespace locks {

// Where the server judges holders by their leases (LockSessions), a login
// that may hold locks keeps a row there whose end its process renews every
// quarter lease. A holder that crashed stops renewing: its locks can be taken
// over at most this long after its last renewal.
constexpr std::chrono::milliseconds sessionLease{20000};

// The lease in force: sessionLease unless a test set a shorter one.
std::chrono::milliseconds currentSessionLease();
void setSessionLease(std::chrono::milliseconds lease);

// Makes the lease table when the database has none (only where holders keep
// leases).
void ensureLeaseTable(dbkit::DbLogin &login);

// Renews the login's own lease, making its row when it has none yet; the
// lock-taking transaction runs it, so its locks are stored with a fresh
// lease. Nothing unless the server judges holders by leases.
void renewOwnLease(dbkit::DbLogin &login);

// For the renewal thread, on a login of its own: renews the leases of these
// sessions in one statement (passing over a row a lock-taking transaction
// holds, which renews it itself), ends the leases of closed logins, and
// clears away rows of sessions whose lease ran out long ago.
void renewLeases(dbkit::DbLogin &login, const QStringList &sessions);
void endLeases(dbkit::DbLogin &login, const QStringList &sessions);
void clearLongExpiredLeases(dbkit::DbLogin &login);

} // namespace locks
