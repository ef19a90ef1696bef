// Locks belong to the login's session: they outlive a lost server connection
// once the login has reconnected and whatever a pooler does with the
// session's server connections, and a lock table made before sessions
// existed gets the column.
#include "LockTestSupport.h"

#include "suite/dbkit/DbError.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>

using namespace lockstest;
using testsupport::TestEngine;

namespace {

class LockSessionTest : public LockTest {
protected:
    void terminateBackend(dbkit::DbLogin &login) { testsupport::terminateBackend(*bob, login); }
};

TEST_P(LockSessionTest, OwnerKeepsItsLocksAcrossAReconnect)
{
    if (GetParam() == TestEngine::SQLite)
        GTEST_SKIP() << "an SQLite file has no server connection to lose";
    if (GetParam() == TestEngine::PostgreSQLPooled)
        GTEST_SKIP() << "a pooler hides a server connection lost between transactions";
    ASSERT_TRUE(lock(*alice, {"01", "02"}));
    const QString lostBackend = alice->connectionId();
    terminateBackend(*alice);
    // The first command finds the connection gone, the next opens it again.
    try {
        alice->Execute("SELECT 1");
        ADD_FAILURE() << "a terminated backend answered";
    } catch (const dbkit::DbError &e) {
        EXPECT_EQ(e.number(), dbkit::ErrorNumber::ConnectionFailed);
    }
    alice->Execute("SELECT 1");
    ASSERT_NE(alice->connectionId(), lostBackend);

    EXPECT_FALSE(lock(*bob, {"01"}));
    EXPECT_FALSE(locker.HoldsRecords(*bob, "BJ", {"01"}));
    EXPECT_TRUE(locker.HoldsRecords(*alice, "BJ", {"01", "02"}));
    EXPECT_TRUE(lock(*alice, {"01"}));
    EXPECT_TRUE(unlock(*alice, {"01", "02"}));
    EXPECT_FALSE(locker.HoldsRecords(*alice, "BJ", {"01"}));
    EXPECT_EQ(rowsFor("01") + rowsFor("02"), 0);

    // Once the owner's session is gone for good, its locks are free.
    ASSERT_TRUE(lock(*alice, {"03"}));
    alice.reset();
    EXPECT_TRUE(lockWithin(*bob, {"03"}));
    EXPECT_TRUE(locker.HoldsRecords(*bob, "BJ", {"03"}));
}

// Behind a pooler an idle holder's server connection is lent to other
// clients, who give it names of their own: the holder's lease, renewed from
// a thread of its own, keeps its locks for longer than the lease.
TEST_P(LockSessionTest, AnIdleHolderKeepsItsLocksWhateverBecomesOfItsBackend)
{
    if (GetParam() == TestEngine::SQLite)
        GTEST_SKIP() << "an SQLite file has no server connections to lend";
    const ShortLease lease;
    ASSERT_TRUE(lock(*alice, {"01"}));
    alice->Execute("SET application_name = 'another client'");
    QThread::msleep(ShortLease::length.count() * 5 / 4);
    EXPECT_FALSE(lock(*bob, {"01"}));
    EXPECT_TRUE(locker.HoldsRecords(*alice, "BJ", {"01"}));
}

// An operator signed in as a database user that may not create tables is
// told to have the account set up while the lock tables are missing, with
// its open transaction going on; once they are made its locks are like
// anybody's.
TEST_P(LockSessionTest, LocksOfAnotherDatabaseUserAreLive)
{
    if (GetParam() != TestEngine::PostgreSQL)
        GTEST_SKIP() << "database users of a PostgreSQL server";
    const QString role = QString("locks_user_%1").arg(QCoreApplication::applicationPid());
    bob->Execute("DROP ROLE IF EXISTS " + role);
    bob->Execute("CREATE ROLE " + role + " LOGIN");
    bob->Execute("REVOKE CREATE ON SCHEMA public FROM PUBLIC");
    QUrl url(db.url().section('?', 0, 0));
    url.setUserName(role);
    {
        auto carol = dbkit::DbLogin::open(url.toString() + "?operator=carol&computer=PC-C");
        carol->BeginTrans();
        try {
            lock(*carol, {"01"});
            ADD_FAILURE() << "locked without a lock table";
        } catch (const dbkit::DbError &e) {
            EXPECT_TRUE(e.description().startsWith(
                QStringLiteral("账套缺少数据表 LockRecords，请由系统管理员初始化账套。\n")))
                << e.description().toStdString();
        }
        EXPECT_NO_THROW(carol->Execute("SELECT 1"));
        carol->RollbackTrans();

        ASSERT_TRUE(lock(*bob, {"00"}));  // the tables exist
        bob->Execute("GRANT SELECT, INSERT, DELETE ON LockRecords TO " + role);
        bob->Execute("GRANT SELECT, INSERT, UPDATE, DELETE ON LockSessions TO " + role);
        ASSERT_TRUE(lock(*bob, {"01"}));
        EXPECT_FALSE(lock(*carol, {"01"}));
        ASSERT_TRUE(lock(*carol, {"02"}));
        EXPECT_FALSE(lock(*bob, {"02"}));
        EXPECT_TRUE(unlock(*carol, {"02"}));
    }
    bob->Execute("REVOKE ALL ON LockRecords FROM " + role);
    bob->Execute("REVOKE ALL ON LockSessions FROM " + role);
    bob->Execute("DROP ROLE " + role);
}

TEST_P(LockSessionTest, ALockTableWithoutSessionsGetsTheColumn)
{
    const QString text = GetParam() == TestEngine::SQLite ? "TEXT" : "varchar(120)";
    alice->Execute("CREATE TABLE LockRecords (cKind " + text + " NOT NULL, cCode " + text
                   + " NOT NULL, cSystem " + text + ", cMode " + text + ", cComputer " + text
                   + ", cOperator " + text + ", cConnection " + text + " NOT NULL, dLocked "
                   + (GetParam() == TestEngine::SQLite ? "TEXT" : "timestamp")
                   + ", UNIQUE (cKind, cCode))");
    ASSERT_TRUE(lock(*alice, {"01"}));
    EXPECT_FALSE(lock(*bob, {"01"}));
    EXPECT_TRUE(locker.HoldsRecords(*alice, "BJ", {"01"}));
    EXPECT_TRUE(unlock(*alice, {"01"}));
    EXPECT_TRUE(lock(*bob, {"01"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, LockSessionTest,
                         ::testing::ValuesIn(testsupport::kitEngines()), engineLabel);

} // namespace
