// The warehouse list window as a user sees and drives it.
#include "WarehouseFixture.h"

#include "component/LXWareHouse.h"

#include <QHeaderView>
#include <QTableView>
#include <QTextBrowser>
#include <QToolBar>

using namespace depotbase;

using namespace whtest;

namespace {

class ListWindowTest : public WarehouseFixture {};

TEST_P(ListWindowTest, ShowsEveryWarehouseWithItsCellTexts)
{
    runList([&](frmWHBrowse &l) {
        EXPECT_EQ(l.windowTitle(), "仓库档案（共 12 个仓库）");
        SuperGrid &g = grid();
        EXPECT_EQ(g.Rows(), 13);
        EXPECT_EQ(g.Cols(), 10);
        const QStringList titles{"仓库编码", "仓库名称", "所属部门", "仓库地址", "电话",
                                 "负责人",   "计价方式", "是否货位管理", "资金定额", "备注"};
        for (int col = 0; col < 10; ++col)
            EXPECT_EQ(g.TextMatrix(0, col), titles[col]);
        const QList<int> widths{1200, 2000, 1800, 3000, 2000, 1000, 1400, 1200, 1000, 2500};
        // The code column is at least as wide as set, wider when a full code needs it.
        EXPECT_GE(g.ColWidth(0), widths[0]);
        for (int col = 1; col < 10; ++col)
            EXPECT_EQ(g.ColWidth(col), widths[col]) << col;
        EXPECT_EQ(g.ColKind(8), SuperGrid::KindNumeric);
        EXPECT_EQ(g.ColLength(3), 30);

        // Ordered by code; department names from the join.
        EXPECT_EQ(g.TextMatrix(1, 0), "01");
        EXPECT_EQ(g.TextMatrix(1, 1), "原材料库");
        EXPECT_EQ(g.TextMatrix(1, 2), "原料采购组");
        EXPECT_EQ(g.TextMatrix(1, 7), "是");
        EXPECT_EQ(g.TextMatrix(1, 8), "50000");
        // No department, and a department code without a department row.
        EXPECT_EQ(g.TextMatrix(rowOf("06"), 2), "");
        EXPECT_EQ(g.TextMatrix(rowOf("11"), 2), "");
        // Position flag: false, Null.
        EXPECT_EQ(g.TextMatrix(rowOf("03"), 7), "否");
        EXPECT_EQ(g.TextMatrix(rowOf("10"), 7), "");
        // The quota as a number; Null as empty.
        EXPECT_EQ(g.TextMatrix(rowOf("05"), 8), "20000.5");
        EXPECT_EQ(g.TextMatrix(rowOf("07"), 8), "1500.25");
        EXPECT_EQ(g.TextMatrix(rowOf("04"), 8), "0");
        EXPECT_EQ(g.TextMatrix(rowOf("11"), 8), "");
        EXPECT_EQ(g.TextMatrix(rowOf("02"), 9), "");
        EXPECT_EQ(g.BackColorSel(), 0x8000000Du);
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, BasicVersionHidesThePositionColumnButFillsIt)
{
    blnBasicVersion = true;
    runList([&](frmWHBrowse &l) {
        EXPECT_EQ(grid().ColWidth(7), 0);
        EXPECT_EQ(grid().TextMatrix(1, 7), "是");
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, AnEmptyTableShowsTheTitleRowWithoutSelection)
{
    m_login->Execute("DELETE FROM StockMove");
    m_login->Execute("DELETE FROM Position");
    m_login->Execute("DELETE FROM Warehouse");
    openListDataSet(false);
    runList([&](frmWHBrowse &l) {
        EXPECT_EQ(grid().Rows(), 1);
        EXPECT_EQ(grid().HighLight(), 0);
        EXPECT_EQ(grid().FocusRect(), 0);
        EXPECT_EQ(grid().BackColorSel(), 0x8000000Bu);
        EXPECT_EQ(grid().ForeColorSel(), 0x80000012u);
        EXPECT_FALSE(l.FCur());
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, HeaderClickSortsEveryRowByThatColumnAndKeepsTheCurrentRow)
{
    runList([&](frmWHBrowse &l) {
        auto *view = grid().findChild<QTableView *>();
        ASSERT_NE(view, nullptr);
        QHeaderView *header = view->horizontalHeader();
        select(rowOf("05"));
        const QString name = grid().TextMatrix(rowOf("05"), 1);
        // The name column, by pinyin: 半成品库 (ban) before 包装物库 (bao).
        const int x = header->sectionViewportPosition(1) + 5;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, 5));
        EXPECT_EQ(grid().TextMatrix(1, 1), "半成品库");
        EXPECT_EQ(grid().TextMatrix(2, 1), "包装物库");
        EXPECT_EQ(grid().TextMatrix(12, 1), "原材料库");
        // Only the warehouse that was current stays selected: delete asks for it alone.
        EXPECT_EQ(grid().Row(), rowOf("05"));
        EXPECT_EQ(grid().RowSel(), rowOf("05"));
        m_seam->expectMessage(LoadResString(4) + LoadResString(51) + "---" + name + " "
                                  + LoadResString(5) + "?",
                              modal::Icon::Question, modal::Buttons::YesNo, caption(),
                              modal::Answer::No);
        pressKey(&l, Qt::Key_D, Qt::ControlModifier);
        EXPECT_TRUE(m_seam->verifyDone());
        // The quota column sorts numerically.
        const int qx = header->sectionViewportPosition(8) + 5;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(qx, 5));
        QStringList quotas;
        for (int row = 1; row < grid().Rows(); ++row)
            if (!grid().TextMatrix(row, 8).isEmpty())
                quotas << grid().TextMatrix(row, 8);
        for (int i = 1; i < quotas.size(); ++i)
            EXPECT_LE(quotas[i - 1].toDouble(), quotas[i].toDouble());
        l.OnToolbarCommand("TlbExit");
    });
}

// A code and an address of their full lengths are shown whole, from their start.
TEST_P(ListWindowTest, FullLengthCodeAndAddressAreShownWhole)
{
    const QString code = "WM20261208";
    const QString address = QString(30, QChar(0x4ED3));
    m_login->Execute("INSERT INTO Warehouse (cWhCode, cWhName, cWhAddress, bWhPos) VALUES ('"
                     + code + "', '长库', '" + address + "', 0)");
    openListDataSet(false);
    runList([&](frmWHBrowse &l) {
        auto *view = grid().findChild<QTableView *>();
        ASSERT_NE(view, nullptr);
        EXPECT_GE(view->columnWidth(0), view->fontMetrics().horizontalAdvance(code) + 6);
        editCode(code, [&](QDialog *card) {
            auto *box = control<QLineEdit>(card, "EdtcWhAddress");
            EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(address));
            EXPECT_EQ(box->cursorPosition(), 0);
            pressKey(card, Qt::Key_Escape);
        });
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, RefreshShowsAnotherOperatorsInsertAndAnEmptiedTable)
{
    auto other = m_db->connect("other", "PC-2");
    runList([&](frmWHBrowse &l) {
        other->Execute("INSERT INTO Warehouse (cWhCode, cWhName, cWhValueStyle, bWhPos) "
                       "VALUES ('13', '新仓库', '全月平均法', 0)");
        click("TlbRefresh");
        EXPECT_EQ(grid().Rows(), 14);
        EXPECT_EQ(grid().TextMatrix(13, 1), "新仓库");

        other->Execute("DELETE FROM StockMove");
        other->Execute("DELETE FROM Position");
        other->Execute("DELETE FROM Warehouse");
        click("TlbRefresh");
        EXPECT_EQ(grid().Rows(), 1);
        EXPECT_EQ(grid().HighLight(), 0);
        EXPECT_EQ(l.windowTitle(), "仓库档案（共 0 个仓库）");
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, ShortcutsNeedExactlyTheirModifiers)
{
    runList([&](frmWHBrowse &l) {
        grid().setFocus();
        // Ctrl+Shift+I is not Ctrl+I: nothing opens.
        pressKey(&l, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        // F5 adds with any modifiers: the card opens.
        expectCard([](QDialog *card) { card->close(); });
        pressKey(&l, Qt::Key_F5, Qt::ShiftModifier);
        // Ctrl+U opens the warehouse rights, as 权限 does, whose tip names it.
        m_seam->expectWindow("FrmWHAuth", [](QDialog *list) { list->reject(); });
        pressKey(&l, Qt::Key_U, Qt::ControlModifier);
        EXPECT_TRUE(l.toolbarButton("TlbAuth")->toolTip().endsWith("(Ctrl+U)"));
        // Alt+F4 ends the list.
        pressKey(&l, Qt::Key_F4, Qt::AltModifier);
        EXPECT_FALSE(l.isVisible());
    });
}

TEST_P(ListWindowTest, F1OpensTheHelpPageOfTheList)
{
    runList([&](frmWHBrowse &l) {
        m_seam->expectWindow("frmHelp", [](QDialog *help) {
            auto *browser = help->findChild<QTextBrowser *>("helpBrowser");
            ASSERT_NE(browser, nullptr);
            EXPECT_TRUE(browser->toPlainText().contains("仓库档案"));
        });
        pressKey(&l, Qt::Key_F1);
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, NextAndPreviousMoveFromTheGridsCurrentRow)
{
    runList([&](frmWHBrowse &l) {
        selectCode("05");
        ASSERT_TRUE(l.FNext());
        EXPECT_EQ(NullToEmpty(l.mRecObject->Fields("cWhCode")), "06");
        // The grid follows, so a second move goes on from there.
        ASSERT_TRUE(l.FNext());
        EXPECT_EQ(NullToEmpty(l.mRecObject->Fields("cWhCode")), "07");
        ASSERT_TRUE(l.FPrevious());
        EXPECT_EQ(NullToEmpty(l.mRecObject->Fields("cWhCode")), "06");
        EXPECT_EQ(grid().TextMatrix(grid().Row(), 0), "06");
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, ToolbarHasTheFourteenButtonsInOrderWithPictures)
{
    runList([&](frmWHBrowse &l) {
        const QStringList keys{"TlbPSetup", "TlbPrint", "TlbPreview", "TlbOutput", "TlbAdd",
                               "TlbEdit", "TlbDel", "TlbFind", "TlbFilter", "TlbRefresh",
                               "TlbAuth", "TlbHistory", "TlbHelp", "TlbExit"};
        const QStringList captions{"设置", "打印", "预览", "输出", "增加", "修改", "删除",
                                   "查询", "过滤", "刷新", "权限", "修改记录", "帮助", "退出"};
        const QList<QAction *> actions = l.Toolbar1()->actions();
        ASSERT_EQ(actions.size(), keys.size());
        for (int i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(actions[i]->objectName(), keys[i]);
            EXPECT_EQ(actions[i]->text(), captions[i]);
            EXPECT_FALSE(actions[i]->icon().isNull()) << keys[i].toStdString();
        }
        EXPECT_EQ(l.toolbarButton("TlbPSetup")->toolTip(), "打印设置");
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, AnAddWhoseCardFailsStillEnablesPrintAndShowsTheSelection)
{
    runList([&](frmWHBrowse &l) {
        l.toolbarButton("TlbPrint")->setEnabled(false);
        l.showSelection(false);
        // The card cannot read the account options: the add fails inside,
        // and the command still goes on with its next step.
        m_login->Execute("DROP TABLE AccInformation");
        m_seam->expectMessage(QString(), modal::Icon::Critical, modal::Buttons::Ok, caption(),
                              modal::Answer::Ok);
        l.OnToolbarCommand("TlbAdd");
        EXPECT_TRUE(m_seam->shownMessages().last().startsWith("“增加”未能完成，"));
        EXPECT_TRUE(l.toolbarButton("TlbPrint")->isEnabled());
        EXPECT_EQ(grid().BackColorSel(), 0x8000000Du);
        EXPECT_EQ(grid().ForeColorSel(), 0x8000000Eu);
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, CtrlPWhilePrintIsDisabledDoesNothing)
{
    runList([&](frmWHBrowse &l) {
        l.toolbarButton("TlbPrint")->setEnabled(false);
        grid().setFocus();
        // The seam fails the test on any print dialog or message.
        pressKey(&l, Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(l.isVisible());
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, TheGridFollowsTheWindowSizeUnlessTooLittleIsLeft)
{
    runList([&](frmWHBrowse &l) {
        const int toolbar = l.Toolbar1()->height();
        l.resize(900, 600);
        QCoreApplication::processEvents();
        const QRect shown = grid().geometry();
        // Inner height less toolbar less 300 twips (20 pixels); top 200 twips
        // below the toolbar; width less 100 twips.
        EXPECT_EQ(shown.height(), l.height() - toolbar - 20);
        EXPECT_EQ(shown.top(), toolbar + 13);
        EXPECT_EQ(shown.width(), l.width() - 6);
        l.resize(900, toolbar + 20);
        QCoreApplication::processEvents();
        if (l.height() <= toolbar + 20) {
            EXPECT_EQ(grid().geometry(), shown);
        }
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, EveryCommandIsReachableFromTheKeyboard)
{
    auto other = m_db->connect("other", "PC-2");
    runList([&](frmWHBrowse &l) {
        // The list opens with the grid focused, so the arrows move the rows.
        EXPECT_TRUE(grid().view()->hasFocus());
        QWidget *refresh = l.findChild<QWidget *>("TlbRefreshButton");
        ASSERT_NE(refresh, nullptr);
        // Tab moves from the grid along the toolbar buttons.
        for (int i = 0; i < 20 && !refresh->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_TRUE(refresh->hasFocus());
        other->Execute("INSERT INTO Warehouse (cWhCode, cWhName, cWhValueStyle, bWhPos) "
                       "VALUES ('13', '新仓库', '全月平均法', 0)");
        QTest::keyClick(refresh, Qt::Key_Space);
        EXPECT_EQ(grid().Rows(), 14);
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListWindowTest, ALaterLoadStartsWithFreshButtonsAndAVisibleSelection)
{
    m_login->Execute("DELETE FROM StockMove");
    m_login->Execute("DELETE FROM Position");
    m_login->Execute("DELETE FROM Warehouse");
    openListDataSet(false);
    runList([&](frmWHBrowse &l) {
        EXPECT_EQ(grid().HighLight(), 0);
        l.OnToolbarCommand("TlbExit");
    });
    m_login->Execute("INSERT INTO Warehouse (cWhCode, cWhName, cWhValueStyle, bWhPos) "
                     "VALUES ('01', '一号库', '全月平均法', 0)");
    openListDataSet(false);
    runList([&](frmWHBrowse &l) {
        // The empty list of the last load no longer hides the selection.
        EXPECT_EQ(grid().HighLight(), 1);
        EXPECT_EQ(grid().FocusRect(), 1);
        EXPECT_EQ(grid().BackColorSel(), 0x8000000Du);
        // Each key names the one button the toolbar shows.
        EXPECT_EQ(l.Toolbar1()->findChildren<QAction *>("TlbPrint").size(), 1);
        QAction *print = l.toolbarButton("TlbPrint");
        ASSERT_NE(print, nullptr);
        EXPECT_TRUE(l.Toolbar1()->actions().contains(print));
        l.OnToolbarCommand("TlbExit");
    });
}

// A list opened read-only says so and offers no command that writes: 增加
// and 删除 are disabled, with their keys; 修改 opens the card to look.
TEST_P(ListWindowTest, ReadOnlyListSaysSoAndOffersNoWrites)
{
    openListDataSet(true);
    runList([&](frmWHBrowse &l) {
        EXPECT_EQ(l.windowTitle(), "仓库档案（共 12 个仓库）［只读］");
        EXPECT_FALSE(l.toolbarButton("TlbAdd")->isEnabled());
        EXPECT_EQ(l.toolbarButton("TlbAdd")->toolTip(), "增加：仓库档案以只读方式打开，不能增加");
        EXPECT_FALSE(l.toolbarButton("TlbDel")->isEnabled());
        EXPECT_EQ(l.toolbarButton("TlbDel")->toolTip(), "删除：仓库档案以只读方式打开，不能删除");
        EXPECT_TRUE(l.toolbarButton("TlbEdit")->isEnabled());
        EXPECT_TRUE(l.toolbarButton("TlbEdit")->toolTip().startsWith("查看 (Ctrl+E)"));
        // The seam fails the test on any card or message these keys would open.
        grid().setFocus();
        pressKey(&l, Qt::Key_I, Qt::ControlModifier);
        pressKey(&l, Qt::Key_F5);
        pressKey(&l, Qt::Key_D, Qt::ControlModifier);
        expectCard([](QDialog *card) { card->close(); });
        pressKey(&l, Qt::Key_E, Qt::ControlModifier);
        EXPECT_TRUE(m_seam->verifyDone());
        l.OnToolbarCommand("TlbExit");
    });
}

// The title counts the warehouses while the card adds them.
TEST_P(ListWindowTest, TheTitleFollowsTheCardsAdds)
{
    runList([&](frmWHBrowse &l) {
        expectCard([&](QDialog *card) {
            retype(card, "EdtcWhCode", "20");
            retype(card, "EdtcWhName", "新建一库");
            pressKey(card, Qt::Key_F6);
            EXPECT_EQ(l.windowTitle(), "仓库档案（共 13 个仓库）");
            card->close();
        });
        click("TlbAdd");
        EXPECT_EQ(l.windowTitle(), "仓库档案（共 13 个仓库）");
        l.OnToolbarCommand("TlbExit");
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, ListWindowTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);

} // namespace
