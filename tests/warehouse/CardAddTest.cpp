// Adding warehouses on the card as a user does: typed fields, F6, the grid
// and the database checked afterwards.
#include "WarehouseFixture.h"

#include "warehouse/WarehouseCard.h"

using namespace depotbase;

using namespace whtest;

namespace {

QString blankMessage(int fieldId)
{
    return LoadResString(fieldId) + LoadResString(18);
}

} // namespace

class CardAddTest : public WarehouseFixture {};

TEST_P(CardAddTest, AddsSeveralWarehousesInOneOpening)
{
    runList([&](frmWHBrowse &) {
        const int rowsBefore = grid().Rows();
        expectCard([&](QDialog *card) {
            // A new card: empty fields, quota 0, first style, no positions, nothing to save.
            EXPECT_EQ(textOf(card, "EdtcWhCode"), "");
            EXPECT_EQ(textOf(card, "EdtiWhFundQuota"), "0");
            EXPECT_EQ(control<QComboBox>(card, "CmbcWhValueStyle")->currentIndex(), 0);
            EXPECT_FALSE(control<QCheckBox>(card, "ChkbWhPos")->isChecked());
            EXPECT_FALSE(button(card, "TlbSave")->isEnabled());
            EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(card, "EdtcWhCode"));

            // The department by code, left with Enter (which moves on as Tab does).
            retype(card, "EdtcWhCode", "20");
            EXPECT_TRUE(button(card, "TlbSave")->isEnabled());
            retype(card, "EdtcWhName", "新建一库");
            retype(card, "EdtcDepCode", "0101");
            pressKey(card, Qt::Key_Return);
            EXPECT_EQ(textOf(card, "EdtcDepCode"), "行政科");
            EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(card, "EdtcWhAddress"));
            retype(card, "EdtiWhFundQuota", "12.5");
            control<QComboBox>(card, "CmbcWhValueStyle")->setCurrentText("先进先出法");
            pressKey(card, Qt::Key_F6);

            EXPECT_EQ(grid().Rows(), rowsBefore + 1);
            EXPECT_EQ(grid().Row(), rowsBefore);
            EXPECT_EQ(grid().TextMatrix(rowsBefore, 0), "20");
            EXPECT_EQ(grid().TextMatrix(rowsBefore, 2), "行政科");
            EXPECT_EQ(grid().TextMatrix(rowsBefore, 6), "先进先出法");
            EXPECT_EQ(grid().TextMatrix(rowsBefore, 7), "否");
            EXPECT_EQ(grid().TextMatrix(rowsBefore, 8), "12.5");
            // Emptied for the next one, in add mode, nothing to save.
            EXPECT_EQ(textOf(card, "EdtcWhCode"), "");
            EXPECT_FALSE(button(card, "TlbSave")->isEnabled());

            // The second one: department by name, position management on.
            retype(card, "EdtcWhCode", "21");
            retype(card, "EdtcWhName", "新建二库");
            retype(card, "EdtcDepCode", "生产部");
            control<QCheckBox>(card, "ChkbWhPos")->click();
            retype(card, "EdtiWhFundQuota", "");
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(grid().Rows(), rowsBefore + 2);
            EXPECT_EQ(grid().TextMatrix(rowsBefore + 1, 7), "是");
            EXPECT_EQ(grid().TextMatrix(rowsBefore + 1, 8), "0");
            pressKey(card, Qt::Key_Escape);
        });
        click("TlbAdd");
    });
    EXPECT_EQ(warehouseField("20", "cDepCode"), "0101");
    EXPECT_EQ(warehouseField("20", "cWhValueStyle"), "先进先出法");
    EXPECT_DOUBLE_EQ(value("SELECT iWhFundQuota FROM Warehouse WHERE cWhCode='20'").toDouble(),
                     12.5);
    EXPECT_EQ(warehouseField("20", "cWhAddress"), "");
    EXPECT_TRUE(value("SELECT cWhAddress FROM Warehouse WHERE cWhCode='20'").isNull());
    EXPECT_EQ(warehouseField("21", "cDepCode"), "03");
    EXPECT_EQ(warehouseField("21", "bWhPos"), "1");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse"), 14);
}

TEST_P(CardAddTest, RequiredFieldsAndTheClosingQuestion)
{
    runList([&](frmWHBrowse &) {
        expectCard([&](QDialog *card) {
            // F6 does nothing while there is nothing to save.
            pressKey(card, Qt::Key_F6);
            retype(card, "EdtcWhName", "无编码库");
            retype(card, "EdtcWhCode", "   ");
            m_seam->expectMessage(blankMessage(52), modal::Icon::Critical, modal::Buttons::Ok,
                                  caption(), modal::Answer::Ok);
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(card, "EdtcWhCode"));

            retype(card, "EdtcWhCode", "22");
            retype(card, "EdtcWhName", "");
            m_seam->expectMessage(blankMessage(53), modal::Icon::Critical, modal::Buttons::Ok,
                                  caption(), modal::Answer::Ok);
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(card, "EdtcWhName"));

            // Closing asks; Yes with the code empty keeps the card open.
            retype(card, "EdtcWhCode", "");
            m_seam->expectMessage("是否保存?", modal::Icon::Question, modal::Buttons::YesNo,
                                  caption(), modal::Answer::Yes);
            m_seam->expectMessage(blankMessage(52), modal::Answer::Ok);
            pressKey(card, Qt::Key_Escape);
            EXPECT_TRUE(card->isVisible());
            // F1 opens the help page. No to the question closes without saving.
            m_seam->expectWindow("frmHelp");
            pressKey(card, Qt::Key_F1);
            m_seam->expectMessage("是否保存?", modal::Answer::No);
            pressKey(card, Qt::Key_F4, Qt::ControlModifier);
            EXPECT_FALSE(card->isVisible());
        });
        click("TlbAdd");
    });
    EXPECT_EQ(count("SELECT COUNT(*) FROM Warehouse"), 12);
}

// The save button the user sees, F6 and Esc follow one state at every
// opening, and the card keeps its size.
TEST_P(CardAddTest, SaveStateAndSizeAreTheSameAtEveryOpening)
{
    runList([&](frmWHBrowse &) {
        QSize firstSize;
        for (int opening = 0; opening < 2; ++opening) {
            expectCard([&](QDialog *card) {
                if (opening == 0)
                    firstSize = card->size();
                EXPECT_EQ(card->size(), firstSize);
                auto *save = control<QWidget>(card, "TlbSaveButton");
                EXPECT_FALSE(save->isEnabled()) << opening;
                // Nothing changed: Esc closes without asking.
                if (opening == 1) {
                    retype(card, "EdtcWhName", "x");
                    EXPECT_TRUE(save->isEnabled());
                    m_seam->expectMessage("是否保存?", modal::Answer::No);
                }
                pressKey(card, Qt::Key_Escape);
                EXPECT_FALSE(card->isVisible());
            });
            click("TlbAdd");
        }
    });
}

TEST_P(CardAddTest, DepartmentChecks)
{
    runList([&](frmWHBrowse &) {
        expectCard([&](QDialog *card) {
            // A parent department is no department for a warehouse, by code or by name.
            for (const QString &typed : {QStringLiteral("01"), QStringLiteral("采购部")}) {
                retype(card, "EdtcDepCode", typed);
                m_seam->expectMessage(LoadResString(129), modal::Icon::Critical,
                                      modal::Buttons::Ok, caption(), modal::Answer::Ok);
                pressKey(card, Qt::Key_Tab);
                EXPECT_EQ(textOf(card, "EdtcDepCode"), "");
                EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(card, "EdtcDepCode"));
            }
            // An unknown department typed and saved straight away is refused
            // as on leaving the box, never stored as none; an emptied box
            // stores the warehouse without department.
            retype(card, "EdtcWhCode", "23");
            retype(card, "EdtcWhName", "无部门库");
            retype(card, "EdtcDepCode", "不存在的部门");
            expectRefusal(LoadResString(129));
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(card, "EdtcDepCode"));
            EXPECT_FALSE(warehouseExists("23"));
            retype(card, "EdtcDepCode", "");
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(grid().TextMatrix(grid().Rows() - 1, 2), "");

            // F2 in the department box opens the reference; the choice fills the box.
            m_seam->expectWindow("RefDialog", [](QDialog *ref) {
                EXPECT_EQ(ref->windowTitle(), LoadResString(75));
                auto *search = ref->findChild<QLineEdit *>("txtSearch");
                typeText(search, "0202");
                QTest::keyClick(search, Qt::Key_Return);
            });
            control<QWidget>(card, "EdtcDepCode")->setFocus();
            pressKey(card, Qt::Key_F2);
            EXPECT_EQ(textOf(card, "EdtcDepCode"), "设备采购组");
            // F2 elsewhere does nothing.
            control<QWidget>(card, "EdtcWhName")->setFocus();
            pressKey(card, Qt::Key_F2);
            // Closing from an unknown department does not check it any more.
            retype(card, "EdtcDepCode", "xx");
            m_seam->expectMessage("是否保存?", modal::Answer::No);
            pressKey(card, Qt::Key_Escape);
        });
        click("TlbAdd");
    });
    EXPECT_TRUE(value("SELECT cDepCode FROM Warehouse WHERE cWhCode='23'").isNull());
}

TEST_P(CardAddTest, RefusedSaveKeepsWhatWasTyped)
{
    // The memo column of this account holds 8 characters, fewer than the box.
    if (testsupport::isServerEngine(GetParam()))
        m_login->Execute("ALTER TABLE Warehouse ALTER COLUMN cWhMemo TYPE varchar(8)");
    else
        m_login->Execute("CREATE TRIGGER memo8 BEFORE INSERT ON Warehouse "
                         "WHEN length(NEW.cWhMemo) > 8 "
                         "BEGIN SELECT RAISE(ABORT, 'CHECK constraint failed: cWhMemo'); END");
    runList([&](frmWHBrowse &) {
        const int rows = grid().Rows();
        expectCard([&](QDialog *card) {
            retype(card, "EdtcWhCode", "01");
            retype(card, "EdtcWhName", "重复编码库");
            m_seam->expectMessage(LoadResString(104) + LoadResString(52) + LoadResString(105),
                                  modal::Icon::Critical, modal::Buttons::Ok, caption(),
                                  modal::Answer::Ok);
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(textOf(card, "EdtcWhCode"), "01");
            EXPECT_EQ(textOf(card, "EdtcWhName"), "重复编码库");
            EXPECT_TRUE(button(card, "TlbSave")->isEnabled());
            EXPECT_EQ(grid().Rows(), rows);

            retype(card, "EdtcWhCode", "24");
            retype(card, "EdtcWhMemo", "这段备注超过八个字了");
            m_seam->expectMessage(LoadResString(85), modal::Icon::Critical, modal::Buttons::Ok,
                                  caption(), modal::Answer::Ok);
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(textOf(card, "EdtcWhMemo"), "这段备注超过八个字了");

            // Corrected, it is stored; a Yes to the closing question (here
            // from the title bar) saves.
            retype(card, "EdtcWhMemo", "短备注");
            m_seam->expectMessage("是否保存?", modal::Answer::Yes);
            card->close();
            EXPECT_FALSE(card->isVisible());
        });
        click("TlbAdd");
        EXPECT_EQ(grid().Rows(), rows + 1);
    });
    EXPECT_EQ(warehouseField("24", "cWhMemo"), "短备注");
    EXPECT_EQ(warehouseField("01", "cWhName"), "原材料库");
}

TEST_P(CardAddTest, ValuationStylesFollowTheAccount)
{
    auto styles = [](QDialog *card) {
        QStringList items;
        auto *combo = control<QComboBox>(card, "CmbcWhValueStyle");
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    };
    const QStringList common{"全月平均法", "移动平均法", "先进先出法", "后进先出法", "个别计价法"};
    runList([&](frmWHBrowse &) {
        setOption("AA", "cSysVersion", "商业");
        expectCard([&](QDialog *card) { EXPECT_EQ(styles(card), common + QStringList{"售价法"}); });
        click("TlbAdd");
        blnBasicVersion = true;
        expectCard([&](QDialog *card) {
            EXPECT_EQ(styles(card), (QStringList{"全月平均法", "移动平均法"}));
            EXPECT_FALSE(control<QCheckBox>(card, "ChkbWhPos")->isVisible());
        });
        click("TlbAdd");
    });
}

TEST_P(CardAddTest, ReadOnlyListRefusesWrites)
{
    openListDataSet(true);
    const QString refusal = QStringLiteral("仓库档案以只读方式打开，不能增加、修改或删除！");
    runList([&](frmWHBrowse &l) {
        // The list disables 增加 and 删除; run anyway, they are refused.
        m_seam->expectMessage(refusal, modal::Icon::Critical, modal::Buttons::Ok, caption(),
                              modal::Answer::Ok);
        l.OnToolbarCommand("TlbAdd");
        selectCode("12");
        m_seam->expectMessage(refusal, modal::Answer::Ok);
        l.OnToolbarCommand("TlbDel");
        // The card only shows the warehouse: nothing takes typing, nothing
        // saves, and leaving asks nothing.
        editCode("12", [&](QDialog *card) {
            EXPECT_EQ(card->windowTitle(), "仓库档案卡片［只读］");
            EXPECT_FALSE(control<QComboBox>(card, "CmbcWhValueStyle")->isEnabled());
            EXPECT_FALSE(control<QCheckBox>(card, "ChkbWhPos")->isEnabled());
            retype(card, "EdtcWhName", "改不了");
            EXPECT_EQ(textOf(card, "EdtcWhName"), "外租仓库");
            EXPECT_FALSE(button(card, "TlbSave")->isEnabled());
            EXPECT_FALSE(button(card, "TlbAdd")->isEnabled());
            pressKey(card, Qt::Key_F6);
            pressKey(card, Qt::Key_Escape);
            EXPECT_FALSE(card->isVisible());
        });
    });
    EXPECT_EQ(warehouseField("12", "cWhName"), "外租仓库");
    EXPECT_EQ(locksHeld(), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM ChangeHistory"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, CardAddTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
