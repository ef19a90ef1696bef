// A statement read on a thread of its own, on a login of its own, whose rows
// a data set of the caller's login then takes.
#include "DbKitFixture.h"

#include "suite/dbkit/BackgroundRead.h"
#include "suite/dbkit/DbDataSet.h"

#include <QThread>

using namespace dbkit;

namespace {

class BackgroundReadTest : public DbKitTest {};

// Far more rows than a test waits for: only a cancel ends the read early.
const QString EndlessRows = QStringLiteral(
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000000) "
    "SELECT i FROM n");

TEST_P(BackgroundReadTest, TheRowsBecomeADataSetOfTheCallersLogin)
{
    const QString sql = "select cWhCode, cWhName from Store order by cWhCode";
    BackgroundRead read(temp().url(), sql);
    auto target = db().OpenDataSet("select cWhCode from Store where cWhCode = 'none'",
                                   OpenMode::ReadOnly);
    read.moveRowsInto(*target);
    EXPECT_TRUE(read.finished());
    EXPECT_EQ(read.rowsRead(), 3);
    ASSERT_EQ(target->RecordCount(), 3);
    EXPECT_EQ(target->FieldCount(), 2);
    EXPECT_EQ(target->Fields("cWhName").toString(), "Main store");
    target->MoveLast();
    EXPECT_EQ(target->Fields(1).toString(), "O'Brien");
    // The data set is the statement's own now: a requery reads it again here.
    db().Execute("insert into Store (cWhCode, cWhName) values ('04', 'four')");
    target->Requery();
    EXPECT_EQ(target->RecordCount(), 4);
    EXPECT_EQ(errorOf([&] { read.moveRowsInto(*target); }), ErrorNumber::General);
}

TEST_P(BackgroundReadTest, ACancelledReadEndsAndHandsNothingOver)
{
    if (GetParam().engine == testsupport::TestEngine::ODBC)
        GTEST_SKIP() << "the ODBC driver's read cannot be cancelled";
    BackgroundRead read(temp().url(), EndlessRows);
    QThread::msleep(300);
    EXPECT_FALSE(read.finished());
    read.cancel();
    read.wait();
    auto target = db().OpenDataSet("select cWhCode from Store", OpenMode::ReadOnly);
    EXPECT_EQ(errorOf([&] { read.moveRowsInto(*target); }), ErrorNumber::Cancelled);
    EXPECT_EQ(target->RecordCount(), 3);
}

TEST_P(BackgroundReadTest, AFailingReadIsToldToTheCaller)
{
    BackgroundRead read(temp().url(), "select nothing from NoSuchTable");
    auto target = db().OpenDataSet("select cWhCode from Store", OpenMode::ReadOnly);
    EXPECT_EQ(errorOf([&] { read.moveRowsInto(*target); }), ErrorNumber::General);
    EXPECT_EQ(target->RecordCount(), 3);
}

DBKIT_ENGINES(BackgroundReadTest);

} // namespace
