#pragma once

#include "suite/dbkit/DbLogin.h"

#include <QString>
#include <QVariantList>

// The suite's record-lock object. Locks are rows of the account database's
// table LockRecords, unique on (kind, code), so they hold between computers.
// The holder of a lock is the login that took it (operator and connection),
// recorded with the computer name the caller passes.
class LockVouchDLL {
public:
    // Takes the locks of all codes, or none. True when the caller now holds
    // every one of them (also when it held some or all already); False when
    // another live holder has one of them, or when the database made us wait
    // too long. A lock whose holder is gone is taken over. Other database
    // failures are raised as dbkit::DbError after rolling back.
    bool LockRecords(dbkit::DbLogin &login, const QString &kind, const QString &system,
                     const QString &mode, const QString &computer, const QVariantList &codes);

    // Releases the caller's own locks of these codes; locks of other holders
    // are left alone. True when every code was held by the caller and is now
    // released. Never raises: a lock that cannot be released now dies with
    // the caller's connection anyway.
    bool UnlockRecords(dbkit::DbLogin &login, const QString &kind, const QVariantList &codes);
};
