// The warehouse service on a demo account and a second operator: keyed
// reads and writes, the in-use rule, the department's valuation style,
// refusals by error number, deletes by key and the record locks.
#include "services/WarehouseRules.h"
#include "services/WarehouseService.h"

#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "support/DemoAccount.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/SqlDialect.h"
#include "suite/locks/LockVouchDLL.h"

#include <QSqlError>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

using namespace services;
using testsupport::TestEngine;
namespace rules = services::warehouse_rules;

namespace {

class WarehouseServiceTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        m_login = testsupport::openDemoAccount(GetParam(), m_db);
        m_other = m_db->connect("other", "OTHERPC");
    }

    WarehouseService &service()
    {
        if (!m_service)
            m_service = std::make_unique<WarehouseService>(*m_login, m_locks, "TESTPC");
        return *m_service;
    }

    QString field(const QString &code, const QString &column)
    {
        dbkit::DbDataSetPtr ds = m_login->OpenDataSet("SELECT " + column
                                                      + " FROM Warehouse WHERE cWhCode='"
                                                      + dbkit::quoted(code) + "'");
        return ds->Eof() ? QStringLiteral("<none>") : depotbase::NullToEmpty(ds->Fields(0));
    }

    long long count(const QString &sql)
    {
        return m_login->OpenDataSet(sql)->Fields(0).toLongLong();
    }

    // Another operator's open write: a record lock on a server, a busy
    // database on SQLite (told with the engine's text below).
    bool isLockRefusal(const QString &message) const
    {
        if (GetParam() != TestEngine::SQLite)
            return message == depotbase::LoadResString(84);
        return message.startsWith(QStringLiteral("账套数据库正忙，请稍后重试。\n"))
               && message.contains(QStringLiteral("locked"));
    }

    long long locksHeld()
    {
        return count("SELECT COUNT(*) FROM LockRecords WHERE cKind='BJ'");
    }

    // What the card asks to store after opening `code` (and so taking its
    // lock) and changing it.
    WarehouseSave editOf(const QString &code)
    {
        EXPECT_TRUE(service().locks().lock(code));
        WarehouseSave request;
        request.adding = false;
        request.original = *service().read(code);
        request.edited = request.original;
        return request;
    }

    WarehouseSave addOf(const QString &code, const QString &name)
    {
        WarehouseSave request;
        request.edited.code = code;
        request.edited.name = name;
        request.edited.valueStyle = QStringLiteral("全月平均法");
        return request;
    }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
    dbkit::DbLoginPtr m_other;
    LockVouchDLL m_locks;
    std::unique_ptr<WarehouseService> m_service;
};

} // namespace

// An edit writes the columns the user changed to the row as it was read,
// and a quoted value is stored as typed. An add stores all ten columns.
TEST_P(WarehouseServiceTest, SavesWriteByKeyOnlyWhatChanged)
{
    WarehouseSave edit = editOf("12");
    EXPECT_EQ(edit.original.depName, "原料采购组");
    EXPECT_EQ(edit.original.fundQuota.toDouble(), 0.0);
    edit.edited.code = "12'A";
    edit.edited.name = "外租'仓库";
    const SavedWarehouse saved = service().save(edit);
    ASSERT_TRUE(saved.result.done()) << saved.result.message.toStdString();
    EXPECT_EQ(saved.stored.code, "12'A");
    EXPECT_EQ(field("12'A", "cWhName"), "外租'仓库");
    EXPECT_EQ(field("12", "cWhName"), "<none>");

    WarehouseSave add = addOf("30", "新库");
    add.edited.depCode = "03";
    add.edited.positions = true;
    add.edited.fundQuota = testsupport::isServerEngine(GetParam()) ? "99999999999999999.9999"
                                                                    : "12.5";
    ASSERT_TRUE(service().save(add).result.done());
    EXPECT_EQ(service().read("30")->depName, "生产部");
    EXPECT_EQ(field("30", "bWhPos"), "1");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse WHERE cWhCode='30' AND iWhFundQuota="
                    + add.edited.fundQuota),
              1);
    EXPECT_FALSE(m_login->inTransaction());
}

// Operator A opens a warehouse; a writer that takes no lock changes another
// column. A's save is refused as changed meanwhile (not as deleted: A keeps
// the lock and the card its edit), and the other change survives. Once A
// reads again, the same change is stored.
TEST_P(WarehouseServiceTest, EditOfAWarehouseChangedMeanwhileIsRefused)
{
    WarehouseSave mine = editOf("12");
    mine.edited.name = "甲改名";

    m_other->executeBound("UPDATE Warehouse SET cWhMemo=? WHERE cWhCode='12'", {"乙备注"});

    const SavedWarehouse refused = service().save(mine);
    EXPECT_FALSE(refused.result.done());
    EXPECT_FALSE(refused.vanished);
    EXPECT_EQ(refused.result.message, rules::changedMeanwhileText());
    EXPECT_EQ(field("12", "cWhMemo"), "乙备注");
    EXPECT_EQ(field("12", "cWhName"), "外租仓库");
    EXPECT_EQ(locksHeld(), 1);

    mine.original = *service().read("12");
    mine.edited.memo = mine.original.memo;
    ASSERT_TRUE(service().save(mine).result.done());
    EXPECT_EQ(field("12", "cWhName"), "甲改名");
    EXPECT_EQ(field("12", "cWhMemo"), "乙备注");
    service().locks().unlock("12");
    EXPECT_FALSE(m_login->inTransaction());
}

// A warehouse other tables use keeps its code and style: a changed code is
// refused, other changes are stored. The in-use test leaves no trace, and a
// busy row is a lock (on SQLite a busy database), not a warehouse in use.
TEST_P(WarehouseServiceTest, WarehouseInUseKeepsItsCodeAndStyle)
{
    EXPECT_TRUE(service().checks().inUse("03"));   // stock records
    EXPECT_TRUE(service().checks().inUse("01"));   // positions
    EXPECT_FALSE(service().checks().inUse("12"));
    EXPECT_FALSE(service().checks().inUse("x' OR cWhCode<>'"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse"), 12);

    WarehouseSave edit = editOf("03");
    edit.edited.code = "33";
    SavedWarehouse saved = service().save(edit);
    EXPECT_EQ(saved.result.message, rules::aboutCode(106));
    EXPECT_EQ(field("33", "cWhName"), "<none>");

    edit.edited.code = "03";
    edit.edited.name = "半成品库新";
    edit.edited.valueStyle = "全月平均法";
    saved = service().save(edit);
    ASSERT_TRUE(saved.result.done());
    EXPECT_TRUE(saved.storedInUse);
    EXPECT_TRUE(saved.styleKept);
    EXPECT_EQ(saved.stored.valueStyle, "移动平均法");
    EXPECT_EQ(field("03", "cWhName"), "半成品库新");
    EXPECT_EQ(field("03", "cWhValueStyle"), "移动平均法");
    // Neither the code nor the style changed: nothing was kept back.
    WarehouseSave phone = editOf("03");
    phone.edited.phone = "0512-1";
    saved = service().save(phone);
    ASSERT_TRUE(saved.result.done());
    EXPECT_FALSE(saved.styleKept);
    EXPECT_EQ(field("03", "cWhPhone"), "0512-1");

    WarehouseSave busy = editOf("12");
    busy.edited.code = "12B";
    m_other->BeginTrans();
    m_other->Execute("UPDATE Warehouse SET cWhMemo='x' WHERE cWhCode='12'");
    EXPECT_TRUE(isLockRefusal(service().save(busy).result.message));
    m_other->RollbackTrans();
    EXPECT_TRUE(service().save(busy).result.done());
    EXPECT_EQ(field("12B", "cWhName"), "外租仓库");
}

// Refusals come back by error number and change nothing: a duplicate code
// on add and on edit, a warehouse another operator deleted meanwhile, and a
// required field left blank.
TEST_P(WarehouseServiceTest, RefusalsByErrorNumberChangeNothing)
{
    EXPECT_EQ(service().save(addOf("11", "重复")).result.message, rules::aboutCode(105));
    WarehouseSave edit = editOf("12");
    edit.edited.code = "11";
    EXPECT_EQ(service().save(edit).result.message, rules::aboutCode(105));

    edit.edited.code = "12";
    edit.edited.name = "改名";
    m_other->Execute("DELETE FROM Warehouse WHERE cWhCode='12'");
    const SavedWarehouse gone = service().save(edit);
    EXPECT_TRUE(gone.vanished);
    EXPECT_EQ(gone.result.message, rules::aboutCode(107));
    EXPECT_EQ(field("12", "cWhName"), "<none>");

    EXPECT_EQ(service().save(addOf(" ", "空编码")).result.field, "cWhCode");
    // A department text that names no department is refused, never stored
    // as no department.
    WarehouseSave unknown = editOf("01");
    unknown.edited.depCode.clear();
    unknown.edited.depName = "不存在的部门";
    EXPECT_EQ(service().save(unknown).result.message, depotbase::LoadResString(129));
    EXPECT_EQ(field("01", "cDepCode"), "0201");
    EXPECT_FALSE(m_login->inTransaction());
}

// By department every warehouse of the department follows the style of its
// first warehouse by code; the save spreads its style in its own transaction.
TEST_P(WarehouseServiceTest, DepartmentStyleIsSpreadWithTheSave)
{
    DepartmentStyle rule = service().checks().departmentStyle("03", QString());
    EXPECT_EQ(rule.style, "先进先出法");
    EXPECT_EQ(rule.others, 2);
    EXPECT_EQ(service().checks().departmentStyle("03", "02").others, 1);
    EXPECT_TRUE(service().checks().departmentStyle("0102'", QString()).style.isEmpty());

    WarehouseSave add = addOf("25", "部门新库");
    add.edited.depCode = "03";
    add.edited.valueStyle = rule.style;
    add.byDepartment = true;
    ASSERT_TRUE(service().save(add).result.done());
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse WHERE cDepCode='03' AND "
                    "cWhValueStyle='先进先出法'"),
              3);
    // A refused save spreads nothing.
    WarehouseSave duplicate = addOf("25", "重复");
    duplicate.edited.depCode = "03";
    duplicate.edited.valueStyle = "全月平均法";
    duplicate.byDepartment = true;
    EXPECT_FALSE(service().save(duplicate).result.done());
    EXPECT_EQ(field("02", "cWhValueStyle"), "先进先出法");
}

// One operator has added a warehouse to a department by department style and
// not committed yet when a second adds another with a different style. The
// second waits (or is refused as locked): the department never ends with two
// styles.
TEST_P(WarehouseServiceTest, TwoSavesIntoOneDepartmentLeaveOneStyle)
{
    auto departmentAdd = [this](const QString &code, const QString &style) {
        WarehouseSave add = addOf(code, "部门库");
        add.edited.depCode = "03";
        add.edited.valueStyle = style;
        add.byDepartment = true;
        return add;
    };
    dbkit::DbLoginPtr first = m_db->connect("first", "PC-A");
    LockVouchDLL firstLocks;
    first->BeginTrans();
    ASSERT_TRUE(WarehouseService(*first, firstLocks, "PC-A")
                    .save(departmentAdd("41", "先进先出法"))
                    .result.done());

    SavedWarehouse second;
    std::string failure;
    std::thread other([&] {
        try {
            dbkit::DbLoginPtr login = m_db->connect("second", "PC-B");
            LockVouchDLL locks;
            second = WarehouseService(*login, locks, "PC-B")
                         .save(departmentAdd("42", "全月平均法"));
        } catch (const std::exception &error) {
            failure = error.what();
        }
    });
    // Give the second writer time to reach the first one's transaction.
    QThread::msleep(400);
    first->CommitTrans();
    other.join();
    ASSERT_EQ(failure, "");
    if (!second.result.done()) {
        EXPECT_TRUE(isLockRefusal(second.result.message));
    }
    EXPECT_EQ(count("SELECT COUNT(DISTINCT cWhValueStyle) FROM Warehouse WHERE cDepCode='03'"),
              1);
}

// Opening and deleting take the record lock and give it back: a lock held by
// another operator refuses both; a delete reads the warehouse again by key,
// so one renamed or deleted meanwhile is told, never reported as deleted.
TEST_P(WarehouseServiceTest, OpenAndDeleteUnderRecordLocks)
{
    LockVouchDLL otherLocks;
    ASSERT_TRUE(otherLocks.LockRecords(*m_other, "BJ", "AA", "a", "OTHERPC", {"11"}));
    EXPECT_EQ(service().openForEdit("11").outcome, OpenedWarehouse::Outcome::Locked);
    const ServiceResult locked = service().remove("11");
    EXPECT_EQ(locked.refusal, Refusal::Locked);
    EXPECT_EQ(locked.message, rules::lockedText());
    EXPECT_EQ(field("11", "cWhName"), "不合格品库");
    otherLocks.UnlockRecords(*m_other, "BJ", {"11"});

    const OpenedWarehouse opened = service().openForEdit("11");
    ASSERT_EQ(opened.outcome, OpenedWarehouse::Outcome::Opened);
    EXPECT_EQ(opened.record.name, "不合格品库");
    EXPECT_TRUE(opened.record.depName.isEmpty());  // its department is gone
    EXPECT_FALSE(otherLocks.LockRecords(*m_other, "BJ", "AA", "a", "OTHERPC", {"11"}));
    service().locks().unlock("11");
    EXPECT_EQ(service().openForEdit("99").outcome, OpenedWarehouse::Outcome::Gone);
    EXPECT_EQ(locksHeld(), 0);

    // Renamed by another operator while the question was on screen.
    m_other->Execute("UPDATE Warehouse SET cWhCode='12X' WHERE cWhCode='12'");
    const ServiceResult gone = service().remove("12");
    EXPECT_EQ(gone.refusal, Refusal::DeletedMeanwhile);
    EXPECT_EQ(gone.message, rules::deletedBeforeDeleteText());
    EXPECT_EQ(field("12X", "cWhName"), "外租仓库");
    // Refused by its stock records: in use.
    const ServiceResult inUse = service().remove("03");
    EXPECT_EQ(inUse.refusal, Refusal::InUse);
    EXPECT_EQ(inUse.message, rules::aboutCode(106));
    EXPECT_TRUE(service().remove("12X").done());
    EXPECT_EQ(field("12X", "cWhName"), "<none>");
    EXPECT_EQ(service().checks().positionCount("01"), 3);
    EXPECT_EQ(locksHeld(), 0);
}

// Position management stays while the warehouse has storage positions; a
// warehouse without positions may clear it.
TEST_P(WarehouseServiceTest, PositionManagementStaysWhilePositionsExist)
{
    const ServiceResult kept = service().checks().checkPositionsOff(*service().read("01"));
    EXPECT_EQ(kept.refusal, Refusal::HasPositions);
    EXPECT_EQ(kept.message, "该仓库已录入了货位，不能取消货位管理！");
    m_login->Execute("UPDATE Warehouse SET bWhPos=1 WHERE cWhCode='04'");
    EXPECT_TRUE(service().checks().checkPositionsOff(*service().read("04")).done());
}

// The card's lock was taken over by another operator (this operator's
// connection was lost long enough for its session to look gone): the save
// is refused and overwrites nothing, also once the other operator has
// released it, until the card is opened again.
TEST_P(WarehouseServiceTest, SaveAfterTheLockWasTakenOverIsRefused)
{
    WarehouseSave mine = editOf("12");
    mine.edited.name = "甲改名";

    m_other->Execute("DELETE FROM LockRecords WHERE cKind='BJ' AND cCode='12'");
    LockVouchDLL otherLocks;
    WarehouseService other(*m_other, otherLocks, "OTHERPC");
    ASSERT_EQ(other.openForEdit("12").outcome, OpenedWarehouse::Outcome::Opened);
    EXPECT_EQ(service().save(mine).result.message, rules::lockTakenText());
    other.locks().unlock("12");
    EXPECT_EQ(service().save(mine).result.message, rules::lockTakenText());
    EXPECT_EQ(field("12", "cWhName"), "外租仓库");

    mine.original = service().openForEdit("12").record;
    ASSERT_TRUE(service().save(mine).result.done());
    EXPECT_EQ(field("12", "cWhName"), "甲改名");
    service().locks().unlock("12");
    EXPECT_EQ(locksHeld(), 0);
}

// The account's options choose the styles offered and the department rule;
// an account without the version row counts as industrial.
TEST_P(WarehouseServiceTest, AccountOptionsChooseTheStyles)
{
    AccountOptions options = service().checks().accountOptions();
    EXPECT_TRUE(options.industrial);
    EXPECT_FALSE(options.byDepartment);
    m_login->Execute("UPDATE AccInformation SET cValue='商业' WHERE cName='cSysVersion'");
    m_login->Execute("UPDATE AccInformation SET cValue='按部门核算' WHERE cSysID='IA' AND "
                     "cName='cValueStyle'");
    options = service().checks().accountOptions();
    EXPECT_FALSE(options.industrial);
    EXPECT_TRUE(options.byDepartment);
    m_login->Execute("DELETE FROM AccInformation WHERE cName='cSysVersion'");
    EXPECT_TRUE(service().checks().accountOptions().industrial);

    const QStringList common{"全月平均法", "移动平均法", "先进先出法", "后进先出法", "个别计价法"};
    EXPECT_EQ(rules::offeredStyles(false, true), common + QStringList{"计划价法"});
    EXPECT_EQ(rules::offeredStyles(false, false), common + QStringList{"售价法"});
    EXPECT_EQ(rules::offeredStyles(true, true), (QStringList{"全月平均法", "移动平均法"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, WarehouseServiceTest,
                         ::testing::ValuesIn(testsupport::serviceEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });

// A save by department asks only when the chosen style is not the
// department's; a department whose first warehouse has no style sets none.
TEST(WarehouseRulesTest, DepartmentStyleIsAskedOnlyWhenItDiffers)
{
    EXPECT_EQ(rules::styleQuestion("生产部", "", 3, "全月平均法"), "");
    EXPECT_EQ(rules::styleQuestion("生产部", "全月平均法", 3, "全月平均法"), "");
    EXPECT_EQ(rules::styleQuestion("生产部", "全月平均法", 0, "后进先出法"),
              "生产部的计价方式必须以‘全月平均法’为准！");
}

// The rules that need no database.
TEST(WarehouseRulesTest, RequiredFieldsQuotaAndItsDisplay)
{
    WarehouseRecord record;
    record.code = "  ";
    EXPECT_EQ(rules::checkRequired(record).message,
              depotbase::LoadResString(52) + depotbase::LoadResString(18));
    record.code = "01 ";
    EXPECT_EQ(rules::checkRequired(record).field, "cWhName");
    record.name = "库";
    EXPECT_EQ(rules::checkRequired(record).field, "cWhValueStyle");
    record.valueStyle = "全月平均法";
    EXPECT_TRUE(rules::checkRequired(record).done());

    EXPECT_TRUE(rules::checkQuota("", true).done());
    EXPECT_FALSE(rules::checkQuota(".", false).done());
    EXPECT_FALSE(rules::checkQuota("9999999999999.999", true).done());
    EXPECT_TRUE(rules::checkQuota("9999999999999.999", false).done());
    EXPECT_TRUE(rules::checkQuota("0.000000000000000001", true).done());

    for (const auto &[stored, shown] :
         {std::pair{"0", "0"}, std::pair{"12", "12.0"}, std::pair{"3.14159", "3.1416"},
          std::pair{"", ""}, std::pair{"20000.5000", "20000.5"},
          std::pair{"99999999999999999.9999", "99999999999999999.9999"}})
        EXPECT_EQ(rules::formatQuota(stored), QString::fromUtf8(shown)) << stored;
    EXPECT_EQ(rules::saveErrorText(3146, "engine"), "保存失败：engine");
    // A read SQLite finds busy is told as a busy database, not as a record
    // another operator holds.
    const dbkit::DbError busy = dbkit::SqlDialect::create(dbkit::Engine::SQLite)
                                    ->toError(QSqlError("QSQLITE", "database is locked",
                                                        QSqlError::StatementError, "5"),
                                              "SELECT * FROM Warehouse", true);
    for (const QString &text : {rules::saveErrorText(busy.number(), busy.description()),
                                rules::deleteErrorText(busy.number(), busy.description())})
        EXPECT_TRUE(text.startsWith(QStringLiteral("账套数据库正忙，请稍后重试。\n")))
            << text.toStdString();
    EXPECT_EQ(rules::saveErrorText(3396, QString()), rules::aboutCode(106));
}
