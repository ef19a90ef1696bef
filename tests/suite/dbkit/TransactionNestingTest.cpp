// Transaction guards nest through savepoints: an inner rollback keeps the
// outer work, an outer rollback discards everything.
#include "DbKitFixture.h"

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

DBKIT_ENGINES(TransactionNestingTest);

} // namespace
