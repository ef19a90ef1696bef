// The decoding thread of large loads lives only while logins are open.
#include "support/TestDatabases.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/internal/DecodeThread.h"

#include <gtest/gtest.h>

namespace {

constexpr int Count = 3000;  // several hand-over chunks: the load lends the thread

int loadAll(dbkit::DbLogin &login)
{
    return login.OpenDataSet("SELECT n, t FROM Numbers ORDER BY n")->RecordCount();
}

} // namespace

TEST(DecodeThread, StopsWithTheLastLoginAndStartsAgainForTheNext)
{
    dbkit::DbLogin::setDirectLoading(true);
    testsupport::TempDatabase temp(testsupport::TestEngine::SQLite);
    {
        auto login = temp.connect();
        login->Execute("CREATE TABLE Numbers (n integer PRIMARY KEY, t varchar(20))");
        dbkit::TransactionGuard transaction(*login);
        for (int i = 0; i < Count; ++i)
            login->executeBound("INSERT INTO Numbers VALUES (?, ?)", {i, QString("row %1").arg(i)});
        transaction.commit();
        ASSERT_EQ(loadAll(*login), Count);
        EXPECT_TRUE(dbkit::decodeThreadRuns());
    }
    EXPECT_FALSE(dbkit::decodeThreadRuns());

    auto again = temp.connect();
    EXPECT_EQ(loadAll(*again), Count);
}
