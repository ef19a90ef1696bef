#pragma once

#include "suite/dbkit/DbLogin.h"
#include "suite/locks/LockHolders.h"

#include <QList>
#include <QString>
#include <QVariantList>
#include <optional>

// The suite's record-lock object. Locks are rows of the account database's
// table LockRecords, unique on (kind, code), so they hold between computers.
// The holder of a lock is the login that took it (operator and the login's
// session, which outlives a reconnect), recorded with the computer name the
// caller passes.
class LockVouchDLL {
public:
    // Takes the locks of all codes, or none. True when the caller now holds
    // every one of them (also when it held some or all already); False when
    // another live holder has one of them or is taking it right now. A lock
    // whose holder is gone is taken over. Other database failures, a busy
    // database among them, are raised as dbkit::DbError after rolling back;
    // after a lost connection the codes are remembered for RetryReleases,
    // since the commit may have been stored with only its answer lost.
    bool LockRecords(dbkit::DbLogin &login, const QString &kind, const QString &system,
                     const QString &mode, const QString &computer, const QVariantList &codes);

    // True when the caller still holds the locks of all codes, so no other
    // operator took one over meanwhile (after the caller's connection was
    // lost for a while, say). A save confirms its lock with it first.
    // Database failures are raised as dbkit::DbError.
    bool HoldsRecords(dbkit::DbLogin &login, const QString &kind, const QVariantList &codes);

    // The lock of a code as stored (computer and operator of its holder), so
    // a refused operator can be told who to ask; nullopt when nobody holds
    // it. Database failures are raised as dbkit::DbError.
    std::optional<locks::LockRow> Holder(dbkit::DbLogin &login, const QString &kind,
                                         const QString &code);

    // Releases the caller's own locks of these codes; locks of other holders
    // are left alone. True when every code was held by the caller and is now
    // released. Never raises: when the database fails the release (it is
    // busy, say), the codes are remembered, ReleaseFailed() tells so, and
    // RetryReleases tries them again.
    bool UnlockRecords(dbkit::DbLogin &login, const QString &kind, const QVariantList &codes);

    // Tries the remembered releases again; those that fail again stay
    // remembered. True when none is left.
    bool RetryReleases(dbkit::DbLogin &login);
    // The last UnlockRecords or RetryReleases met a database failure, and
    // its text.
    bool ReleaseFailed() const { return m_releaseFailed; }
    QString LastReleaseError() const { return m_lastReleaseError; }
    bool HasPendingReleases() const { return !m_pending.isEmpty(); }

private:
    struct PendingRelease {
        QString kind;
        QString code;
        bool operator==(const PendingRelease &) const = default;
    };
    // Releases the codes in one transaction; false on a database failure.
    bool release(dbkit::DbLogin &login, const QString &kind, const QVariantList &codes,
                 bool &allReleased);
    void remember(const QString &kind, const QVariantList &codes);

    QList<PendingRelease> m_pending;
    bool m_releaseFailed = false;
    QString m_lastReleaseError;
};
