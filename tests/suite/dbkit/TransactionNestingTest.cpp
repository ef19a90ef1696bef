// Transaction guards nest through savepoints: an inner rollback keeps the
// outer work, an outer rollback discards everything.
#include "DbKitFixture.h"

using namespace dbkit;

namespace {

class TransactionNestingTest : public DbKitTest {
protected:
    QStringList departments()
    {
        QStringList codes;
        for (auto ds = db().OpenDataSet("SELECT cDepCode FROM Dept ORDER BY cDepCode");
             !ds->Eof(); ds->MoveNext())
            codes << ds->Fields(0).toString();
        return codes;
    }
};

TEST_P(TransactionNestingTest, InnerRollbackKeepsTheOuterWork)
{
    {
        dbkit::TransactionGuard outer(db());
        EXPECT_FALSE(outer.nested());
        db().Execute("INSERT INTO Dept VALUES ('D3', 'outer')");
        {
            dbkit::TransactionGuard inner(db());
            EXPECT_TRUE(inner.nested());
            db().Execute("INSERT INTO Dept VALUES ('D4', 'undone')");
        }
        {
            // A failed statement inside the savepoint: on PostgreSQL the
            // enclosing transaction is usable again after the inner rollback.
            dbkit::TransactionGuard inner(db());
            EXPECT_THROW(db().Execute("INSERT INTO Dept VALUES ('D1', 'twice')"), dbkit::DbError);
        }
        {
            dbkit::TransactionGuard inner(db());
            db().Execute("INSERT INTO Dept VALUES ('D5', 'kept')");
            inner.commit();
        }
        outer.commit();
    }
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(departments(), QStringList({"D1", "D2", "D3", "D5"}));
}

TEST_P(TransactionNestingTest, OuterRollbackDiscardsEverything)
{
    {
        dbkit::TransactionGuard outer(db());
        db().Execute("INSERT INTO Dept VALUES ('D3', 'outer')");
        dbkit::TransactionGuard inner(db());
        db().Execute("INSERT INTO Dept VALUES ('D4', 'inner')");
        inner.commit();
    }
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(departments(), QStringList({"D1", "D2"}));
}

// Statements that fail inside a transaction (a duplicate key here, another
// operator's lock under load) leave no prepared statement behind on the
// server once the transaction is rolled back, whole or to a savepoint.
TEST_P(TransactionNestingTest, FailedStatementsAreFreedWhenTheTransactionEnds)
{
    const bool postgres = db().engine() == Engine::PostgreSQL;
    auto prepared = [&] {
        return postgres ? db().OpenDataSet("select count(*) from pg_prepared_statements")
                              ->Fields(0).toInt()
                        : 0;
    };
    const int before = prepared();
    // One failed write: a bound statement, or a data set's new record.
    auto failInsert = [&](bool bound, DbDataSet &rs) {
        if (bound) {
            EXPECT_EQ(errorOf([&] {
                          db().executeBound("INSERT INTO Dept VALUES (?, ?)", {"D1", "again"});
                      }),
                      ErrorNumber::DuplicateKey);
            return;
        }
        rs.AddNew();
        rs.Collect("cDepCode", "D2");
        EXPECT_EQ(errorOf([&] { rs.Update(); }), ErrorNumber::DuplicateKey);
    };
    auto rs = db().OpenDataSet("select * from Dept");
    for (int round = 0; round < 4; ++round) {
        db().BeginTrans();
        failInsert(round % 2 == 0, *rs);
        db().RollbackTrans();
    }
    EXPECT_EQ(prepared(), before);
    {
        TransactionGuard outer(db());
        db().Execute("INSERT INTO Dept VALUES ('D3', 'kept')");
        TransactionGuard inner(db());
        failInsert(true, *rs);
        inner.rollback();
        EXPECT_EQ(prepared(), before);
        outer.commit();
    }
    EXPECT_EQ(db().OpenDataSet("select count(*) from Dept")->Fields(0).toInt(), 3);
}

DBKIT_ENGINES(TransactionNestingTest);

} // namespace
