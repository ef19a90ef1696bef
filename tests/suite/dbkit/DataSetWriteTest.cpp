#include "DbKitFixture.h"

#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/SqlDialect.h"
#include "suite/dbkit/internal/LoginAccess.h"

using namespace dbkit;

class DataSetWrite : public DbKitTest {
protected:
    QVariant stored(const QString &sql)
    {
        auto rs = db().OpenDataSet(sql);
        return rs->Eof() ? QVariant() : rs->Fields(0);
    }
};

TEST_P(DataSetWrite, AddNewReadsBackTheIdentityAndDefaults)
{
    auto rs = db().OpenDataSet("select * from Grants order by Auto_ID");
    ASSERT_EQ(rs->RecordCount(), 2);
    rs->AddNew();
    EXPECT_TRUE(rs->isEditing());
    rs->Collect("cWhCode", "03");
    rs->Collect("cuser", "carol");
    EXPECT_EQ(rs->Fields("CUSER").toString(), "carol");
    rs->Update();
    EXPECT_FALSE(rs->isEditing());
    EXPECT_EQ(rs->RecordCount(), 3);
    const qlonglong id = rs->Fields("Auto_ID").toLongLong();
    EXPECT_GT(id, 2);
    EXPECT_EQ(rs->Fields(0).toLongLong(), id);
    EXPECT_EQ(rs->Fields("bDispMoney").toInt(), 0);  // the column default, read back
    EXPECT_EQ(stored("select cUser from Grants where Auto_ID=" + QString::number(id)).toString(),
              "carol");

    // A flag written as a boolean is stored as 0/1.
    rs->AddNew();
    rs->Collect("cWhCode", "01");
    rs->Collect("bDispMoney", true);
    rs->Update();
    EXPECT_EQ(rs->Fields("bDispMoney").toInt(), 1);
    EXPECT_EQ(stored("select count(*) from Grants where bDispMoney=1").toInt(), 1);
}

TEST_P(DataSetWrite, EditWritesTheBaseTableOfAJoin)
{
    auto rs = db().OpenDataSet(listSql());
    rs->FindFirst("cWhCode='02'");
    rs->Edit();
    rs->Collect("cWhName", "Second");
    rs->Collect("cDepName", "ignored");  // the joined table's column is not written
    rs->Collect("iQuota", 7.5);
    rs->Update();
    EXPECT_EQ(rs->Fields("cWhName").toString(), "Second");
    EXPECT_DOUBLE_EQ(rs->Fields("iQuota").toDouble(), 7.5);
    EXPECT_EQ(stored("select cWhName from Store where cWhCode='02'").toString(), "Second");
    EXPECT_EQ(stored("select cDepName from Dept where cDepCode='D2'").toString(), "Sales");

    // The key itself may change (03 has no rights); the row is found by its old key.
    rs->FindFirst("cWhCode='03'");
    rs->Edit();
    rs->Collect("cWhCode", "33");
    rs->Update();
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "33");
    EXPECT_EQ(stored("select count(*) from Store where cWhCode='33'").toInt(), 1);
    EXPECT_EQ(stored("select count(*) from Store where cWhCode='03'").toInt(), 0);
}

TEST_P(DataSetWrite, EditThenFindFirstWritesTheFoundRecord)
{
    auto rs = db().OpenDataSet("select * from Grants");
    rs->MoveLast();
    rs->Edit();
    rs->FindFirst("Auto_ID=1");
    ASSERT_FALSE(rs->NoMatch());
    rs->Collect("cUser", "zed");
    rs->Update();
    EXPECT_EQ(stored("select cUser from Grants where Auto_ID=1").toString(), "zed");
    EXPECT_EQ(stored("select cUser from Grants where Auto_ID=2").toString(), "bob");

    // Moving away from collected values stores them, as a recordset does.
    rs->Edit();
    rs->Collect("cUser", "moved");
    rs->MoveNext();
    EXPECT_FALSE(rs->isEditing());
    EXPECT_EQ(stored("select cUser from Grants where Auto_ID=1").toString(), "moved");
}

TEST_P(DataSetWrite, DeleteRemovesTheCurrentRecordOnly)
{
    auto rs = db().OpenDataSet("select * from Grants order by Auto_ID");
    rs->FindFirst("Auto_id=1");
    rs->Delete(1);
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields("cUser").toString(), "bob");
    EXPECT_EQ(stored("select count(*) from Grants").toInt(), 1);
    rs->Delete();
    EXPECT_TRUE(rs->Eof() && rs->BOF());
    EXPECT_EQ(stored("select count(*) from Grants").toInt(), 0);
}

TEST_P(DataSetWrite, CancelAndMisuse)
{
    auto rs = db().OpenDataSet("select * from Store order by cWhCode");
    EXPECT_EQ(errorOf([&] { rs->Update(); }), ErrorNumber::NotEditing);
    EXPECT_EQ(errorOf([&] { rs->Collect("cWhName", "x"); }), ErrorNumber::NotEditing);
    rs->Edit();
    EXPECT_EQ(errorOf([&] { rs->Collect("noSuchColumn", "x"); }), ErrorNumber::UnknownField);
    rs->Collect("cWhName", "changed");
    rs->CancelUpdate();
    EXPECT_EQ(rs->Fields("cWhName").toString(), "Main store");
    EXPECT_EQ(stored("select cWhName from Store where cWhCode='01'").toString(), "Main store");

    auto joined = db().OpenDataSet("select * from Store, Dept");
    joined->Edit();
    joined->Collect("cWhName", "x");
    EXPECT_EQ(errorOf([&] { joined->Update(); }), ErrorNumber::General);
}

TEST_P(DataSetWrite, ReadOnlyRefusesEveryWrite)
{
    auto rs = db().OpenDataSet(listSql(), OpenMode::ReadOnly);
    EXPECT_EQ(rs->openMode(), OpenMode::ReadOnly);
    EXPECT_EQ(errorOf([&] { rs->AddNew(); }), ErrorNumber::ReadOnlyDataSet);
    EXPECT_EQ(errorOf([&] { rs->Edit(); }), ErrorNumber::ReadOnlyDataSet);
    EXPECT_EQ(errorOf([&] { rs->Delete(); }), ErrorNumber::ReadOnlyDataSet);
    EXPECT_EQ(stored("select count(*) from Store").toInt(), 3);
}

TEST_P(DataSetWrite, TransactionsAndTheGuard)
{
    db().BeginTrans();
    EXPECT_TRUE(db().inTransaction());
    db().Execute("delete from Grants");
    db().RollbackTrans();
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(stored("select count(*) from Grants").toInt(), 2);
    {
        TransactionGuard guard(db());
        db().Execute("delete from Grants where Auto_ID=1");
    }
    EXPECT_EQ(stored("select count(*) from Grants").toInt(), 2);
    {
        TransactionGuard guard(db());
        db().Execute("delete from Grants where Auto_ID=1");
        guard.commit();
    }
    EXPECT_EQ(stored("select count(*) from Grants").toInt(), 1);
    EXPECT_EQ(db().executeBound("update Grants set cUser = ? where cUser = ?", {"o'k", "bob"}), 1);
    EXPECT_EQ(stored("select cUser from Grants").toString(), "o'k");
}

// Writes find a record by its primary key, read from the catalogue in key
// order; a table without one refuses every data-set write.
TEST_P(DataSetWrite, KeysFromTheCatalogueAndNoKeyNoWrite)
{
    db().Execute("CREATE TABLE pair (a varchar(5), b varchar(5), c varchar(5), "
                 "PRIMARY KEY (b, a))");
    db().Execute("CREATE TABLE loose (a varchar(5), b integer)");
    db().Execute("INSERT INTO pair VALUES ('1', '2', 'x')");
    db().Execute("INSERT INTO loose VALUES ('x', 1)");
    db().Execute("INSERT INTO loose VALUES ('x', 1)");
    EXPECT_EQ(LoginAccess::tableInfo(db(), "Store").primaryKey.join(',').toLower(), "cwhcode");
    EXPECT_EQ(LoginAccess::tableInfo(db(), "pair").primaryKey.join(','), "b,a");

    auto pair = db().OpenDataSet("select * from pair");
    pair->Edit();
    pair->Collect("c", "y");
    pair->Update();
    EXPECT_EQ(stored("select c from pair where a='1' and b='2'").toString(), "y");

    auto loose = db().OpenDataSet("select * from loose");
    loose->Edit();
    loose->Collect("b", 2);
    EXPECT_EQ(errorOf([&] { loose->Update(); }), ErrorNumber::NoPrimaryKey);
    EXPECT_EQ(errorOf([&] { loose->Delete(); }), ErrorNumber::NoPrimaryKey);
    loose->AddNew();
    loose->Collect("a", "z");
    EXPECT_EQ(errorOf([&] { loose->Update(); }), ErrorNumber::NoPrimaryKey);
    EXPECT_EQ(stored("select count(*) from loose where a='x' and b=1").toInt(), 2);
    EXPECT_EQ(stored("select count(*) from loose").toInt(), 2);
}

// A quota is what was stored, byte for byte: exact decimal text where the
// engine keeps numerics exactly, a double (15 significant digits) on SQLite.
TEST_P(DataSetWrite, ExactNumbersSurviveEditsOfOtherFields)
{
    const QString big = isSqlite() ? "123456789012.345" : "9999999999999.999";
    const QString typed = isSqlite() ? "98765432101.2345" : "1234567890123.4567";
    db().Execute("INSERT INTO Store (cWhCode, cWhName, iQuota) VALUES ('09', 'q', " + big + ")");
    auto rs = db().OpenDataSet("select * from Store order by cWhCode");
    EXPECT_EQ(rs->Fields("iQuota").toString(), "12.45");
    rs->FindFirst("cWhCode='09'");
    EXPECT_EQ(rs->Fields("iQuota").toString(), big);
    rs->Edit();
    rs->Collect("cWhName", "renamed");
    rs->Update();
    EXPECT_EQ(rs->Fields("iQuota").toString(), big);
    EXPECT_EQ(stored("select count(*) from Store where iQuota = " + big).toInt(), 1);

    rs->Edit();
    rs->Collect("iQuota", typed);
    rs->Update();
    EXPECT_EQ(rs->Fields("iQuota").toString(), typed);
    EXPECT_EQ(stored("select count(*) from Store where iQuota = " + typed).toInt(), 1);
    rs->Requery();
    rs->FindFirst("cWhCode='09'");
    EXPECT_EQ(rs->Fields("iQuota").toString(), typed);
}

DBKIT_ENGINES_AND_PATHS(DataSetWrite);
