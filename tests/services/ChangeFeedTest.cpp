// The change feed on a demo account: a follower is told of another login's
// add, change and delete in their order, and on a server of a change whose
// lower id commits after a higher one.
#include "services/ChangeFeed.h"
#include "services/WarehouseService.h"

#include "support/DemoAccount.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/locks/LockVouchDLL.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace services;
using testsupport::TestEngine;

namespace {

class ChangeFeedTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        m_login = testsupport::openDemoAccount(GetParam(), m_db);
        m_other = m_db->connect("001", "PC-07");
        m_following = ChangeFeed::follow(Account(m_login), [this](const ChangeFeed::Changes &changes) {
            m_told.insert(m_told.end(), changes.begin(), changes.end());
        });
    }

    // What the follower was told, as "action key", once `count` changes came.
    QStringList toldAfter(size_t count)
    {
        m_following->askNow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_told.size() >= count; }, 10000));
        QStringList told;
        for (const HistoryEntry &change : m_told)
            told << change.action + u' ' + change.key;
        return told;
    }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
    dbkit::DbLoginPtr m_other;
    std::unique_ptr<ChangeFeed::Following> m_following;
    std::vector<HistoryEntry> m_told;
};

TEST_P(ChangeFeedTest, AnotherLoginsChangesAreToldInTheirOrder)
{
    LockVouchDLL locks;
    WarehouseService warehouses(*m_other, locks, "PC-07");
    WarehouseSave add;
    add.edited.code = "F1";
    add.edited.name = QStringLiteral("跟随仓");
    add.edited.valueStyle = QStringLiteral("全月平均法");
    ASSERT_TRUE(warehouses.save(add).result.done());
    ASSERT_TRUE(warehouses.locks().lock("F1"));
    WarehouseSave change;
    change.adding = false;
    change.original = *warehouses.read("F1");
    change.edited = change.original;
    change.edited.name = QStringLiteral("跟随仓二");
    ASSERT_TRUE(warehouses.save(change).result.done());
    warehouses.locks().unlock("F1");
    ASSERT_TRUE(warehouses.remove("F1").done());

    EXPECT_EQ(toldAfter(3), QStringList({"add F1", "change F1", "delete F1"}));
    EXPECT_EQ(m_told.back().operatorCode, "001");
    EXPECT_EQ(m_following->position(), m_told.back().id);
}

TEST_P(ChangeFeedTest, ALowerIdCommittedAfterAHigherOneIsStillTold)
{
    if (GetParam() == TestEngine::SQLite)
        GTEST_SKIP() << "SQLite commits one writer at a time, in id order";
    const QString insert = QStringLiteral(
        "INSERT INTO ChangeHistory (dChanged, cOperCode, cTable, cKey, cAction) "
        "VALUES (CURRENT_TIMESTAMP, '001', 'Warehouse', '%1', 'add')");
    m_other->BeginTrans();
    m_other->Execute(insert.arg("late"));
    m_login->Execute(insert.arg("early"));
    EXPECT_EQ(toldAfter(1), QStringList({"add early"}));
    m_other->CommitTrans();
    EXPECT_EQ(toldAfter(2), QStringList({"add early", "add late"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, ChangeFeedTest,
                         ::testing::ValuesIn(testsupport::serviceEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });

} // namespace
