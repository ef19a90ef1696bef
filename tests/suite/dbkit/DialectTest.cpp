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

// A SQL Server account has saved transactions instead of ANSI savepoints,
// and no release; nested guards run what the dialect gives.
TEST(Dialect, SavepointStatements)
{
    const auto odbc = SqlDialect::create(Engine::ODBC);
    EXPECT_EQ(odbc->savepointStatement("g1"), "SAVE TRANSACTION g1");
    EXPECT_EQ(odbc->rollbackToSavepointStatement("g1"), "ROLLBACK TRANSACTION g1");
    EXPECT_EQ(odbc->releaseSavepointStatement("g1"), "");
    const auto pg = SqlDialect::create(Engine::PostgreSQL);
    EXPECT_EQ(pg->savepointStatement("g1"), "SAVEPOINT g1");
    EXPECT_EQ(pg->rollbackToSavepointStatement("g1"), "ROLLBACK TO SAVEPOINT g1");
    EXPECT_EQ(pg->releaseSavepointStatement("g1"), "RELEASE SAVEPOINT g1");
}

TEST(Dialect, FirstRowsOfASelect)
{
    const QString select = " select iId FROM ChangeHistory ORDER BY iId DESC";
    EXPECT_EQ(SqlDialect::create(Engine::ODBC)->firstRows(select, 50),
              " select TOP 50 iId FROM ChangeHistory ORDER BY iId DESC");
    EXPECT_EQ(SqlDialect::create(Engine::SQLite)->firstRows(select, 50), select + " LIMIT 50");
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

TEST(Dialect, PostgresStateAfterTheOdbcMessage)
{
    const auto pg = SqlDialect::create(Engine::PostgreSQL);
    auto number = [&](const QString &text) {
        return pg->errorNumber(QSqlError("QODBC", text, QSqlError::StatementError, "1"), false);
    };
    // A server that answers in another language is told by its SQLSTATE.
    EXPECT_EQ(number("FEHLER: doppelter Schlüsselwert, 23505"), ErrorNumber::DuplicateKey);
    EXPECT_EQ(number("FEHLER: Sperrzeitüberschreitung, 01000;55P03"), ErrorNumber::RecordLocked);
    EXPECT_EQ(number("ERROR: value too long for type character varying(10), HY000"),
              ErrorNumber::ValueTooLong);
    EXPECT_EQ(number("ERROR: syntax error at or near \"x, y\", 42601"), ErrorNumber::General);
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

// Values and quoted names that look like what the dialect rewrites reach the
// engine exactly as written.
TEST_P(DialectOnEngine, QuotedTextIsNeverRewritten)
{
    db().Execute("INSERT INTO Store (cWhCode, cWhName) VALUES ('lxsystem..', 'a lxsystem..x b')");
    db().Execute("INSERT INTO Store (cWhCode, cWhName) VALUES ('lxsystem.', 'y')");
    db().Execute("INSERT INTO Store (cWhCode, cWhName) VALUES ('round(a,1)', 'z round(x,1) z')");
    auto count = [&](const QString &where) {
        return db().OpenDataSet("select count(*) from Store where " + where)->Fields(0).toInt();
    };
    db().Execute("delete from Store where cWhCode='lxsystem..'");
    EXPECT_EQ(count("cWhCode='lxsystem..'"), 0);
    EXPECT_EQ(count("cWhCode='lxsystem.'"), 1);
    EXPECT_EQ(count("cWhName like '%round(x,1)%'"), 1);
    db().Execute("delete from Store where cWhCode='round(a,1)'");
    EXPECT_EQ(count("cWhCode like 'round%'"), 0);
    db().Execute("INSERT INTO Store (cWhCode, cWhName) VALUES ('lxsystem..', 'a lxsystem..x b')");
    auto rs = db().OpenDataSet("select cWhCode from Store where cWhName like '%lxsystem..x%'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields(0).toString(), "lxsystem..");
    rs->FindFirst("cWhCode='lxsystem..'");
    EXPECT_FALSE(rs->NoMatch());

    rs = db().OpenDataSet("SELECT 'FROM a RIGHT JOIN b ON' AS t, cWhCode AS \"lxsystem..x\" "
                          "FROM Store WHERE cWhCode='01'");
    EXPECT_EQ(rs->Fields("t").toString(), "FROM a RIGHT JOIN b ON");
    EXPECT_EQ(rs->FieldName(1), "lxsystem..x");
}

// Private-use characters (user-defined CJK characters live there) are text
// like any other: statements holding them are still adapted to the engine.
TEST_P(DialectOnEngine, PrivateUseCharactersAreText)
{
    const QString value = QString(QChar(0xE000)) + "仓" + QChar(0xE001) + QChar(0xF8FF);
    db().Execute("CREATE TABLE lxsystem..Probe (k varchar(10) PRIMARY KEY, v varchar(20))");
    db().Execute("INSERT INTO lxsystem..Probe VALUES ('a', '" + value + "')");
    db().executeBound("INSERT INTO lxsystem..Probe VALUES (?, ?)", {"b", value});
    auto rs = db().OpenDataSet("select k, v from lxsystem..Probe where v = '" + value
                               + "' order by k");
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields("v").toString(), value);
    db().Execute("delete from lxsystem..Probe where k = 'a' and v = '" + value + "'");
    EXPECT_EQ(db().OpenDataSet("select count(*) from lxsystem..Probe")->Fields(0).toInt(), 1);
}

// SELECT @@identity is the key of this connection's own last insert.
TEST_P(DialectOnEngine, IdentityIsThisConnectionsOwnLastInsert)
{
    if (GetParam().engine == testsupport::TestEngine::PostgreSQLPooled)
        GTEST_SKIP() << "through a pooler the last insert is the connection's own only inside "
                        "the insert's transaction, where the services read it";
    auto bob = other();
    auto insert = [](DbLogin &login, const QString &user) {
        login.Execute("INSERT INTO Grants (cWhCode, cUser) VALUES ('01', '" + user + "')");
    };
    auto identity = [](DbLogin &login) {
        return login.OpenDataSet("SELECT @@identity")->Fields(0).toLongLong();
    };
    auto idOf = [&](const QString &user) {
        return db().OpenDataSet("select Auto_ID from Grants where cUser='" + user + "'")
            ->Fields(0).toLongLong();
    };
    insert(db(), "a1");
    insert(*bob, "b1");
    EXPECT_EQ(identity(db()), idOf("a1"));
    insert(db(), "a2");
    EXPECT_EQ(identity(*bob), idOf("b1"));
    EXPECT_EQ(identity(db()), idOf("a2"));
}

DBKIT_ENGINES(DialectOnEngine);
