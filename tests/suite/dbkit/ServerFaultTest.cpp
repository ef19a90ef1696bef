// What a PostgreSQL server (directly or through ODBC) can do to a connection:
// answer too late, or drop it.
#include "DbKitFixture.h"

#include "suite/dbkit/DbDataSet.h"
#include "support/StoppedBackend.h"


using namespace dbkit;

namespace {

class ServerFaults : public DbKitTest {};

std::vector<KitSetup> serverSetups()
{
    std::vector<KitSetup> setups;
    for (const KitSetup &s : kitSetups(false))
        if (s.engine != testsupport::TestEngine::SQLite)
            setups.push_back(s);
    return setups;
}

TEST_P(ServerFaults, AStatementOverItsTimeLimitFailsAndTheConnectionGoesOn)
{
    db().setStatementTimeout(100);
    EXPECT_EQ(errorOf([&] { db().OpenDataSet("select pg_sleep(30)"); }), ErrorNumber::TimedOut);
    EXPECT_EQ(errorOf([&] { db().Execute("select pg_sleep(30)"); }), ErrorNumber::TimedOut);
    EXPECT_EQ(db().OpenDataSet("select count(*) from Store")->Fields(0).toInt(), 3);
}

TEST_P(ServerFaults, ALostConnectionFailsOneCommandAndTheNextReopensIt)
{
    if (GetParam().engine == testsupport::TestEngine::PostgreSQLPooled)
        GTEST_SKIP() << "a pooler hides a server connection lost between transactions";
    db().setStatementTimeout(12345);
    const QString pid = db().connectionId().section(':', 1);
    testsupport::terminateBackend(*other(), db());
    EXPECT_EQ(errorOf([&] { db().Execute("update Store set cWhName='x' where cWhCode='01'"); }),
              ErrorNumber::ConnectionFailed);
    auto rs = db().OpenDataSet("select current_setting('statement_timeout'), cWhName "
                               "from Store where cWhCode='01'");
    EXPECT_EQ(rs->Fields(0).toString(), "12345ms");
    EXPECT_EQ(rs->Fields(1).toString(), "Main store");
    EXPECT_NE(db().connectionId().section(':', 1), pid);
    db().Execute("update Store set cWhName='y' where cWhCode='01'");
    EXPECT_EQ(db().OpenDataSet("select count(*) from Store where cWhName='y'")->Fields(0).toInt(),
              1);
}

// Only the server's own time limit applies through ODBC, and the server
// cannot apply it in a stopped backend: the client's deadline needs libpq's
// socket, which the ODBC driver keeps to itself.
class StalledServer : public DbKitTest {};

TEST_P(StalledServer, AStatementOnAStoppedBackendIsGivenUpAndTheNextCommandReconnects)
{
    db().setStatementTimeout(1000);
    const QString pid = db().connectionId().section(':', 1);
    {
        testsupport::StoppedBackend stopped(pid);
        try {
            db().OpenDataSet("select count(*) from Store");
            ADD_FAILURE() << "a stopped backend answered";
        } catch (const DbError &e) {
            EXPECT_EQ(e.number(), ErrorNumber::TimedOut);
            EXPECT_TRUE(e.description().contains("未能在规定时间内响应")) << qPrintable(e.description());
        }
        // The next command opens a connection of its own while the old backend still sleeps.
        EXPECT_EQ(db().OpenDataSet("select count(*) from Store")->Fields(0).toInt(), 3);
        EXPECT_NE(db().connectionId().section(':', 1), pid);
    }
    db().Execute("update Store set cWhName='z' where cWhCode='01'");
}

// Given up on in the middle of a transaction, the connection took the
// transaction with it: what follows must not be stored on its own, half of it.
TEST_P(StalledServer, AfterTheDeadlineNothingRunsUntilTheTransactionEnds)
{
    db().setStatementTimeout(1000);
    db().BeginTrans();
    db().Execute("update Store set cWhName='first half' where cWhCode='01'");
    {
        testsupport::StoppedBackend stopped(db().connectionId().section(':', 1));
        EXPECT_EQ(errorOf([&] { db().OpenDataSet("select count(*) from Store"); }),
                  ErrorNumber::TimedOut);
    }
    EXPECT_EQ(errorOf([&] { db().Execute("update Store set cWhName='second half' "
                                         "where cWhCode='02'"); }),
              ErrorNumber::ConnectionFailed);
    EXPECT_EQ(errorOf([&] { db().CommitTrans(); }), ErrorNumber::ConnectionFailed);
    EXPECT_EQ(db().OpenDataSet("select count(*) from Store where cWhName like '%half'")
                  ->Fields(0).toInt(),
              0);
}

std::vector<KitSetup> nativeServerSetups()
{
    std::vector<KitSetup> setups;
    for (const KitSetup &s : kitSetups(true))
        if (s.engine == testsupport::TestEngine::PostgreSQL)
            setups.push_back(s);
    return setups;
}

INSTANTIATE_TEST_SUITE_P(Engines, StalledServer, ::testing::ValuesIn(nativeServerSetups()),
                         kitSetupName);

INSTANTIATE_TEST_SUITE_P(Engines, ServerFaults, ::testing::ValuesIn(serverSetups()),
                         kitSetupName);

} // namespace
