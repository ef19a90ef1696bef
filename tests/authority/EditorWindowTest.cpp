// The editor's window: tree, views, toolbar, and rows written as they are
// completed.
#include "AuthorityFixture.h"

#include <QLineEdit>
#include <QToolBar>

using namespace depotbase;

using namespace authtest;

class EditorWindow : public AuthorityFixture {};

TEST_P(EditorWindow, TreeViewsAndRowsWrittenAsTheyAreCompleted)
{
    runEditor([this](FrmAuthority &e) {
        EXPECT_EQ(e.windowTitle(), "权限配置窗口");
        EXPECT_EQ(e.property("HelpContextID").toInt(), 31100141);
        EXPECT_EQ(e.node("c")->text(0), "操作员");
        EXPECT_EQ(e.node("s")->text(0), "仓库");
        EXPECT_EQ(e.node("c")->childCount(), 5) << "no administrator, no inactive operator";
        EXPECT_EQ(e.node("cadmin"), nullptr);
        EXPECT_EQ(e.node("c004"), nullptr);
        ASSERT_NE(e.node("s07"), nullptr);
        EXPECT_EQ(e.node("c07")->text(0), "(07)周(小)明");
        EXPECT_FALSE(e.toolbarButton("addbut")->isEnabled());
        SuperGrid *grid = e.authGrid();
        EXPECT_EQ(grid->ColWidth(FrmAuthority::ColAutoId), 0);
        EXPECT_EQ(grid->ColWidth(4), grid->ColWidth(3));
        // A quarter of the grid as it is shown, not of a grid not yet placed.
        EXPECT_NEAR(grid->ColWidth(0), grid->width() * 15 / 4.0, 15 * 8);

        // Operator view: one row per warehouse right of 001.
        clickNode(e, "c001");
        EXPECT_EQ(e.rows().node.name, "张伟");
        ASSERT_EQ(grid->Rows(), 3);
        EXPECT_EQ(grid->TextMatrix(0, 0), "仓库代码");
        EXPECT_EQ(rowTexts(e, 2).mid(3), QStringList({"否", "0201", "机床", "", "", ""}));
        EXPECT_EQ(grid->TextMatrix(1, 3), "是");
        EXPECT_EQ(e.rows().lastSavedRow, 2);

        // A new row is written once its warehouse is chosen, without money
        // shown; choosing 是 rewrites it.
        press(e, "addbut");
        EXPECT_EQ(grid->Rows(), 4);
        EXPECT_EQ(grid->Row(), 3);
        EXPECT_EQ(grid->TextMatrix(3, 1), "") << "nothing written for a row without code";
        pickInCell(e, 3, 0, "03");
        EXPECT_EQ(grid->TextMatrix(3, 1), "半成品库");
        const QString id = grid->TextMatrix(3, FrmAuthority::ColAutoId);
        ASSERT_FALSE(id.isEmpty());
        EXPECT_EQ(count("Auto_id=" + id + " and Id='001' and cuser_id='张伟' and "
                        "cWhCode='03' and bDispMoney=0 and cInvCCode is null"),
                  1);
        pickInCell(e, 3, 3, "是");
        pickInCell(e, 3, 4, "0102");
        EXPECT_EQ(grid->TextMatrix(3, 5), "化工原料");
        EXPECT_EQ(count("Auto_id=" + id + " and bDispMoney=1 and cInvCCode='0102'"), 1);
        // The empty first item clears the class again.
        pickInCell(e, 3, 4, "");
        EXPECT_EQ(count("Auto_id=" + id + " and cInvCCode is null"), 1);

        // A button pressed while a cell is open commits the cell first; pressing
        // add twice on an unfinished row adds one row only.
        grid->setCol(3);
        QTest::keyClick(grid->view(), Qt::Key_Return);
        ASSERT_NE(grid->editor(), nullptr);
        QTest::keyClick(grid->editor(), Qt::Key_Down);
        press(e, "addbut");
        EXPECT_EQ(count("Auto_id=" + id + " and bDispMoney=0"), 1);
        expectStop("请设置是否显示金额!");
        press(e, "addbut");
        EXPECT_EQ(grid->Rows(), 5);
        // Stored without money shown, the new row says 否 as the table does,
        // and may be left as it is.
        pickInCell(e, 4, 0, "05");
        EXPECT_EQ(grid->TextMatrix(4, 3), "否");
        grid->setRow(1);
        EXPECT_EQ(grid->Row(), 1);

        // Delete: click the row, press delete; the record goes at once.
        const QString gone = grid->TextMatrix(4, FrmAuthority::ColAutoId);
        clickCell(e, 4, 0);
        EXPECT_TRUE(e.toolbarButton("delbut")->isEnabled());
        press(e, "delbut");
        EXPECT_EQ(count("Auto_id=" + gone), 0);
        EXPECT_EQ(grid->Rows(), 4);
        EXPECT_EQ(e.rows().lastSavedRow, 3);
        EXPECT_FALSE(e.toolbarButton("delbut")->isEnabled());

        // Warehouse view: 07's operators, one sharing the warehouse's code.
        clickNode(e, "s07");
        EXPECT_EQ(grid->TextMatrix(0, 0), "操作员代码");
        EXPECT_EQ(e.rows().node.kind, services::NodeKind::Warehouse);
        ASSERT_EQ(grid->Rows(), 3);
        EXPECT_EQ(rowTexts(e, 1).mid(0, 2), QStringList({"005", "陈静"}));
        EXPECT_EQ(rowTexts(e, 1).mid(6), QStringList({"01010201", "不锈钢棒", "304 Φ20"}));
        EXPECT_EQ(rowTexts(e, 2).mid(0, 2), QStringList({"07", "周(小)明"}));
        pickInCell(e, 2, 3, "否");
        press(e, "addbut");
        pickInCell(e, 3, 0, "001");
        EXPECT_EQ(grid->TextMatrix(3, 1), "张伟");
        EXPECT_EQ(count("Id='001' and cuser_id='张伟' and cWhCode='07' and bDispMoney=0"), 1);
        EXPECT_EQ(count("Id='07' and cWhCode='07' and bDispMoney=0"), 1);
        pickInCell(e, 3, 3, "否");

        // A root: titles only, nothing to add or delete.
        clickNode(e, "c");
        EXPECT_EQ(grid->Rows(), 1);
        EXPECT_FALSE(e.toolbarButton("addbut")->isEnabled());

        // Help from F1 and from the toolbar; exit closes.
        m_seam->expectWindow("frmHelp");
        QTest::keyClick(e.authTree(), Qt::Key_F1);
        m_seam->expectWindow("frmHelp");
        press(e, "helpbut");
        press(e, "exitbut");
        EXPECT_FALSE(e.isVisible());
    });
}

TEST_P(EditorWindow, EmptyRightsTableClearsTheGridAndCrossingRowKeepsTheNode)
{
    m_login->Execute("delete from WarehAuth");
    runEditor([this](FrmAuthority &e) {
        // A row begun for 002 is not left in the grid of 003, where it
        // would be stored for 003.
        clickNode(e, "c002");
        press(e, "addbut");
        clickNode(e, "c003");
        EXPECT_EQ(e.authGrid()->Rows(), 1);
        EXPECT_EQ(e.rows().lastSavedRow, 0);
        clickNode(e, "c002");
        EXPECT_TRUE(e.toolbarButton("addbut")->isEnabled());
        press(e, "addbut");
        pickInCell(e, 1, 0, "01");
        pickInCell(e, 1, 3, "是");
        ASSERT_EQ(count("Id='002'"), 1);
    });
    // With rights stored, a node click that would leave a crossing row is
    // refused: the grid stays the previous node's.
    m_login->Execute("insert into WarehAuth (Id, cuser_id, cWhCode, bDispMoney, cInvCCode) "
                     "values ('002', '李娜', '02', 1, '01')");
    runEditor([this](FrmAuthority &e) {
        clickNode(e, "c002");
        ASSERT_EQ(e.authGrid()->Rows(), 3);
        press(e, "addbut");
        pickInCell(e, 3, 4, "0101");
        // 0101 lies beneath 01: the row is not written and its class is emptied.
        expectStop("");
        pickInCell(e, 3, 0, "02");
        EXPECT_EQ(rowTexts(e, 3).mid(2, 3), QStringList({"", "", ""}));
        // A whole warehouse 02 beside the stored class 01 keeps the node.
        expectStop("");
        clickNode(e, "c003");
        EXPECT_EQ(e.rows().node.code, "002");
        EXPECT_EQ(e.authGrid()->Rows(), 4);
        // Crossing rows can always be deleted; then the node changes.
        clickCell(e, 3, 0);
        press(e, "delbut");
        EXPECT_EQ(count("Id='002' and cWhCode='02'"), 1);
        clickNode(e, "c003");
        EXPECT_EQ(e.rows().node.code, "003");
    });
}

// The inventory reference offers every item, whatever the cell holds, and a
// search that names an item exactly picks that item, not one containing it.
TEST_P(EditorWindow, ReferencePicksTheExactMatchAmongEveryItem)
{
    runEditor([this](FrmAuthority &e) {
        SuperGrid *grid = e.authGrid();
        clickNode(e, "c005");
        ASSERT_EQ(grid->TextMatrix(2, 6), "01010201");
        grid->setRow(2);
        grid->setCol(6);
        grid->view()->setFocus();
        m_seam->expectWindow("RefDialog", [](QDialog *d) {
            auto *table = d->findChild<QTableView *>("tblRef");
            ASSERT_NE(table, nullptr);
            EXPECT_EQ(table->model()->rowCount(), 9) << "every item but the service items";
            auto *search = d->findChild<QLineEdit *>("txtSearch");
            ASSERT_NE(search, nullptr);
            typeText(search, "010201");
            EXPECT_EQ(table->model()->rowCount(), 2);
            QTest::keyClick(search, Qt::Key_Return);
        });
        QTest::keyClick(grid->view(), Qt::Key_R, Qt::ControlModifier);
        EXPECT_EQ(rowTexts(e, 2).mid(6), QStringList({"010201", "环氧树脂", "E-44"}));
    });
    EXPECT_EQ(count("Id='005' and cWhCode='07' and cInvCode='010201'"), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, EditorWindow,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
