#include "LockTestSupport.h"

#include "suite/dbkit/DbError.h"
#include "suite/locks/LockTable.h"
#include "support/StoppedBackend.h"

#include <QDateTime>
#include <QSysInfo>
#include <QCoreApplication>

using namespace lockstest;
using testsupport::TestEngine;

namespace {

TEST_P(LockTest, HolderTakesReleasesAndOthersAreRefused)
{
    ASSERT_TRUE(lock(*alice, {"01"}));
    auto row = alice->OpenDataSet("SELECT * FROM LockRecords", dbkit::OpenMode::ReadOnly);
    ASSERT_EQ(row->RecordCount(), 1);
    EXPECT_EQ(row->Fields("cOperator").toString(), "alice");
    EXPECT_EQ(row->Fields("cComputer").toString(), "PC-A");
    EXPECT_EQ(row->Fields("cSystem").toString(), "AA");
    EXPECT_EQ(row->Fields("cMode").toString(), "a");
    EXPECT_EQ(row->Fields("cConnection").toString(), alice->connectionId());

    EXPECT_FALSE(lock(*bob, {"01"}));
    // The refused operator can be told who holds it.
    const std::optional<locks::LockRow> holder = locker.Holder(*bob, "BJ", "01");
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->operatorName, "alice");
    EXPECT_EQ(holder->computer, "PC-A");
    // The list unlocks after a refused lock too: that must not free alice's lock.
    EXPECT_FALSE(unlock(*bob, {"01"}));
    EXPECT_FALSE(lock(*bob, {"01"}));
    // The same operator on another connection is another holder.
    auto aliceAgain = db.connect("alice", "PC-A");
    EXPECT_FALSE(lock(*aliceAgain, {"01"}));

    // Re-entrant for the holder; the lock kind is part of the key.
    EXPECT_TRUE(lock(*alice, {"01"}));
    EXPECT_EQ(rowsFor("01"), 1);
    EXPECT_TRUE(locker.LockRecords(*bob, "CH", "AA", "a", "PC-B", {"01"}));

    EXPECT_TRUE(unlock(*alice, {"01"}));
    EXPECT_FALSE(unlock(*alice, {"01"}));
    EXPECT_FALSE(locker.Holder(*bob, "BJ", "01"));
    EXPECT_TRUE(lock(*bob, {"01"}));
}

TEST_P(LockTest, AllCodesOfACallOrNone)
{
    ASSERT_TRUE(lock(*bob, {"02"}));
    EXPECT_FALSE(lock(*alice, {"01", "02", "03"}));
    EXPECT_FALSE(alice->inTransaction());
    EXPECT_EQ(rowsFor("01"), 0);
    EXPECT_EQ(rowsFor("03"), 0);

    EXPECT_TRUE(lock(*alice, {"01", "03", "01"}));
    EXPECT_FALSE(lock(*bob, {"03"}));
    EXPECT_TRUE(unlock(*alice, {"01", "03"}));
    EXPECT_EQ(rowsFor("01") + rowsFor("03"), 0);
}

TEST_P(LockTest, CallerTransactionSurvivesARefusedLock)
{
    alice->Execute("CREATE TABLE Scratch (n integer)");
    ASSERT_TRUE(lock(*bob, {"02"}));
    alice->BeginTrans();
    alice->Execute("INSERT INTO Scratch (n) VALUES (1)");
    EXPECT_FALSE(lock(*alice, {"01", "02"}));
    EXPECT_TRUE(alice->inTransaction());
    alice->Execute("INSERT INTO Scratch (n) VALUES (2)");
    alice->CommitTrans();
    EXPECT_EQ(alice->OpenDataSet("SELECT n FROM Scratch")->RecordCount(), 2);
    EXPECT_EQ(rowsFor("01"), 0);
}

// Within one long transaction of the caller, a holder that connected after
// the caller first judged holders is still seen as alive.
TEST_P(LockTest, HoldersNewerThanTheCallersTransactionAreAlive)
{
    if (GetParam() == TestEngine::SQLite)
        GTEST_SKIP() << "SQLite has one writer at a time: nobody locks during such a transaction";
    ASSERT_TRUE(lock(*bob, {"01"}));
    alice->BeginTrans();
    EXPECT_FALSE(lock(*alice, {"01"}));
    auto carol = db.connect("carol", "PC-C");
    ASSERT_TRUE(lock(*carol, {"02"}));
    EXPECT_FALSE(lock(*alice, {"02"}));
    alice->CommitTrans();
    EXPECT_FALSE(lock(*bob, {"02"}));
}

TEST_P(LockTest, CodesWithQuotesAreKeptApart)
{
    const QString tricky = "O'Brien's";
    const QString injection = "x' OR '1'='1";
    ASSERT_TRUE(lock(*alice, {tricky}));
    EXPECT_FALSE(lock(*bob, {tricky}));
    EXPECT_TRUE(lock(*bob, {injection}));
    EXPECT_TRUE(lock(*bob, {"x"}));
    EXPECT_FALSE(unlock(*alice, {injection}));
    EXPECT_EQ(rowsFor(tricky), 1);
    EXPECT_EQ(rowsFor(injection), 1);
    EXPECT_TRUE(unlock(*alice, {tricky}));
    EXPECT_TRUE(unlock(*bob, {injection}));
    EXPECT_EQ(rowsFor("x"), 1);
}

TEST_P(LockTest, LockOfAClosedConnectionIsTakenOver)
{
    ASSERT_TRUE(lock(*alice, {"01", "02"}));
    EXPECT_FALSE(lock(*bob, {"01"}));
    alice.reset();
    EXPECT_TRUE(lockWithin(*bob, {"01"}));
    auto row = bob->OpenDataSet("SELECT cOperator FROM LockRecords WHERE cCode='01'");
    EXPECT_EQ(row->Fields(0).toString(), "bob");
    EXPECT_EQ(rowsFor("02"), 1);  // taken over only when somebody asks for it
}

TEST_P(LockTest, WaitingOnAnotherWriterEndsInARefusalOrIsToldAsBusy)
{
    // Bob's open transaction writes a lock row for the code, so alice's
    // statements would have to wait: they give up after the kit's timeout.
    // A server tells bob's row lock: another operator is taking the lock. A
    // SQLite file is busy as a whole, which says nothing about who holds it.
    ASSERT_TRUE(lock(*alice, {"00"}));  // the table exists before bob's transaction
    bob->BeginTrans();
    bob->executeBound("INSERT INTO LockRecords (cKind, cCode, cConnection) VALUES (?, ?, ?)",
                      {"BJ", "T", bob->connectionId()});
    if (GetParam() == TestEngine::SQLite) {
        try {
            lock(*alice, {"T"});
            ADD_FAILURE() << "a busy database was taken for a held lock";
        } catch (const dbkit::DbError &e) {
            EXPECT_EQ(e.number(), dbkit::ErrorNumber::DatabaseBusy);
            EXPECT_TRUE(e.description().startsWith(QStringLiteral("账套数据库正忙，请稍后重试。")));
        }
    } else {
        EXPECT_FALSE(lock(*alice, {"T"}));
    }
    EXPECT_FALSE(alice->inTransaction());
    bob->RollbackTrans();
    EXPECT_TRUE(lock(*alice, {"T"}));
}

// Rows written as a vanished or far-away holder would have left them.
TEST_P(LockTest, StaleRowsAreTakenOverAndLiveOnesAreNot)
{
    ASSERT_TRUE(lock(*alice, {"00"}));
    auto plant = [&](const QString &code, const QString &connection, const QDateTime &when,
                     const QVariant &session = QVariant(QMetaType::fromType<QString>())) {
        bob->executeBound("INSERT INTO LockRecords (cKind, cCode, cOperator, cConnection, "
                          "cSession, dLocked) VALUES ('BJ', ?, 'ghost', ?, ?, ?)",
                          {code, connection, session, when.toString(Qt::ISODate)});
    };
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (GetParam() != TestEngine::SQLite) {  // a PostgreSQL server, directly or through ODBC
        for (const auto &[session, expires] : {std::pair{"ran-out", now.addSecs(-1)},
                                               std::pair{"renewed", now.addSecs(3600)}})
            bob->executeBound("INSERT INTO LockSessions (cSession, dExpires) VALUES (?, ?)",
                              {session, expires.toString(Qt::ISODate)});
        // A session without a lease row, one whose lease ran out, a row from
        // before sessions (its backend lives on), and a lease renewed.
        plant("gone", "pg:2147483000", now, "no-lease");
        plant("expired", "pg:2147483001", now, "ran-out");
        plant("sessionless", bob->connectionId(), now);
        plant("live", "pg:2147483002", now, "renewed");
        EXPECT_TRUE(lock(*alice, {"sessionless"}));
    } else {
        const QString host = QSysInfo::machineHostName();
        const qint64 self = QCoreApplication::applicationPid();
        plant("gone", QString("%1:%2:1").arg(host).arg(2147483000), now);
        plant("closed", QString("%1:%2:999999").arg(host).arg(self), now);
        plant("expired", "far-away-pc:4242:1", now.addSecs(-13LL * 3600));
        plant("live", "far-away-pc:4242:1", now.addSecs(-3600));
        EXPECT_TRUE(lock(*alice, {"closed"}));
    }
    EXPECT_TRUE(lock(*alice, {"gone"}));
    EXPECT_TRUE(lock(*alice, {"expired"}));
    EXPECT_FALSE(lock(*alice, {"live"}));
    EXPECT_FALSE(unlock(*alice, {"live"}));
    EXPECT_EQ(rowsFor("live"), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, LockTest, ::testing::ValuesIn(testsupport::kitEngines()),
                         engineLabel);

// Reading the lock table on a frozen PostgreSQL backend gives up at the
// login's time limit instead of freezing the window, and the next lock opens
// a connection of its own that keeps the login's locks. Only libpq's socket
// can be given up on.
class LockStall : public LockTest {};

TEST_P(LockStall, ReadingOnAStoppedServerTimesOutAndTheNextLockReconnects)
{
    ASSERT_TRUE(lock(*alice, {"00"}));  // the table exists
    alice->setStatementTimeout(1000);
    locks::LockTable table(*alice);
    {
        testsupport::StoppedBackend stopped(alice->connectionId().section(':', 1));
        try {
            table.read("BJ", "01");
            ADD_FAILURE() << "a stopped backend answered";
        } catch (const dbkit::DbError &e) {
            EXPECT_EQ(e.number(), dbkit::ErrorNumber::TimedOut);
        }
        // The old backend lives on, stopped: the login, on a new one, still
        // owns and releases its locks, and nobody else takes them.
        EXPECT_TRUE(lock(*alice, {"01"}));
        EXPECT_FALSE(lock(*bob, {"00"}));
        EXPECT_TRUE(unlock(*alice, {"00"}));
    }
    EXPECT_TRUE(unlock(*alice, {"01"}));
}

std::vector<TestEngine> nativeServer()
{
    std::vector<TestEngine> engines;
    for (TestEngine engine : testsupport::kitEngines())
        if (engine == TestEngine::PostgreSQL)
            engines.push_back(engine);
    return engines;
}

INSTANTIATE_TEST_SUITE_P(Engines, LockStall, ::testing::ValuesIn(nativeServer()), engineLabel);

} // namespace
