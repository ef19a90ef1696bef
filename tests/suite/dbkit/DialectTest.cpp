#include "DbKitFixture.h"

#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/SqlDialect.h"

using namespace dbkit;

TEST(Dialect, RewritesOnlyWhatTheEngineNeeds)
{
    const auto sqlite = SqlDialect::create(Engine::SQLite);
    const auto pg = SqlDialect::create(Engine::PostgreSQL);
    const auto odbc = SqlDialect::create(Engine::ODBC);
    const QString list = "SELECT Department.cDepName, Warehouse.* FROM Department RIGHT JOIN "
                         "Warehouse ON Department.cDepCode = Warehouse.cDepCode Order By "
                         "Warehouse.cWhCode";
    EXPECT_EQ(sqlite->rewrite(list),
              "SELECT Department.cDepName, Warehouse.* FROM Warehouse LEFT JOIN Department ON "
              "Department.cDepCode = Warehouse.cDepCode Order By Warehouse.cWhCode");
    EXPECT_EQ(pg->rewrite(list), list);
    EXPECT_EQ(odbc->rewrite(list), list);
    // A bare * would change its column order: left alone.
    const QString star = "select * from A right join B on A.x = B.x";
    EXPECT_EQ(sqlite->rewrite(star), star);

    EXPECT_EQ(sqlite->rewrite("select * from lxsystem..qd_user"), "select * from lxsystem.qd_user");
    EXPECT_EQ(pg->rewrite("select * from LXSYSTEM..qd_user"), "select * from lxsystem.qd_user");
    EXPECT_EQ(sqlite->rewrite("SELECT @@identity"), "SELECT last_insert_rowid()");
    EXPECT_EQ(pg->rewrite(" select @@IDENTITY "), "SELECT lastval()");
    EXPECT_EQ(odbc->rewrite("SELECT @@identity"), "SELECT @@identity");
    EXPECT_EQ(pg->rewrite("x And round(iWHFundQuota,1) =12.5"),
              "x And round(CAST(iWHFundQuota AS numeric),1) =12.5");
}

TEST(Dialect, OdbcNativeCodes)
{
    const auto odbc = SqlDialect::create(Engine::ODBC);
    auto number = [&](const QString &code, bool reading = false) {
        return odbc->errorNumber(QSqlError("driver", "db", QSqlError::StatementError, code),
                                 reading);
    };
    EXPECT_EQ(number("2627"), ErrorNumber::DuplicateKey);
    EXPECT_EQ(number("3621;2601"), ErrorNumber::DuplicateKey);
    EXPECT_EQ(number("547"), ErrorNumber::RelatedRecords);
    EXPECT_EQ(number("8152"), ErrorNumber::ValueTooLong);
    EXPECT_EQ(number("1222"), ErrorNumber::RecordLocked);
    EXPECT_EQ(number("1222", true), ErrorNumber::TableExclusive);
    EXPECT_EQ(number("208"), ErrorNumber::General);
}

class DialectOnEngine : public DbKitTest {};

TEST_P(DialectOnEngine, ComponentStatementsRunAsWritten)
{
    db().Execute("CREATE TABLE Position (cPosCode varchar(20) PRIMARY KEY, cWhCode varchar(10))");
    db().Execute("CREATE TABLE Quota (cWhCode varchar(10) PRIMARY KEY, iWHFundQuota "
                 "double precision, bWHPos integer)");
    db().Execute("insert into Position values ('P1', '01')");
    db().Execute("insert into Quota values ('01', 12.45, 0)");
    EXPECT_EQ(db().OpenDataSet("Select count(*) From Position Where cWhCode='01'")->Fields(0).toInt(),
              1);
    auto rs = db().OpenDataSet("select * from Quota where round(iWHFundQuota,1) =12.5 And bWHPos=0");
    EXPECT_EQ(rs->RecordCount(), 1);
    db().Execute("delete  from Position where cwhcode='01'");
    EXPECT_EQ(db().OpenDataSet("select count(*) from Position")->Fields(0).toInt(), 0);
}

DBKIT_ENGINES(DialectOnEngine);
