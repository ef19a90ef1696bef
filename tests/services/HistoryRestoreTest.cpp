// Restores from the change history on a demo account: a deleted warehouse or
// right stored again through its service and rules, and a changed warehouse
// given its earlier values under its record lock.
#include "services/HistoryReader.h"
#include "services/HistoryRestore.h"
#include "services/RightRules.h"
#include "services/RightsService.h"
#include "services/WarehouseRules.h"
#include "services/WarehouseService.h"

#include "data/Catalogue.h"
#include "support/DemoAccount.h"
#include "suite/locks/LockVouchDLL.h"

#include <gtest/gtest.h>

using namespace services;
using testsupport::TestEngine;
namespace rules = services::warehouse_rules;

namespace {

class HistoryRestoreTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        m_login = testsupport::openDemoAccount(GetParam(), m_db);
        m_warehouses = std::make_unique<WarehouseService>(*m_login, m_locks, "TESTPC");
        m_restore = std::make_unique<HistoryRestore>(*m_login);
    }

    HistoryEntry newest(const QString &table, const QString &key)
    {
        HistoryFilter filter;
        filter.table = table;
        filter.key = key;
        const std::vector<HistoryEntry> rows = HistoryReader(*m_login).read(filter);
        EXPECT_FALSE(rows.empty());
        return rows.empty() ? HistoryEntry{} : rows.front();
    }

    // A warehouse with every field filled, stored and then deleted.
    WarehouseRecord addedAndDeleted(const QString &code)
    {
        WarehouseSave add;
        add.edited = {code, "恢复库", "0202", {}, "一号路", "0512-1", "赵磊", "全月平均法",
                      true, "1234.5", "备注"};
        EXPECT_TRUE(m_warehouses->save(add).result.done());
        const WarehouseRecord stored = *m_warehouses->read(code);
        EXPECT_TRUE(m_warehouses->remove(code).done());
        return stored;
    }

    // `clerk` changes the name of warehouse `code` under its lock.
    void rename(WarehouseService &clerk, const QString &code, const QString &name)
    {
        ASSERT_TRUE(clerk.locks().lock(code));
        WarehouseSave edit;
        edit.adding = false;
        edit.original = *clerk.read(code);
        edit.edited = edit.original;
        edit.edited.name = name;
        ASSERT_TRUE(clerk.save(edit).result.done());
        clerk.locks().unlock(code);
    }

    long long locksHeld()
    {
        return m_login->OpenDataSet("SELECT COUNT(*) FROM LockRecords")->Fields(0).toLongLong();
    }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
    LockVouchDLL m_locks;
    std::unique_ptr<WarehouseService> m_warehouses;
    std::unique_ptr<HistoryRestore> m_restore;
};

} // namespace

TEST_P(HistoryRestoreTest, DeletedWarehouseIsStoredAgainAsItWas)
{
    const WarehouseRecord original = addedAndDeleted("R1");
    const HistoryEntry deleted = newest("Warehouse", "R1");
    EXPECT_EQ(HistoryRestore::kindOf(deleted), RestoreKind::Deleted);

    const ServiceResult result = m_restore->restore(deleted);
    ASSERT_TRUE(result.done()) << result.message.toStdString();
    EXPECT_TRUE(result.message.isEmpty());
    const WarehouseRecord restored = *m_warehouses->read("R1");
    EXPECT_EQ(restored, original);
    const HistoryEntry added = newest("Warehouse", "R1");
    EXPECT_EQ(added.action, "add");
    EXPECT_EQ(added.after, deleted.before);
}

// A code taken again meanwhile, and a department that is gone, are refused
// with the texts a save shows.
TEST_P(HistoryRestoreTest, DeletedWarehouseRefusedByTheSaveRules)
{
    addedAndDeleted("R1");
    const HistoryEntry deleted = newest("Warehouse", "R1");
    ASSERT_TRUE(m_restore->restore(deleted).done());
    ServiceResult result = m_restore->restore(deleted);
    EXPECT_EQ(result.refusal, Refusal::Duplicate);
    EXPECT_EQ(result.message, rules::aboutCode(depotbase::text::AlreadyExists));

    addedAndDeleted("R2");
    m_login->Execute("DELETE FROM Department WHERE cDepCode='0202'");
    result = m_restore->restore(newest("Warehouse", "R2"));
    EXPECT_EQ(result.refusal, Refusal::InvalidValue);
    EXPECT_EQ(result.message, depotbase::LoadResString(depotbase::text::InvalidDepartment));
    EXPECT_FALSE(m_warehouses->read("R2"));
}

// 002's right on 01, class 0101: stored again with an Auto_id of its own,
// and refused once a right beneath that class stands in its place.
TEST_P(HistoryRestoreTest, DeletedRightIsStoredAgainUnlessItWouldCross)
{
    RightsService rights(*m_login);
    auto classRight = [&]() -> std::optional<RightRecord> {
        for (const RightRecord &r : rights.rightsOfOperator("002"))
            if (r.warehouseCode == "01" && r.classCode == "0101")
                return r;
        return std::nullopt;
    };
    const RightRecord original = *classRight();
    ASSERT_TRUE(rights.remove(original.autoId).done());
    const HistoryEntry deleted = newest("WarehAuth", QString::number(original.autoId));

    ASSERT_TRUE(m_restore->restore(deleted).done());
    RightRecord restored = *classRight();
    EXPECT_NE(restored.autoId, original.autoId);
    restored.autoId = original.autoId;
    EXPECT_EQ(restored, original);
    EXPECT_EQ(newest("WarehAuth", QString::number(classRight()->autoId)).action, "add");

    ASSERT_TRUE(rights.remove(classRight()->autoId).done());
    RightRecord beneath = original;
    beneath.classCode = "010101";
    ASSERT_TRUE(rights.insert(beneath).done());
    const ServiceResult result = m_restore->restore(deleted);
    EXPECT_EQ(result.refusal, Refusal::Overlap);
    EXPECT_EQ(result.message, rightrules::overlapMessage());
    EXPECT_FALSE(classRight());
}

TEST_P(HistoryRestoreTest, EarlierValuesPutBackUnderTheLock)
{
    WarehouseSave add;
    add.edited = {"R3", "原名库", {}, {}, {}, {}, {}, "全月平均法", false, "10", {}};
    ASSERT_TRUE(m_warehouses->save(add).result.done());
    rename(*m_warehouses, "R3", "新名库");
    const HistoryEntry renamed = newest("Warehouse", "R3");
    EXPECT_EQ(HistoryRestore::kindOf(renamed), RestoreKind::EarlierValues);

    const ServiceResult result = m_restore->restore(renamed);
    ASSERT_TRUE(result.done()) << result.message.toStdString();
    EXPECT_EQ(m_warehouses->read("R3")->name, "原名库");
    const HistoryEntry putBack = newest("Warehouse", "R3");
    EXPECT_EQ(putBack.action, "change");
    EXPECT_EQ(putBack.changedColumns(), QStringList{"cWhName"});
    EXPECT_EQ(locksHeld(), 0);
}

// Another operator changed it since, or holds its lock: refused, told, and
// nothing written; the lock taken for the attempt is let go.
TEST_P(HistoryRestoreTest, EarlierValuesRefusedWhenChangedSinceOrLocked)
{
    WarehouseSave add;
    add.edited = {"R4", "原名库", {}, {}, {}, {}, {}, "全月平均法", false, {}, {}};
    ASSERT_TRUE(m_warehouses->save(add).result.done());
    rename(*m_warehouses, "R4", "第二名");
    const HistoryEntry first = newest("Warehouse", "R4");
    dbkit::DbLoginPtr other = m_db->connect("002", "PC-02");
    LockVouchDLL otherLocks;
    WarehouseService clerk(*other, otherLocks, "PC-02");
    rename(clerk, "R4", "第三名");

    ServiceResult result = m_restore->restore(first);
    EXPECT_EQ(result.refusal, Refusal::ChangedMeanwhile);
    EXPECT_EQ(result.message,
              QStringLiteral("该仓库档案在这次修改之后又被修改过，不能恢复此前的值！"));
    EXPECT_EQ(m_warehouses->read("R4")->name, "第三名");
    EXPECT_EQ(locksHeld(), 0);

    ASSERT_TRUE(clerk.locks().lock("R4"));
    result = m_restore->restore(newest("Warehouse", "R4"));
    EXPECT_EQ(result.refusal, Refusal::Locked);
    EXPECT_EQ(result.message, rules::lockedText());
    EXPECT_EQ(m_warehouses->read("R4")->name, "第三名");
}

INSTANTIATE_TEST_SUITE_P(Engines, HistoryRestoreTest,
                         ::testing::ValuesIn(testsupport::serviceEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });
