#include "DbKitFixture.h"

#include "suite/dbkit/DbDataSet.h"

using namespace dbkit;

class DataSetRead : public DbKitTest {};

TEST_P(DataSetRead, ListStatementKeepsStoresWithoutDepartment)
{
    auto rs = db().OpenDataSet(listSql(), OpenMode::ReadOnly);
    ASSERT_EQ(rs->RecordCount(), 3);
    EXPECT_FALSE(rs->BOF());
    EXPECT_FALSE(rs->Eof());
    EXPECT_EQ(rs->FieldCount(), 6);
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "01");
    EXPECT_EQ(rs->Fields("Dept.cDepName").toString(), "采购部");
    EXPECT_EQ(rs->Fields("STORE.CWHNAME").toString(), "Main store");
    rs->MoveLast();
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "03");
    EXPECT_TRUE(rs->Fields("cDepName").isNull());
    EXPECT_EQ(rs->Fields("cWhName").toString(), "O'Brien");
    EXPECT_EQ(rs->FieldIndex("nothing"), -1);
    EXPECT_EQ(errorOf([&] { rs->Fields("nothing"); }), ErrorNumber::UnknownField);
}

TEST_P(DataSetRead, MovesStopAtTheEnds)
{
    auto rs = db().OpenDataSet("select cWhCode from Store order by cWhCode");
    rs->MovePrevious();
    EXPECT_TRUE(rs->BOF());
    EXPECT_FALSE(rs->Eof());
    EXPECT_EQ(errorOf([&] { rs->Fields(0); }), ErrorNumber::NoCurrentRecord);
    rs->MovePrevious();  // stays before the first
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(0).toString(), "01");
    rs->MoveNext();
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(0).toString(), "03");
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_FALSE(rs->BOF());
    rs->MoveNext();
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields(0).toString(), "03");
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields(0).toString(), "01");

    auto empty = db().OpenDataSet("select * from Store where cWhCode = 'none'");
    EXPECT_TRUE(empty->BOF());
    EXPECT_TRUE(empty->Eof());
    EXPECT_EQ(empty->RecordCount(), 0);
    empty->MoveFirst();
    empty->MoveLast();
    empty->MoveNext();
    EXPECT_TRUE(empty->BOF() && empty->Eof());
}

TEST_P(DataSetRead, CountAndTypes)
{
    auto rs = db().OpenDataSet("Select count(*) From Store Where bPos=0");
    EXPECT_EQ(rs->Fields(0).toInt(), 2);
    auto typed = db().OpenDataSet("select cWhCode, bPos, iQuota from Store order by cWhCode");
    EXPECT_EQ(typed->FieldType(0), 202);
    EXPECT_EQ(typed->FieldType(1), 3);
    EXPECT_EQ(typed->FieldType(2), 131);
    EXPECT_DOUBLE_EQ(typed->Fields(2).toDouble(), 12.45);
    EXPECT_EQ(typed->Fields(1).toInt(), 0);
}

TEST_P(DataSetRead, RequerySeesAnotherOperatorsInsert)
{
    auto rs = db().OpenDataSet("select * from Store order by cWhCode");
    rs->MoveLast();
    other()->Execute("INSERT INTO Store (cWhCode, cWhName) VALUES ('04', 'New')");
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->Requery(-1);
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "01");
}

TEST_P(DataSetRead, SystemPrefixAndIdentityStatements)
{
    db().Execute("CREATE TABLE lxsystem.qd_user (cUser_Id varchar(20) PRIMARY KEY, "
                 "cUser_Name varchar(40))");
    db().Execute("insert into lxsystem..qd_user values ('demo', 'Demo')");
    auto users = db().OpenDataSet("select cuser_id,cuser_name from lxsystem..qd_user "
                                  "where cuser_id='demo' or cuser_name='demo'");
    ASSERT_EQ(users->RecordCount(), 1);
    EXPECT_EQ(users->Fields(1).toString(), "Demo");

    db().Execute("INSERT INTO Grants (cWhCode, cUser) VALUES ('03', 'carol')");
    auto id = db().OpenDataSet("SELECT @@identity");
    auto max = db().OpenDataSet("select max(Auto_ID) from Grants");
    EXPECT_EQ(id->Fields(0).toLongLong(), max->Fields(0).toLongLong());
}

TEST_P(DataSetRead, QuotedValuesSurvive)
{
    const QString name = "it's a 'test'''";
    EXPECT_EQ(quoted("a'b"), "a''b");
    db().Execute("UPDATE Store SET cWhName='" + quoted(name) + "' WHERE cWhCode='01'");
    auto rs = db().OpenDataSet("select cWhName from Store where cWhName='" + quoted(name) + "'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields(0).toString(), name);
}

DBKIT_ENGINES_AND_PATHS(DataSetRead);

// The engine's own library and Qt's driver read the same statement into the
// same values, names, tables and types: a text far longer than any first
// buffer, with characters outside the basic plane, exact numerics, reals,
// Nulls; and a refused statement is the same error either way.
class LoadPaths : public DbKitTest {};

TEST_P(LoadPaths, BothPathsReadTheSameValuesAndErrors)
{
    db().Execute("CREATE TABLE Notes (iNo integer PRIMARY KEY, cBody text, "
                 "nAmount numeric(18,4), fRatio real)");
    const QString longBody = QString("仓库𠀀🙂 note ").repeated(700);
    db().Execute("INSERT INTO Notes VALUES (1, '" + longBody + "', 12345678901234.5678, 0.1)");
    db().Execute("INSERT INTO Notes VALUES (2, '𠀀', 0.5, NULL)");
    db().Execute("INSERT INTO Notes VALUES (3, NULL, NULL, 2.5)");
    // A text column of no stated size, and one of a size its values outgrow
    // (an unbounded varchar is said to hold 255 characters through ODBC).
    const QStringList statements = {
        "SELECT Notes.*, Store.cWhName FROM Notes LEFT JOIN Store "
        "ON Store.cWhCode = '01' ORDER BY Notes.iNo",
        "SELECT iNo, CAST(cBody AS varchar) AS cBody, nAmount FROM Notes ORDER BY iNo"};
    for (const QString &sql : statements) {
        SCOPED_TRACE(sql.toStdString());
        auto direct = db().OpenDataSet(sql);
        dbkit::DbLogin::setDirectLoading(false);
        auto qt = db().OpenDataSet(sql);
        dbkit::DbLogin::setDirectLoading(true);
        ASSERT_EQ(direct->RecordCount(), 3);
        ASSERT_EQ(qt->RecordCount(), 3);
        ASSERT_EQ(direct->FieldCount(), qt->FieldCount());
        for (int c = 0; c < qt->FieldCount(); ++c) {
            EXPECT_EQ(direct->FieldName(c), qt->FieldName(c));
            // Qt's SQLite driver tells a real column from a numeric one by the
            // stored value only, so it calls both numeric.
            if (!isSqlite() || c != direct->FieldIndex("fRatio")) {
                EXPECT_EQ(direct->FieldType(c), qt->FieldType(c)) << c;
            }
        }
        EXPECT_EQ(direct->Fields("cBody").toString(), longBody);
        if (!isSqlite()) {  // SQLite keeps a numeric as a double
            EXPECT_EQ(direct->Fields("nAmount").toString(), "12345678901234.5678");
        }
        for (; !qt->Eof(); qt->MoveNext(), direct->MoveNext())
            for (int c = 0; c < qt->FieldCount(); ++c)
                EXPECT_EQ(direct->Fields(c), qt->Fields(c)) << qt->FieldName(c).toStdString();
    }

    const QString duplicate = "INSERT INTO Dept VALUES ('D1', 'x')";
    dbkit::DbLogin::setDirectLoading(false);
    EXPECT_EQ(errorOf([&] { db().OpenDataSet(duplicate); }), ErrorNumber::DuplicateKey);
    dbkit::DbLogin::setDirectLoading(true);
    EXPECT_EQ(errorOf([&] { db().OpenDataSet(duplicate); }), ErrorNumber::DuplicateKey);
}

DBKIT_ENGINES(LoadPaths);
