// Deleting warehouses from the list and the record locks between two
// operators (two connections on one account).
#include "WarehouseFixture.h"

#include "suite/locks/LockVouchDLL.h"

using namespace depotbase;

using namespace whtest;

namespace {

QString singleQuestion(const QString &name)
{
    return LoadResString(4) + LoadResString(51) + "---" + name + " " + LoadResString(5) + "?";
}

// The multi-row question says how many warehouses go.
QString multiQuestion(int count)
{
    return LoadResString(128) + "?" + QStringLiteral("\n（共 %1 个仓库将被删除）").arg(count);
}
// The lock message names the holder on its second line.
const QString LockMessage = QStringLiteral("其他操作员正在对此仓库档案进行操作，请稍候操作！\n"
                                           "锁定者：操作员 other，计算机 OTHERPC");

} // namespace

class DeleteTest : public WarehouseFixture {
protected:
    void expectQuestion(const QString &text, modal::Answer answer)
    {
        m_seam->expectMessage(text, modal::Icon::Question, modal::Buttons::YesNo, caption(),
                              answer);
    }
    void expectCritical(const QString &text)
    {
        m_seam->expectMessage(text, modal::Icon::Critical, modal::Buttons::Ok, caption(),
                              modal::Answer::Ok);
    }
    void expectLockMessage()
    {
        m_seam->expectMessage(LockMessage, modal::Icon::Information, modal::Buttons::Ok,
                              caption(), modal::Answer::Ok);
    }
    // Frees warehouses 02 to 05 of the positions and stock records that keep them.
    void freeWarehouses()
    {
        m_login->Execute("DELETE FROM Position WHERE cWhCode='02'");
        m_login->Execute("DELETE FROM StockMove");
    }
    // "Another operator": a second connection with its own lock object.
    bool otherLocks(const QString &code)
    {
        if (!m_other)
            m_other = m_db->connect("other", "OTHERPC");
        return m_otherLocks.LockRecords(*m_other, "BJ", "AA", "a", "OTHERPC", {code});
    }

    dbkit::DbLoginPtr m_other;
    LockVouchDLL m_otherLocks;
};

TEST_P(DeleteTest, DeletesOneWarehouseAfterYes)
{
    runList([&](frmWHBrowse &) {
        selectCode("11");
        expectQuestion(singleQuestion("不合格品库"), modal::Answer::No);
        click("TlbDel");
        EXPECT_GT(rowOf("11"), 0);

        selectCode("12");
        expectQuestion(singleQuestion("外租仓库"), modal::Answer::Yes);
        click("TlbDel");
        EXPECT_EQ(rowOf("12"), -1);
        EXPECT_EQ(grid().Rows(), 12);
    });
    EXPECT_TRUE(warehouseExists("11"));
    EXPECT_FALSE(warehouseExists("12"));
    EXPECT_EQ(locksHeld(), 0);
}

TEST_P(DeleteTest, DeletesSelectedRowsInBothDirections)
{
    freeWarehouses();
    runList([&](frmWHBrowse &) {
        select(5, 2);
        expectQuestion(multiQuestion(4), modal::Answer::No);
        click("TlbDel");
        EXPECT_EQ(grid().Rows(), 13);

        select(5, 2);
        expectQuestion(multiQuestion(4), modal::Answer::Yes);
        click("TlbDel");
        select(2, 4);
        expectQuestion(multiQuestion(3), modal::Answer::Yes);
        click("TlbDel");
        QStringList left;
        for (int row = 1; row < grid().Rows(); ++row)
            left << grid().TextMatrix(row, 0);
        EXPECT_EQ(left, (QStringList{"01", "09", "10", "11", "12"}));
    });
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse"), 5);
    EXPECT_EQ(locksHeld(), 0);
}

TEST_P(DeleteTest, RefusalsLeaveNoLockAndGoneWarehousesLeaveTheList)
{
    // Positions are checked before any lock: another operator's lock on 01
    // does not even come into it.
    ASSERT_TRUE(otherLocks("01"));
    runList([&](frmWHBrowse &l) {
        selectCode("01");
        expectCritical("该仓库编码已被货位档案使用，不能删除！");
        click("TlbDel");

        // Deleted by someone else meanwhile: told, nothing locked, and its
        // row leaves the list.
        m_other->Execute("DELETE FROM Warehouse WHERE cWhCode IN ('08', '09', '11')");
        selectCode("11");
        expectCritical("该仓库编码已被他人删除，不能删除！");
        click("TlbDel");
        EXPECT_EQ(rowOf("11"), -1);
        selectCode("09");
        expectCritical("该仓库编码已被他人删除，不能修改！");
        click("TlbEdit");
        EXPECT_EQ(rowOf("09"), -1);
        EXPECT_EQ(l.windowTitle(), "仓库档案（共 10 个仓库）");
        expectCritical(LoadResString(6) + LoadResString(52) + "," + LoadResString(7));
        select(rowOf("08"), rowOf("10"));
        click("TlbDel");
        // Met half-way through a multi-row delete: the rows before it go,
        // the lock taken for it is released.
        select(rowOf("07"), rowOf("08"));
        expectQuestion(multiQuestion(2), modal::Answer::Yes);
        expectCritical("该仓库编码已被他人删除，不能删除！");
        click("TlbDel");
        EXPECT_EQ(rowOf("07"), -1);
        EXPECT_EQ(rowOf("08"), -1);
    });
    EXPECT_FALSE(warehouseExists("07"));
    EXPECT_TRUE(warehouseExists("01"));
    EXPECT_TRUE(warehouseExists("10"));
    EXPECT_EQ(locksHeld(), 1);  // only the other operator's
}

TEST_P(DeleteTest, LastWarehouseHidesTheSelection)
{
    freeWarehouses();
    m_login->Execute("DELETE FROM Position");
    m_login->Execute("DELETE FROM Warehouse WHERE cWhCode<>'12'");
    openListDataSet(false);
    runList([&](frmWHBrowse &) {
        selectCode("12");
        expectQuestion(singleQuestion("外租仓库"), modal::Answer::Yes);
        click("TlbDel");
        EXPECT_EQ(grid().Rows(), 1);
        EXPECT_EQ(grid().HighLight(), 0);
        EXPECT_EQ(grid().FocusRect(), 0);
        EXPECT_EQ(grid().BackColorSel(), 0x8000000Bu);
        EXPECT_EQ(grid().ForeColorSel(), 0x80000012u);
        // Nothing left to edit or delete.
        click("TlbEdit");
        click("TlbDel");
    });
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse"), 0);
}

TEST_P(DeleteTest, SecondOperatorWaitsForTheFirstsLock)
{
    freeWarehouses();
    ASSERT_TRUE(otherLocks("12"));
    runList([&](frmWHBrowse &) {
        selectCode("12");
        expectLockMessage();
        click("TlbEdit");
        expectQuestion(singleQuestion("外租仓库"), modal::Answer::Yes);
        expectLockMessage();
        click("TlbDel");
        EXPECT_GT(rowOf("12"), 0);

        // A refused lock stops a multi-row delete at that row.
        select(rowOf("10"), rowOf("12"));
        expectQuestion(multiQuestion(rowOf("12") - rowOf("10") + 1), modal::Answer::Yes);
        expectLockMessage();
        click("TlbDel");
        EXPECT_EQ(rowOf("10"), -1);
        EXPECT_EQ(rowOf("11"), -1);
        EXPECT_GT(rowOf("12"), 0);
        m_otherLocks.UnlockRecords(*m_other, "BJ", {QStringLiteral("12")});

        // Now this operator holds 12 while its card is open, and only then.
        expectCard([&](QDialog *card) {
            EXPECT_FALSE(otherLocks("12"));
            pressKey(card, Qt::Key_Escape);
        });
        selectCode("12");
        click("TlbEdit");
        EXPECT_TRUE(otherLocks("12"));
    });
    EXPECT_TRUE(warehouseExists("12"));
    EXPECT_FALSE(warehouseExists("10"));
}

// A multi-row delete that meets a warehouse in use stops there and says how
// many went before it and which one stopped it.
TEST_P(DeleteTest, MultiRowDeleteStoppedByAWarehouseInUseSaysWhatWent)
{
    runList([&](frmWHBrowse &) {
        select(rowOf("05"), rowOf("03"));
        expectQuestion(multiQuestion(3), modal::Answer::Yes);
        expectCritical("已删除 2 个；03 在其它数据表中使用，未删除");
        click("TlbDel");
        EXPECT_EQ(rowOf("05"), -1);
        EXPECT_EQ(rowOf("04"), -1);
        EXPECT_GT(rowOf("03"), 0);
    });
    EXPECT_TRUE(warehouseExists("03"));
    EXPECT_FALSE(warehouseExists("04"));
    EXPECT_EQ(locksHeld(), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, DeleteTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
