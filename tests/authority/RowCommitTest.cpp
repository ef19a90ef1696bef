// What a commit of an editor row stores or refuses, on the row's values
// without a window: a right deleted meanwhile, and a refused narrowing that
// takes back the whole-warehouse right the same editing stored.
#include "authority/AuthorityLookups.h"
#include "authority/RowCommit.h"

#include "services/RightsQueries.h"
#include "services/RightsService.h"
#include "support/DemoAccount.h"

#include <QStringList>
#include <gtest/gtest.h>

using testsupport::TestEngine;
using C = RightsColumns;
using services::NodeKind;

namespace {

class RowCommitTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        m_login = testsupport::openDemoAccount(GetParam(), m_db);
        m_commit = std::make_unique<RowCommit>(
            m_login, false, [this](const QString &text) { m_told << text; });
    }

    long long count(const QString &where)
    {
        return m_login->OpenDataSet("select count(*) from WarehAuth where " + where)
            ->Fields(0)
            .toLongLong();
    }

    // Row 2 of operator 002: warehouse 03 narrowed to item 010201.
    long long autoIdOf002On03()
    {
        return m_login
            ->OpenDataSet("select Auto_id from WarehAuth where Id='002' and cWhCode='03'")
            ->Fields(0)
            .toLongLong();
    }

    // The cells of operator 002's stored right with this Auto_id.
    std::vector<QString> storedCells(long long autoId)
    {
        services::RightsQueries queries(*m_login);
        return *authoritylookups::storedCells(queries, autoId, NodeKind::Operator);
    }

    // Row `row` of operator 002 (李娜), two rows of whom are written.
    static GridRow rowOf002(int row, std::vector<QString> cells)
    {
        const RightsNode operator002{NodeKind::Operator, QStringLiteral("002"),
                                     QStringLiteral("李娜")};
        return {operator002, row, std::move(cells), 2};
    }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
    QStringList m_told;
    std::unique_ptr<RowCommit> m_commit;
};

} // namespace

TEST_P(RowCommitTest, ARightGoneMeanwhileIsStoredAnew)
{
    const long long autoId = autoIdOf002On03();
    GridRow row = rowOf002(2, storedCells(autoId));
    ASSERT_TRUE(services::RightsService(*m_login).remove(autoId).done());

    row.cells[C::ColShowMoney] = QStringLiteral("是");
    EXPECT_FALSE(m_commit->save(row, C::ColShowMoney));
    EXPECT_EQ(m_told, QStringList{services::RightsService::goneOnSaveMessage()});
    EXPECT_EQ(row.cells[C::ColAutoId], "");
    EXPECT_EQ(row.lastSavedRow, 1);

    // A row added below it is stored, and its next commit rewrites it.
    GridRow added = rowOf002(3, std::vector<QString>(C::ColumnCount));
    added.lastSavedRow = row.lastSavedRow;
    added.cells[C::ColOther] = QStringLiteral("06");
    EXPECT_FALSE(m_commit->save(added, C::ColOther));
    EXPECT_EQ(added.lastSavedRow, 3);
    added.cells[C::ColShowMoney] = QStringLiteral("是");
    EXPECT_FALSE(m_commit->save(added, C::ColShowMoney));
    EXPECT_EQ(count("Id='002' and cWhCode='06' and bDispMoney=1"), 1);

    // The next commit of the row stores it again, as the row shows it.
    row.lastSavedRow = added.lastSavedRow;
    EXPECT_FALSE(m_commit->save(row, C::ColShowMoney));
    EXPECT_EQ(count("Id='002' and cWhCode='03' and cInvCode='010201' and bDispMoney=1 "
                    "and Auto_id=" + row.cells[C::ColAutoId]),
              1);
    EXPECT_EQ(row.lastSavedRow, 3);
    EXPECT_EQ(m_told.size(), 1);
}

// Another administrator changed the row's right since the editor read it:
// the commit is refused, overwrites nothing, and every cell shows again what
// the table holds, from which the next commit starts.
TEST_P(RowCommitTest, ARightChangedMeanwhileShowsWhatTheTableHolds)
{
    const long long autoId = autoIdOf002On03();
    GridRow row = rowOf002(2, storedCells(autoId));
    m_commit->rememberRead({row});
    m_db->connect("other")->Execute("update WarehAuth set bDispMoney=1 where Auto_id="
                                    + QString::number(autoId));

    row.cells[C::ColInv] = QStringLiteral("010202");
    EXPECT_TRUE(m_commit->save(row, C::ColInv));
    EXPECT_EQ(m_told, QStringList{services::RightsService::changedOnSaveMessage()});
    EXPECT_EQ(row.cells, storedCells(autoId));
    EXPECT_EQ(count("cInvCode='010201' and Auto_id=" + QString::number(autoId)), 1);

    row.cells[C::ColInv] = QStringLiteral("010202");
    EXPECT_FALSE(m_commit->save(row, C::ColInv));
    EXPECT_EQ(count("cInvCode='010202' and bDispMoney=1 and Auto_id="
                    + QString::number(autoId)),
              1);

    // Nor is a right deleted that was changed after the row last showed it.
    const QString key = "Auto_id=" + QString::number(autoId);
    m_db->connect("other")->Execute("update WarehAuth set bDispMoney=0 where " + key);
    m_told.clear();
    EXPECT_FALSE(m_commit->remove(row));
    EXPECT_EQ(m_told, QStringList{services::RightsService::changedOnDeleteMessage()});
    EXPECT_EQ(row.cells, storedCells(autoId));
    EXPECT_TRUE(m_commit->remove(row));
    EXPECT_EQ(count(key), 0);
}

TEST_P(RowCommitTest, ARefusedNarrowingTakesBackTheWholeRightOfTheSameEditing)
{
    GridRow row = rowOf002(3, std::vector<QString>(C::ColumnCount));
    row.cells[C::ColOther] = QStringLiteral("06");
    EXPECT_FALSE(m_commit->save(row, C::ColOther));
    EXPECT_EQ(row.insertedRow, 3);
    EXPECT_EQ(count("Id='002' and cWhCode='06' and cInvCode is null"), 1);

    // Another editing of the row keeps it: the user confirmed it by leaving.
    GridRow kept = row;
    kept.insertedRow = 0;
    kept.cells[C::ColInv] = QStringLiteral("NOPE");
    EXPECT_TRUE(m_commit->save(kept, C::ColInv));
    EXPECT_EQ(kept.cells[C::ColInv], "");
    EXPECT_EQ(count("Id='002' and cWhCode='06'"), 1);

    // In the editing that stored it, the refusal takes it back: the row is new.
    row.cells[C::ColInv] = QStringLiteral("NOPE");
    EXPECT_TRUE(m_commit->save(row, C::ColInv));
    EXPECT_EQ(row.cells[C::ColAutoId], "");
    EXPECT_EQ(row.lastSavedRow, 2);
    EXPECT_EQ(row.insertedRow, 0);
    EXPECT_EQ(count("Id='002' and cWhCode='06'"), 0);
    EXPECT_EQ(m_told.size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, RowCommitTest, ::testing::ValuesIn(testsupport::kitEngines()),
                         [](const ::testing::TestParamInfo<TestEngine> &engine) {
                             return testsupport::engineName(engine.param);
                         });
