#pragma once

#include "support/TestDatabases.h"
#include "suite/locks/LockVouchDLL.h"
#include "suite/locks/SessionLease.h"

#include <QString>
#include <QVariantList>
#include <gtest/gtest.h>

namespace lockstest {

// A lease short enough to see run out within a test; the usual one again
// afterwards.
struct ShortLease {
    static constexpr std::chrono::milliseconds length{2000};
    ShortLease() { locks::setSessionLease(length); }
    ~ShortLease() { locks::setSessionLease(locks::sessionLease); }
    ShortLease(const ShortLease &) = delete;
    ShortLease &operator=(const ShortLease &) = delete;
};

// One database per test with two operators on different computers.
class LockTest : public ::testing::TestWithParam<testsupport::TestEngine> {
protected:
    LockTest()
        : db(GetParam()), alice(db.connect("alice", "PC-A")), bob(db.connect("bob", "PC-B"))
    {
    }

    // What the list window passes: kind "BJ", system "AA", mode "a".
    bool lock(dbkit::DbLogin &login, const QVariantList &codes)
    {
        return locker.LockRecords(login, "BJ", "AA", "a", login.computerName(), codes);
    }
    bool unlock(dbkit::DbLogin &login, const QVariantList &codes)
    {
        return locker.UnlockRecords(login, "BJ", codes);
    }
    // Lock rows stored for one code.
    long rowsFor(const QString &code)
    {
        auto rows = bob->OpenDataSet("SELECT cCode FROM LockRecords WHERE cKind='BJ' AND cCode='"
                                         + dbkit::quoted(code) + "'",
                                     dbkit::OpenMode::ReadOnly);
        return rows->RecordCount();
    }
    // Retries for a while: a dead holder's PostgreSQL backend goes away
    // shortly after its client, not at once.
    bool lockWithin(dbkit::DbLogin &login, const QVariantList &codes, int seconds = 10);

    testsupport::TempDatabase db;
    dbkit::DbLoginPtr alice;
    dbkit::DbLoginPtr bob;
    LockVouchDLL locker;
};

std::string engineLabel(const ::testing::TestParamInfo<testsupport::TestEngine> &info);

} // namespace lockstest
