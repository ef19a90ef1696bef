// What a PostgreSQL server (directly or through ODBC) can do to a connection:
// answer too late, or drop it.
#include "DbKitFixture.h"

#include "suite/dbkit/DbDataSet.h"

#include <QThread>

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
    db().setStatementTimeout(12345);
    const QString pid = db().connectionId().section(':', 1);
    auto admin = other();
    admin->Execute("select pg_terminate_backend(" + pid + ")");
    // Bounded wait until the server has ended the backend.
    for (int i = 0; i < 200; ++i) {
        if (admin->OpenDataSet("select count(*) from pg_stat_activity where pid = " + pid)
                ->Fields(0).toInt() == 0)
            break;
        QThread::msleep(20);
    }
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

INSTANTIATE_TEST_SUITE_P(Engines, ServerFaults, ::testing::ValuesIn(serverSetups()),
                         kitSetupName);

} // namespace
