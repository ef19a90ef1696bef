// The change history on a demo account: each write path of the warehouse and
// rights services leaves one row with the row before and after, a refused or
// failed change leaves none, an older account gains the table on first use,
// and the reader answers by index.
#include "services/ChangeHistory.h"
#include "services/HistoryReader.h"
#include "services/RightsService.h"
#include "services/WarehouseService.h"

#include "data/AccountSetup.h"
#include "data/DataHelpers.h"
#include "support/DemoAccount.h"
#include "suite/locks/LockVouchDLL.h"

#include <QDateTime>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

using namespace services;
using testsupport::TestEngine;

namespace {

class ChangeHistoryTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        m_login = testsupport::openDemoAccount(GetParam(), m_db);
        // The clerk who makes the changes: operator 001 (张伟) on PC-07.
        m_clerk = m_db->connect("001", "PC-07");
        m_warehouses = std::make_unique<WarehouseService>(*m_clerk, m_locks, "PC-07");
    }

    long long count(const QString &sql)
    {
        return m_login->OpenDataSet(sql)->Fields(0).toLongLong();
    }
    long long historyRows() { return count("SELECT COUNT(*) FROM ChangeHistory"); }

    std::vector<HistoryEntry> history(const HistoryFilter &filter)
    {
        return HistoryReader(*m_clerk).read(filter);
    }
    std::vector<HistoryEntry> historyOf(const QString &table, const QString &key)
    {
        HistoryFilter filter;
        filter.table = table;
        filter.key = key;
        return history(filter);
    }

    WarehouseSave addOf(const QString &code, const QString &name)
    {
        WarehouseSave request;
        request.edited.code = code;
        request.edited.name = name;
        request.edited.valueStyle = QStringLiteral("全月平均法");
        return request;
    }
    WarehouseSave editOf(const QString &code)
    {
        EXPECT_TRUE(m_warehouses->locks().lock(code));
        WarehouseSave request;
        request.adding = false;
        request.original = *m_warehouses->read(code);
        request.edited = request.original;
        return request;
    }

    QString warehouseName(const QString &code)
    {
        dbkit::DbDataSetPtr row = m_login->OpenDataSet(
            "SELECT cWhName FROM Warehouse WHERE cWhCode='" + dbkit::quoted(code) + "'");
        return row->Eof() ? QStringLiteral("<none>") : depotbase::NullToEmpty(row->Fields(0));
    }

    // A history insert that fails inside the change's transaction.
    void failHistoryWrites(const QString &how)
    {
        if (GetParam() == TestEngine::SQLite) {
            m_login->Execute("CREATE TRIGGER history_fails BEFORE INSERT ON ChangeHistory "
                             "BEGIN SELECT RAISE(ABORT, 'history refused'); END");
            return;
        }
        m_login->Execute("CREATE OR REPLACE FUNCTION history_fails() RETURNS trigger "
                         "LANGUAGE plpgsql AS $$ BEGIN " + how + "; RETURN NEW; END $$");
        m_login->Execute("DROP TRIGGER IF EXISTS history_fails ON ChangeHistory");
        m_login->Execute("CREATE TRIGGER history_fails BEFORE INSERT ON ChangeHistory "
                         "FOR EACH ROW EXECUTE FUNCTION history_fails()");
    }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
    dbkit::DbLoginPtr m_clerk;
    LockVouchDLL m_locks;
    std::unique_ptr<WarehouseService> m_warehouses;
};

} // namespace

// Add, change, a change of the code, delete, and the style a department
// save spreads: one row each, who and when, and every column before and after.
TEST_P(ChangeHistoryTest, EachWarehouseWriteLeavesOneRow)
{
    const QDateTime started = QDateTime::currentDateTimeUtc();
    WarehouseSave add = addOf("H1", "历史库");
    add.edited.fundQuota = "12345.6789";
    add.edited.address = "一号路'3";
    ASSERT_TRUE(m_warehouses->save(add).result.done());
    std::vector<HistoryEntry> rows = historyOf("Warehouse", "H1");
    ASSERT_EQ(rows.size(), 1u);
    const HistoryEntry &added = rows[0];
    EXPECT_EQ(added.action, "add");
    EXPECT_EQ(added.operatorCode, "001");
    EXPECT_EQ(added.operatorName, "张伟");
    EXPECT_EQ(added.computer, "PC-07");
    EXPECT_LT(std::abs(added.changed.secsTo(started)), 300)
        << added.changed.toString().toStdString();
    EXPECT_FALSE(added.before);
    ASSERT_TRUE(added.after);
    EXPECT_EQ(added.after->size(), 10);
    EXPECT_EQ(added.after->value("cWhAddress").toString(), "一号路'3");
    EXPECT_TRUE(added.after->value("cDepCode").isNull());
    EXPECT_EQ(added.after->value("bWhPos").toInteger(-1), 0);
    // The quota reads back exactly: PostgreSQL keeps a decimal, SQLite a double.
    if (GetParam() == TestEngine::SQLite)
        EXPECT_EQ(added.after->value("iWhFundQuota").toDouble(), 12345.6789);
    else
        EXPECT_EQ(added.after->value("iWhFundQuota").toString(), "12345.6789");

    WarehouseSave edit = editOf("H1");
    edit.edited.name = "改名库";
    edit.edited.fundQuota = "1";
    ASSERT_TRUE(m_warehouses->save(edit).result.done());
    rows = historyOf("Warehouse", "H1");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].action, "change");
    EXPECT_EQ(rows[0].changedColumns(), (QStringList{"cWhName", "iWhFundQuota"}));
    EXPECT_EQ(rows[0].before->value("cWhName").toString(), "历史库");
    EXPECT_EQ(rows[0].after->value("cWhName").toString(), "改名库");

    WarehouseSave rename = editOf("H1");
    rename.edited.code = "H2";
    ASSERT_TRUE(m_warehouses->save(rename).result.done());
    m_warehouses->locks().unlock("H1");
    rows = historyOf("Warehouse", "H2");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].changedColumns(), QStringList{"cWhCode"});
    EXPECT_EQ(rows[0].before->value("cWhCode").toString(), "H1");

    ASSERT_TRUE(m_warehouses->remove("H2").done());
    rows = historyOf("Warehouse", "H2");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].action, "delete");
    EXPECT_FALSE(rows[0].after);
    EXPECT_EQ(rows[0].before->value("cWhName").toString(), "改名库");

    // Department 03 keeps 先进先出法 in 02 and one more warehouse: a save by
    // department with another style changes both, each with its own row.
    WarehouseSave spread = addOf("H3", "部门新库");
    spread.edited.depCode = "03";
    spread.byDepartment = true;
    ASSERT_TRUE(m_warehouses->save(spread).result.done());
    EXPECT_EQ(historyRows(), 4 + 3);
    HistoryFilter ofWarehouse02;
    ofWarehouse02.warehouse = "02";
    rows = history(ofWarehouse02);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].changedColumns(), QStringList{"cWhValueStyle"});
    EXPECT_EQ(rows[0].before->value("cWhValueStyle").toString(), "先进先出法");
}

// Insert, update and delete of a right through the service the editor uses,
// read back by the right's key, by its operator, by who changed it and by date.
TEST_P(ChangeHistoryTest, EachRightWriteLeavesOneRow)
{
    RightsService rights(*m_clerk);
    RightRecord item;
    item.operatorCode = "002";
    item.operatorName = "李娜";
    item.warehouseCode = "01";
    item.itemCode = "010201";
    item.showMoney = true;
    ASSERT_TRUE(rights.insert(item).done());
    RightRecord hidden = item;
    hidden.showMoney = false;
    ASSERT_TRUE(rights.update(hidden, item).done());
    ASSERT_TRUE(rights.remove(item.autoId, hidden).done());

    const std::vector<HistoryEntry> rows = historyOf("WarehAuth", QString::number(item.autoId));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].action, "delete");
    EXPECT_EQ(rows[1].action, "change");
    EXPECT_EQ(rows[2].action, "add");
    EXPECT_GT(rows[0].id, rows[1].id);
    EXPECT_EQ(rows[1].changedColumns(), QStringList{"bDispMoney"});
    EXPECT_EQ(rows[2].after->value("Id").toString(), "002");
    EXPECT_EQ(rows[2].after->value("bDispMoney").toInteger(), 1);
    EXPECT_TRUE(rows[2].after->value("cInvCCode").isNull());
    EXPECT_EQ(rows[0].before->value("Auto_id").toInteger(), item.autoId);
    EXPECT_EQ(rows[2].changedColumns().size(), rows[2].after->size());

    HistoryFilter filter;
    filter.rightUser = "002";
    EXPECT_EQ(history(filter).size(), 3u);
    filter.changedBy = "001";
    EXPECT_EQ(history(filter).size(), 3u);
    filter.changedBy = "002";
    EXPECT_EQ(history(filter).size(), 0u);
    filter = {};
    filter.warehouse = "01";
    filter.from = QDateTime::currentDateTimeUtc().addDays(-1);
    filter.to = QDateTime::currentDateTimeUtc().addDays(1);
    EXPECT_EQ(history(filter).size(), 3u);
    filter.to = filter.from;
    filter.from = {};
    EXPECT_EQ(history(filter).size(), 0u);
}

// Refusals by rule and by the database, a history write that fails and on a
// server a connection lost inside the change: no history row, and no change
// without its row.
TEST_P(ChangeHistoryTest, RefusedOrFailedChangesLeaveNone)
{
    EXPECT_FALSE(m_warehouses->save(addOf("01", "重复")).result.done());
    EXPECT_FALSE(m_warehouses->remove("01").done());  // its positions use it
    RightsService rights(*m_clerk);
    RightRecord crossing;
    crossing.operatorCode = "002";
    crossing.warehouseCode = "01";
    EXPECT_FALSE(rights.insert(crossing).done());
    // A warehouse in use keeps its style: a save that changed only the style
    // stores nothing; neither does a save that changed nothing at all.
    WarehouseSave style = editOf("03");
    style.edited.valueStyle = "全月平均法";
    EXPECT_TRUE(m_warehouses->save(style).styleKept);
    EXPECT_TRUE(m_warehouses->save(editOf("12")).unchanged);
    EXPECT_EQ(historyRows(), 0);

    const long long rightsBefore = count("SELECT COUNT(*) FROM WarehAuth");
    const long long someRight = count("SELECT MIN(Auto_id) FROM WarehAuth");
    failHistoryWrites("RAISE EXCEPTION 'history refused'");
    WarehouseSave edit = editOf("12");
    edit.edited.name = "无记录不改";
    EXPECT_FALSE(m_warehouses->save(edit).result.done());
    EXPECT_FALSE(m_warehouses->remove("11").done());
    EXPECT_FALSE(rights.remove(someRight).done());
    EXPECT_EQ(warehouseName("12"), "外租仓库");
    EXPECT_NE(warehouseName("11"), "<none>");
    EXPECT_EQ(count("SELECT COUNT(*) FROM WarehAuth"), rightsBefore);
    EXPECT_FALSE(m_clerk->inTransaction());

    if (GetParam() != TestEngine::SQLite) {
        // The clerk's connection ends between the change and its commit.
        failHistoryWrites("PERFORM pg_terminate_backend(pg_backend_pid())");
        const SavedWarehouse lost = m_warehouses->save(edit);
        EXPECT_FALSE(lost.result.done());
        EXPECT_EQ(warehouseName("12"), "外租仓库");
    }
    EXPECT_EQ(historyRows(), 0);
}

// An account made before the history had it gains the table on its first
// change, with its data as it was; two operators may add it at once.
TEST_P(ChangeHistoryTest, OlderAccountGainsTheTableOnFirstUse)
{
    m_login->Execute("DROP TABLE ChangeHistory");
    const long long warehouses = count("SELECT COUNT(*) FROM Warehouse");
    const long long rights = count("SELECT COUNT(*) FROM WarehAuth");
    EXPECT_TRUE(HistoryReader(*m_clerk).read({}).empty());
    ASSERT_TRUE(m_warehouses->save(addOf("H1", "新库")).result.done());
    EXPECT_EQ(historyRows(), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse"), warehouses + 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM WarehAuth"), rights);
    EXPECT_EQ(warehouseName("12"), "外租仓库");

    m_login->Execute("DROP TABLE ChangeHistory");
    auto addTable = [this](bool &added) {
        dbkit::DbLoginPtr own = m_db->connect();
        depotbase::AddChangeHistory(*own);
        added = true;
    };
    bool first = false;
    bool second = false;
    std::thread a([&] { addTable(first); });
    std::thread b([&] { addTable(second); });
    a.join();
    b.join();
    EXPECT_TRUE(first && second);
    EXPECT_EQ(historyRows(), 0);
}

// Each question of the window is answered from an index, newest first,
// without sorting the table. A server would scan a table this small anyway,
// so it is told to avoid scans and sorts where it can.
TEST_P(ChangeHistoryTest, EveryReadingUsesAnIndex)
{
    const bool sqlite = GetParam() == TestEngine::SQLite;
    if (!sqlite) {
        m_login->Execute("SET enable_seqscan = off");
        m_login->Execute("SET enable_sort = off");
    }
    HistoryReader reader(*m_login);
    HistoryFilter byKey;
    byKey.table = "Warehouse";
    byKey.key = "01";
    HistoryFilter byOperator;
    byOperator.changedBy = "001";
    HistoryFilter byRightUser;
    byRightUser.rightUser = "002";
    HistoryFilter byWarehouseAndDate;
    byWarehouseAndDate.warehouse = "01";
    byWarehouseAndDate.from = QDateTime::currentDateTimeUtc().addDays(-7);
    for (const HistoryFilter &filter :
         {HistoryFilter{}, byKey, byOperator, byRightUser, byWarehouseAndDate}) {
        // The plan is asked with the test's own codes written in: a server
        // prepares no EXPLAIN through the driver.
        QVariantList values;
        QString sql = reader.statement(filter, values);
        for (const QVariant &value : values)
            sql.replace(sql.indexOf('?'), 1, '\'' + value.toString() + '\'');
        dbkit::DbDataSetPtr plan =
            m_login->OpenDataSet((sqlite ? "EXPLAIN QUERY PLAN " : "EXPLAIN ") + sql);
        QString steps;
        for (; !plan->Eof(); plan->MoveNext())
            steps += depotbase::NullToEmpty(plan->Fields(sqlite ? 3 : 0)) + '\n';
        EXPECT_TRUE(steps.contains("ChangeHistory_", Qt::CaseInsensitive)) << steps.toStdString();
        EXPECT_FALSE(steps.contains(sqlite ? "TEMP B-TREE" : "Sort")) << steps.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ChangeHistoryTest,
                         ::testing::ValuesIn(testsupport::serviceEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });
