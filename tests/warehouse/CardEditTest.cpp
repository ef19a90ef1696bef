// Editing warehouses on the card: the grid row rewritten, the in-use rule,
// a warehouse deleted meanwhile, the position rule, the department-wide
// valuation rule and values holding quotes.
#include "WarehouseFixture.h"

#include "warehouse/WarehouseCard.h"

using namespace depotbase;

using namespace whtest;

namespace {

QString aboutCode(int endingId)
{
    return LoadResString(104) + LoadResString(52) + LoadResString(endingId);
}

} // namespace

class CardEditTest : public WarehouseFixture {};

TEST_P(CardEditTest, EditRewritesTheGridRowAndReleasesTheLock)
{
    runList([&](frmWHBrowse &) {
        const int row = rowOf("12");
        editCode("12", [&](QDialog *card) {
            EXPECT_EQ(textOf(card, "EdtcWhName"), "外租仓库");
            EXPECT_EQ(textOf(card, "EdtcDepCode"), "原料采购组");
            EXPECT_EQ(textOf(card, "EdtiWhFundQuota"), "0");
            EXPECT_FALSE(button(card, "TlbSave")->isEnabled());
            EXPECT_EQ(locksHeld(), 1);
            retype(card, "EdtcWhCode", "12A");
            retype(card, "EdtcWhName", "外租仓库二");
            retype(card, "EdtcWhPhone", "0512-1");
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(grid().TextMatrix(row, 0), "12A");
            EXPECT_EQ(grid().TextMatrix(row, 1), "外租仓库二");
            EXPECT_EQ(grid().TextMatrix(row, 4), "0512-1");
            EXPECT_EQ(textOf(card, "EdtcWhCode"), "");
            EXPECT_EQ(locksHeld(), 0);
            pressKey(card, Qt::Key_Escape);
        });
        // The quota as the card shows it.
        for (const auto &quota : {std::pair{"02", "12.0"}, std::pair{"03", "3.1416"},
                                  std::pair{"11", ""}, std::pair{"05", "20000.5"}}) {
            const char *code = quota.first;
            const char *shown = quota.second;
            editCode(code, [&](QDialog *card) {
                EXPECT_EQ(textOf(card, "EdtiWhFundQuota"), QString::fromUtf8(shown)) << code;
                pressKey(card, Qt::Key_Escape);
            });
        }
    });
    EXPECT_FALSE(warehouseExists("12"));
    EXPECT_EQ(warehouseField("12A", "cWhPhone"), "0512-1");
    EXPECT_EQ(warehouseField("12A", "cDepCode"), "0201");
    EXPECT_EQ(locksHeld(), 0);
}

TEST_P(CardEditTest, WarehouseInUseKeepsCodeAndStyle)
{
    const QString quota = "SELECT iWhFundQuota FROM Warehouse WHERE cWhCode='03'";
    const QVariant quotaBefore = value(quota);
    runList([&](frmWHBrowse &) {
        const int row = rowOf("03");
        // Only the phone changed: stored without a word, and the quota shown
        // rounded keeps what is stored.
        editCode("03", [&](QDialog *card) {
            retype(card, "EdtcWhPhone", "0512-1");
            pressKey(card, Qt::Key_F6);
            pressKey(card, Qt::Key_Escape);
        });
        editCode("03", [&](QDialog *card) {
            retype(card, "EdtcWhName", "半成品库新");
            control<QComboBox>(card, "CmbcWhValueStyle")->setCurrentText("全月平均法");
            m_seam->expectMessage("该仓库编码已经在其它数据表中使用，因此计价方式等项目不能改变！",
                                  modal::Icon::Information, modal::Buttons::Ok, caption(),
                                  modal::Answer::Ok);
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(grid().TextMatrix(row, 0), "03");
            EXPECT_EQ(grid().TextMatrix(row, 1), "半成品库新");
            EXPECT_EQ(grid().TextMatrix(row, 6), "移动平均法");
            pressKey(card, Qt::Key_Escape);
        });
    });
    EXPECT_EQ(warehouseField("03", "cWhName"), "半成品库新");
    EXPECT_EQ(warehouseField("03", "cWhValueStyle"), "移动平均法");
    EXPECT_EQ(warehouseField("03", "cWhPhone"), "0512-1");
    EXPECT_EQ(value(quota), quotaBefore);
    EXPECT_EQ(locksHeld(), 0);
}

TEST_P(CardEditTest, StoredStyleNotOfferedIsKept)
{
    // A trading account offers "售价法", not the planned-price style of 09.
    setOption("AA", "cSysVersion", "商业");
    runList([&](frmWHBrowse &) {
        editCode("09", [&](QDialog *card) {
            EXPECT_EQ(control<QComboBox>(card, "CmbcWhValueStyle")->currentText(), "计划价法");
            retype(card, "EdtcWhMemo", "门市");
            pressKey(card, Qt::Key_F6);
            // The next warehouse is offered the account's own list again.
            EXPECT_EQ(control<QComboBox>(card, "CmbcWhValueStyle")->findText("计划价法"), -1);
            pressKey(card, Qt::Key_Escape);
        });
    });
    EXPECT_EQ(warehouseField("09", "cWhValueStyle"), "计划价法");
    EXPECT_EQ(warehouseField("09", "cWhMemo"), "门市");
}

TEST_P(CardEditTest, WarehouseDeletedWhileTheCardWasOpen)
{
    dbkit::DbLoginPtr other = m_db->connect("other", "OTHERPC");
    runList([&](frmWHBrowse &) {
        const int rows = grid().Rows();
        editCode("12", [&](QDialog *card) {
            other->Execute("DELETE FROM Warehouse WHERE cWhCode='12'");
            retype(card, "EdtcWhName", "改过的外租仓库");
            m_seam->expectMessage(aboutCode(107), modal::Icon::Critical, modal::Buttons::Ok,
                                  caption(), modal::Answer::Ok);
            pressKey(card, Qt::Key_F6);
            // Told, not lost: the typed card stays, the gone row leaves the list.
            EXPECT_EQ(textOf(card, "EdtcWhName"), "改过的外租仓库");
            EXPECT_EQ(rowOf("12"), -1);
            EXPECT_EQ(locksHeld(), 0);
            // Saving again stores it as a new warehouse.
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(grid().Rows(), rows);
            EXPECT_EQ(grid().TextMatrix(rows - 1, 1), "改过的外租仓库");
            pressKey(card, Qt::Key_Escape);
        });
    });
    EXPECT_EQ(warehouseField("12", "cWhName"), "改过的外租仓库");
}

TEST_P(CardEditTest, PositionManagementStaysWhilePositionsExist)
{
    openListDataSet(false);
    runList([&](frmWHBrowse &) {
        editCode("01", [&](QDialog *card) {
            m_seam->expectMessage("该仓库已录入了货位，不能取消货位管理！", modal::Icon::Critical,
                                  modal::Buttons::Ok, caption(), modal::Answer::Ok);
            control<QCheckBox>(card, "ChkbWhPos")->click();
            EXPECT_TRUE(control<QCheckBox>(card, "ChkbWhPos")->isChecked());
            EXPECT_FALSE(button(card, "TlbSave")->isEnabled());
            pressKey(card, Qt::Key_Escape);
        });
    });
    EXPECT_EQ(warehouseField("01", "bWhPos"), "1");
}

TEST_P(CardEditTest, DepartmentWideValuation)
{
    setOption("IA", "cValueStyle", "按部门核算");
    // Added last but first by code: its style is the department's.
    m_login->Execute("INSERT INTO Warehouse (cWhCode, cWhName, cDepCode, cWhValueStyle, bWhPos) "
                     "VALUES ('00', '部门首库', '03', '全月平均法', 0)");
    openListDataSet(false);
    const QString style = "全月平均法";
    const QString question = "生产部的计价方式必须以‘" + style + "’为准！\n该部门其他 3 个仓库"
                             "的计价方式将统一设为‘" + style + "’。";
    runList([&](frmWHBrowse &) {
        expectCard([&](QDialog *card) {
            retype(card, "EdtcWhCode", "25");
            retype(card, "EdtcWhName", "部门新库");
            m_seam->expectMessage(LoadResString(54) + LoadResString(18), modal::Icon::Critical,
                                  modal::Buttons::Ok, caption(), modal::Answer::Ok);
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(card, "EdtcDepCode"));

            retype(card, "EdtcDepCode", "03");
            control<QComboBox>(card, "CmbcWhValueStyle")->setCurrentText("后进先出法");
            m_seam->expectMessage(question, modal::Icon::Information, modal::Buttons::OkCancel,
                                  caption(), modal::Answer::Cancel);
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(control<QComboBox>(card, "CmbcWhValueStyle")->currentText(), style);
            EXPECT_EQ(textOf(card, "EdtcWhCode"), "25");
            EXPECT_FALSE(warehouseExists("25"));

            control<QComboBox>(card, "CmbcWhValueStyle")->setCurrentText("后进先出法");
            m_seam->expectMessage(question, modal::Answer::Ok);
            pressKey(card, Qt::Key_F6);
            pressKey(card, Qt::Key_Escape);
        });
        click("TlbAdd");
        for (int row = 1; row < grid().Rows(); ++row) {
            if (grid().TextMatrix(row, 2) == "生产部") {
                EXPECT_EQ(grid().TextMatrix(row, 6), style) << row;
            }
        }
    });
    EXPECT_EQ(warehouseField("25", "cWhValueStyle"), style);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse WHERE cDepCode='03' AND cWhValueStyle='"
                    + style + "'"),
              4);
}

TEST_P(CardEditTest, QuotesNeverChangeAStatement)
{
    setOption("IA", "cValueStyle", "按部门核算");
    m_login->Execute("INSERT INTO Department (cDepCode, cDepName, cDepPerson, bDepEnd) "
                     "VALUES ('0''5', '王''部', NULL, 1)");
    m_login->Execute("INSERT INTO Warehouse (cWhCode, cWhName, cDepCode, cWhValueStyle, bWhPos) "
                     "VALUES ('Q''1', '引号库', '0''5', '全月平均法', 0)");
    openListDataSet(false);
    runList([&](frmWHBrowse &) {
        editCode("Q'1", [&](QDialog *card) {
            EXPECT_EQ(textOf(card, "EdtcDepCode"), "王'部");
            // A quote typed into a box is refused with a beep.
            const int beeps = m_seam->beeps();
            retype(card, "EdtcWhName", "引号'库|");
            EXPECT_EQ(textOf(card, "EdtcWhName"), "引号库");
            EXPECT_EQ(m_seam->beeps(), beeps + 2);
            retype(card, "EdtcWhMemo", "备注");
            pressKey(card, Qt::Key_F6);
            pressKey(card, Qt::Key_Escape);
        });
        EXPECT_EQ(grid().TextMatrix(rowOf("Q'1"), 9), "备注");
        // The department chosen in the reference carries its quote into the record.
        expectCard([&](QDialog *card) {
            retype(card, "EdtcWhCode", "26");
            retype(card, "EdtcWhName", "引号部门库");
            m_seam->expectWindow("RefDialog", [](QDialog *ref) {
                auto *search = ref->findChild<QLineEdit *>("txtSearch");
                typeText(search, "5");
                QTest::keyClick(search, Qt::Key_Return);
            });
            control<QAbstractButton>(card, "cmdRef")->click();
            EXPECT_EQ(textOf(card, "EdtcDepCode"), "王'部");
            pressKey(card, Qt::Key_F6);
            pressKey(card, Qt::Key_Escape);
        });
        click("TlbAdd");
    });
    EXPECT_EQ(warehouseField("Q'1", "cWhMemo"), "备注");
    EXPECT_EQ(warehouseField("26", "cDepCode"), "0'5");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse"), 14);
}

INSTANTIATE_TEST_SUITE_P(Engines, CardEditTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
