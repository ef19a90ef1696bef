#include "DbKitFixture.h"

#include "suite/dbkit/DbDataSet.h"

#include <QElapsedTimer>

using namespace dbkit;

class ErrorNumbers : public DbKitTest {};

TEST_P(ErrorNumbers, ConstraintRefusals)
{
    // Duplicate key, by statement and by record.
    EXPECT_EQ(errorOf([&] { db().Execute("INSERT INTO Store (cWhCode) VALUES ('01')"); }),
              ErrorNumber::DuplicateKey);
    auto rs = db().OpenDataSet(listSql());
    rs->AddNew();
    rs->Collect("cWhCode", "02");
    EXPECT_EQ(errorOf([&] { rs->Update(); }), ErrorNumber::DuplicateKey);
    EXPECT_EQ(rs->RecordCount(), 3);

    // Value too long for its column.
    rs->AddNew();
    rs->Collect("cWhCode", "12345678901");
    EXPECT_EQ(errorOf([&] { rs->Update(); }), ErrorNumber::ValueTooLong);
    rs->FindFirst("cWhCode='01'");
    rs->Edit();
    rs->Collect("cWhName", QString(21, QChar(0x4ed3)));
    EXPECT_EQ(errorOf([&] { rs->Update(); }), ErrorNumber::ValueTooLong);

    // Related records: deleting a referenced row, changing a referenced key,
    // pointing at a row that does not exist.
    EXPECT_EQ(errorOf([&] { db().Execute("delete  from Dept where cDepCode='D1'"); }),
              ErrorNumber::RelatedRecords);
    rs->FindFirst("cWhCode='01'");
    EXPECT_EQ(errorOf([&] { rs->Delete(); }), ErrorNumber::RelatedRecords);
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->Edit();
    rs->Collect("cWhCode", "09");
    EXPECT_EQ(errorOf([&] { rs->Update(); }), ErrorNumber::RelatedRecords);
    EXPECT_EQ(rs->Fields("cWhCode").toString(), "01");
    EXPECT_EQ(errorOf([&] { db().Execute("update Store set cDepCode='XX' where cWhCode='03'"); }),
              ErrorNumber::RelatedRecords);

    // Anything else is a general failure carrying the engine's text.
    try {
        db().Execute("select * from NoSuchTable");
        FAIL();
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), ErrorNumber::General);
        EXPECT_FALSE(e.description().isEmpty());
        EXPECT_EQ(e.statement(), "select * from NoSuchTable");
    }
}

TEST_P(ErrorNumbers, RecordDeletedByAnotherOperator)
{
    auto rs = db().OpenDataSet("select * from Store order by cWhCode");
    other()->Execute("delete from Store where cWhCode='03'");
    rs->MoveLast();
    rs->Edit();
    rs->Collect("cWhName", "late");
    EXPECT_EQ(errorOf([&] { rs->Update(); }), ErrorNumber::RecordDeleted);
    EXPECT_FALSE(rs->isEditing());
    EXPECT_EQ(errorOf([&] { rs->Delete(); }), ErrorNumber::RecordDeleted);
}

// A row lock of another operator's open transaction. SQLite locks the whole
// file instead: that is told as a busy database (retry later), in Chinese
// with the engine's text below, never as a record another operator holds.
TEST_P(ErrorNumbers, RecordLockedByAnotherOperator)
{
    const int locked = isSqlite() ? ErrorNumber::DatabaseBusy : ErrorNumber::RecordLocked;
    auto bob = other();
    auto rs = db().OpenDataSet("select * from Store order by cWhCode");
    bob->BeginTrans();
    bob->Execute("update Store set cWhName='bob' where cWhCode='01'");
    rs->Edit();
    rs->Collect("cWhName", "alice");
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(errorOf([&] { rs->Update(); }), locked);
    try {
        db().Execute("delete from Grants where cWhCode='01'");
        EXPECT_FALSE(isSqlite());
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), ErrorNumber::DatabaseBusy);
        EXPECT_TRUE(e.description().startsWith("账套数据库正忙，请稍后重试。\n"));
        EXPECT_TRUE(e.description().contains("locked"));
    }
    EXPECT_LT(timer.elapsed(), 7000);
    EXPECT_GE(timer.elapsed(), 1500);
    bob->RollbackTrans();
    rs->Edit();
    rs->Collect("cWhName", "alice");
    rs->Update();
    EXPECT_EQ(rs->Fields("cWhName").toString(), "alice");
}

TEST_P(ErrorNumbers, TableHeldExclusively)
{
    auto bob = other();
    if (isSqlite()) {
        bob->Execute("BEGIN EXCLUSIVE");
    } else {
        bob->BeginTrans();
        bob->Execute("LOCK TABLE Store IN ACCESS EXCLUSIVE MODE");
    }
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(errorOf([&] { db().OpenDataSet(listSql(), OpenMode::ReadOnly); }),
              ErrorNumber::TableExclusive);
    EXPECT_LT(timer.elapsed(), 3500);
    if (isSqlite())
        bob->Execute("ROLLBACK");
    else
        bob->RollbackTrans();
    EXPECT_EQ(db().OpenDataSet(listSql())->RecordCount(), 3);
}

TEST_P(ErrorNumbers, BadUrlIsAConnectionFailure)
{
    EXPECT_EQ(errorOf([] { DbLogin::open("sqlite:/no/such/folder/account.db"); }),
              ErrorNumber::ConnectionFailed);
    EXPECT_EQ(errorOf([] { DbLogin::open("postgresql://nobody@127.0.0.1:1/none"); }),
              ErrorNumber::ConnectionFailed);
    EXPECT_EQ(errorOf([] { DbLogin::open("mystery:thing"); }), ErrorNumber::ConnectionFailed);
}

TEST_P(ErrorNumbers, IdentityOfALogin)
{
    auto bob = other("bob");
    EXPECT_EQ(db().operatorName(), "alice");
    EXPECT_EQ(db().computerName(), "PC1");
    EXPECT_EQ(bob->operatorName(), "bob");
    // Through a pooler two logins may begin on one server connection.
    if (GetParam().engine != testsupport::TestEngine::PostgreSQLPooled) {
        EXPECT_NE(db().connectionId(), bob->connectionId());
    }
    EXPECT_FALSE(db().connectionId().isEmpty());
    auto plain = DbLogin::open(temp().url());
    EXPECT_FALSE(plain->operatorName().isEmpty());
    EXPECT_FALSE(plain->computerName().isEmpty());
    // The host's --operator sets the operator on a URL, replacing an earlier
    // one and keeping the computer; the database named stays the same.
    const QString url = DbLogin::withOperator(temp().url() + "?operator=x&computer=PC7", "王 & 1");
    auto chosen = DbLogin::open(url);
    EXPECT_EQ(chosen->operatorName(), "王 & 1");
    EXPECT_EQ(chosen->computerName(), "PC7");
    EXPECT_EQ(DbLogin::databaseUrl(url), temp().url());
}

// A NUL would cut the statement short in the engine's client library
// ("delete from Store" + NUL + " where ..." deletes everything), and half a
// UTF-16 pair cannot be stored as itself: both are refused before the engine
// sees them, in statements, criteria and bound values alike.
TEST_P(ErrorNumbers, UnsendableTextNeverReachesTheEngine)
{
    const QString nul(QChar(0));
    const QString half(QChar(0xD800));
    auto refusal = [](const std::function<void()> &call) {
        try {
            call();
        } catch (const DbError &e) {
            const bool told = e.description().contains("NUL") || e.description().contains("代理");
            return told ? e.number() : -1;
        }
        return 0;
    };
    const QString insert = "INSERT INTO Store (cWhCode, cWhName) VALUES (?, ?)";
    for (const QString &bad : {nul, half, QString(QChar(0xDC00)) + "x" + QChar(0xD800)}) {
        EXPECT_EQ(refusal([&] { db().executeBound(insert, {"zz", "a" + bad}); }),
                  ErrorNumber::General);
        auto rs = db().OpenDataSet("select * from Store");
        rs->AddNew();
        rs->Collect("cWhCode", "zz" + bad);
        EXPECT_EQ(refusal([&] { rs->Update(); }), ErrorNumber::General);
        rs->MoveFirst();
        rs->Edit();
        rs->Collect("cWhName", bad);
        EXPECT_EQ(refusal([&] { rs->Update(); }), ErrorNumber::General);
        EXPECT_EQ(refusal([&] { db().Execute("update Store set cWhName='" + bad + "'"); }),
                  ErrorNumber::General);
    }
    // A whole pair is a character like any other.
    const QString pair = QString::fromUcs4(U"\U00020000");
    db().executeBound(insert, {"zz", pair});
    EXPECT_EQ(db().OpenDataSet("select cWhName from Store where cWhCode='zz'")->Fields(0), pair);
    db().Execute("delete from Store where cWhCode='zz'");
    EXPECT_EQ(refusal([&] { db().Execute("delete from Store" + nul + " where cWhCode='zz'"); }),
              ErrorNumber::General);
    EXPECT_EQ(refusal([&] { db().OpenDataSet("select * from Store" + nul + " where 1=0"); }),
              ErrorNumber::General);
    auto rs = db().OpenDataSet("select * from Store");
    EXPECT_EQ(refusal([&] { rs->FindFirst("cWhCode='0" + nul + "1'"); }),
              ErrorNumber::BadCriteria);
    EXPECT_EQ(db().OpenDataSet("select count(*) from Store")->Fields(0).toInt(), 3);
}

DBKIT_ENGINES(ErrorNumbers);
