// Lists far larger than one hand-over chunk: every cell arrives, in order,
// with its type, however the rows were split between the threads.
#include "DbKitFixture.h"

#include <atomic>
#include <thread>

namespace {

class LargeLoadTest : public DbKitTest {
protected:
    static constexpr int Count = 9000;  // several chunks and a partial last one

    void fill()
    {
        dbkit::TransactionGuard transaction(db());
        for (int i = 0; i < Count; ++i) {
            const QString code = QStringLiteral("L%1").arg(i, 4, 10, QChar('0'));
            const QString name = i % 7 == 0 ? QStringLiteral("NULL")
                                            : QStringLiteral("'库%1号'").arg(i);
            const QString dep = i % 3 == 0 ? QStringLiteral("NULL") : QStringLiteral("'D1'");
            db().Execute(QStringLiteral("INSERT INTO Store VALUES ('%1', %2, %3, %4, %5)")
                             .arg(code, name, dep)
                             .arg(i % 5 == 0 ? QStringLiteral("NULL") : QString::number(i * 1.5))
                             .arg(i % 2));
        }
        transaction.commit();
    }
};

TEST_P(LargeLoadTest, EveryCellArrivesInOrderWithItsType)
{
    fill();
    auto ds = db().OpenDataSet(listSql());
    ASSERT_EQ(ds->RecordCount(), Count + 3);
    ds->FindFirst("cWhCode='L0000'");
    int i = 0;
    for (; !ds->Eof() && i < Count; ds->MoveNext(), ++i) {
        ASSERT_EQ(ds->Fields("cWhCode").toString(), QStringLiteral("L%1").arg(i, 4, 10, QChar('0')));
        if (i % 7 == 0)
            EXPECT_TRUE(ds->Fields("cWhName").isNull()) << i;
        else
            EXPECT_EQ(ds->Fields("cWhName").toString(), QStringLiteral("库%1号").arg(i)) << i;
        EXPECT_EQ(ds->Fields("cDepName").isNull(), i % 3 == 0) << i;
        if (i % 5 == 0)
            EXPECT_TRUE(ds->Fields("iQuota").isNull()) << i;
        else
            EXPECT_DOUBLE_EQ(ds->Fields("iQuota").toDouble(), i * 1.5) << i;
        EXPECT_EQ(ds->Fields("bPos").toInt(), i % 2) << i;
    }
    EXPECT_EQ(i, Count);
    // The texts a grid fill takes without a copy are the same texts.
    ds->FindFirst("cWhCode='L0001'");
    EXPECT_EQ(ds->FieldText(ds->FieldIndex("cWhName")), QStringLiteral("库1号"));
    EXPECT_TRUE(ds->FieldText(ds->FieldIndex("bPos")).isNull());  // not a text
    ds->FindFirst("cWhCode='L0000'");
    EXPECT_TRUE(ds->FieldText(ds->FieldIndex("cWhName")).isNull());  // Null
}

TEST_P(LargeLoadTest, RequeryAndManyOpensGiveTheSameRows)
{
    fill();
    auto first = db().OpenDataSet(listSql());
    for (int round = 0; round < 3; ++round) {
        auto again = db().OpenDataSet(listSql());
        first->Requery();
        ASSERT_EQ(again->RecordCount(), first->RecordCount());
        again->MoveLast();
        first->MoveLast();
        EXPECT_EQ(again->Fields("cWhCode"), first->Fields("cWhCode"));
    }
}

// Each thread has a login of its own; both load the large list at the same
// moment and each gets every row, whole and in order.
TEST_P(LargeLoadTest, TwoThreadsLoadAtOnce)
{
    fill();
    const auto rowsOf = [](dbkit::DbLogin &login) {
        QStringList rows;
        for (auto ds = login.OpenDataSet(listSql()); !ds->Eof(); ds->MoveNext())
            rows << ds->Fields("cWhCode").toString() + ds->Fields("cWhName").toString();
        return rows;
    };
    const QStringList expected = rowsOf(db());
    ASSERT_EQ(expected.size(), Count + 3);
    std::atomic<int> ready{0};
    QStringList loaded[2];
    std::string failure[2];
    const auto load = [&](int which) {
        try {
            dbkit::DbLoginPtr login = temp().connect(QStringLiteral("t%1").arg(which), "PC");
            ++ready;
            while (ready < 2)
                std::this_thread::yield();
            loaded[which] = rowsOf(*login);
        } catch (const std::exception &error) {
            failure[which] = error.what();
            ++ready;
        }
    };
    std::thread first(load, 0), second(load, 1);
    first.join();
    second.join();
    for (int which : {0, 1}) {
        EXPECT_EQ(failure[which], "");
        EXPECT_TRUE(loaded[which] == expected) << "thread " << which << ": "
                                               << loaded[which].size() << " rows";
    }
}

DBKIT_ENGINES_AND_PATHS(LargeLoadTest);

} // namespace
