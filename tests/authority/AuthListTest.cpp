// The authority list and its locate and filter dialog as a user drives them.
#include "AuthListFixture.h"

#include "authority/AuthorityEditor.h"
#include "data/Catalogue.h"
#include "services/ChangeHistory.h"
#include "services/RightsService.h"
#include "support/SheetReader.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>

using namespace depotbase;


using namespace authtest;
using modal::Answer;
using modal::Buttons;
using modal::Icon;

namespace {

const QStringList DemoRights{"张伟|01|是",     "张伟|02|否",    "李娜|01|是", "李娜|03|否",
                             "王强|04|是",     "王强|02|是",    "陈静|05|否", "陈静|07|是",
                             "周(小)明|07|是", "周(小)明|01|否"};

} // namespace

using AuthListTest = AuthListFixture;

TEST_P(AuthListTest, ListsTheRightsOfSelectableOperatorsOnExistingWarehouses)
{
    // A right on a warehouse that is gone, and one whose show-money flag is Null.
    m_login->Execute("INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney) "
                     "VALUES ('001', '张伟', '77', 1)");
    m_login->Execute("INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney) "
                     "VALUES ('003', '王强', '05', NULL)");
    runList([&](FrmWHAuth &list) {
        // The title tells how many rights are shown.
        EXPECT_EQ(list.windowTitle(),
                  QStringLiteral("仓库权限设置（共 %1 条权限）").arg(DemoRights.size() + 1));
        EXPECT_EQ(list.property("HelpContextID").toInt(), 31100141);
        // Administrators and inactive operators (admin, 刘洋) are left out.
        EXPECT_EQ(shown(), DemoRights + QStringList{"王强|05|否"});

        const QStringList titles{"操作员", "仓库编码", "仓库名称", "显示金额", "",
                                 "存货分类编码", "存货分类名称", "存货编码", "存货名称",
                                 "规格型号"};
        for (int col = 0; col < 10; ++col)
            EXPECT_EQ(grid().TextMatrix(0, col), titles[col]) << col;
        EXPECT_EQ(grid().ColWidth(4), 0);
        EXPECT_EQ(grid().TextMatrix(1, 4), "001");  // the operator code, hidden
        // All nine shown columns fit the grid, each wide enough for its title.
        int widths = 0;
        for (int col = 0; col < 10; ++col) {
            widths += grid().ColWidth(col);
            if (col != 4) {
                EXPECT_GE(grid().ColWidth(col) / 15,
                          grid().view()->fontMetrics().horizontalAdvance(titles[col]))
                    << col;
            }
        }
        EXPECT_LE(widths / 15, grid().width());
        EXPECT_EQ(grid().TextMatrix(2, 5), "0201");
        EXPECT_EQ(grid().TextMatrix(4, 7), "010201");
        EXPECT_FALSE(grid().TextMatrix(4, 8).isEmpty());
        for (int row = 1; row < grid().Rows(); ++row) {
            EXPECT_EQ(grid().cellBackColorAt(row, 2), 0x00C8FFFFu) << row;
            EXPECT_NE(grid().cellBackColorAt(row, 1), 0x00C8FFFFu) << row;
        }
        EXPECT_FALSE(grid().Editable());  // rights change only in the editor

        QStringList keys;
        for (QAction *action : list.Toolbar1()->actions())
            keys << action->objectName();
        EXPECT_EQ(keys, QStringList({"TlbPSetup", "TlbPrint", "TlbPreview", "TlbOutput", "",
                                     "TlbEdit", "TlbHistory", "", "TlbFind", "TlbFilter",
                                     "TlbRefresh", "", "TlbHelp", "TlbExit"}));
        EXPECT_EQ(list.toolbarButton("TlbEdit")->text(), "编辑");
        EXPECT_EQ(list.toolbarButton("TlbPSetup")->toolTip(), "打印设置");

        ASSERT_NE(list.printWork(), nullptr);
        EXPECT_TRUE(QFile::exists(m_folder.filePath("LxInit10.mdb")));

        m_seam->expectWindow("frmHelp");
        QTest::keyClick(&grid(), Qt::Key_F1);
        click("TlbExit");
        EXPECT_FALSE(list.isVisible());
    });
}

TEST_P(AuthListTest, LocatesByOperatorOrWarehouseAndTellsWhatItCannotFind)
{
    runList([&](FrmWHAuth &) {
        // An operator name is found through the hidden code column.
        expectDialog({{"cnameCmb", "李娜"}});
        click("TlbFind");
        EXPECT_EQ(grid().Row(), 3);
        EXPECT_EQ(grid().RowSel(), 3);
        EXPECT_NE(grid().BackColorSel(), 0x00FF0000u);

        // By operator code the selection turns blue.
        expectDialog({{"cidCmb", "002"}});
        click("TlbFind");
        EXPECT_EQ(grid().Row(), 3);
        EXPECT_EQ(grid().BackColorSel(), 0x00FF0000u);

        // An operator and a warehouse: that operator's right on that
        // warehouse, not the first right on the warehouse (陈静's, row 8).
        m_login->Execute("INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney) "
                         "VALUES ('001', '张伟', '07', 1)");
        click("TlbRefresh");
        expectDialog({{"cidCmb", "001"}, {"sidCmb", "07"}});
        click("TlbFind");
        EXPECT_EQ(grid().Row(), 11);
        EXPECT_EQ(grid().BackColorSel(), 0x00FF0000u);

        // Only a warehouse: its first right.
        expectDialog({{"sidCmb", "03"}});
        click("TlbFind");
        EXPECT_EQ(grid().Row(), 4);

        for (const auto &entry : {std::pair<QString, QString>{"snameCmb", "包装物库"},
                                  std::pair<QString, QString>{"cidCmb", "0'1"}}) {
            expectDialog({entry});
            m_seam->expectMessage("没有查到符合条件的记录!", Icon::None, Buttons::Ok, "提示",
                                  Answer::Ok);
            click("TlbFind");
            EXPECT_EQ(grid().Row(), 4);
        }

        // Nothing given, then a code and a name of different operators: the
        // dialog says so and stays open until cancelled.
        m_seam->expectWindow("FrmWAFilter", [&](QDialog *dialog) {
            m_seam->expectMessage("请输入定位条件。", Icon::None, Buttons::Ok, "提示", Answer::Ok);
            fillDialog(dialog, {});
            m_seam->expectMessage("查不到满足条件的记录。", Icon::None, Buttons::Ok, "提示",
                                  Answer::Ok);
            fillDialog(dialog, {{"cidCmb", "001"}, {"cnameCmb", "李娜"}});
            EXPECT_TRUE(dialog->isVisible());
            // The buttons answer Alt with their letters: 确定(&O), 取消(&C).
            EXPECT_EQ(dialog->findChild<QPushButton *>("Cmd4")->text(), "确定(&O)");
            QApplication::setActiveWindow(dialog);
            QTest::keyClick(dialog, Qt::Key_C, Qt::AltModifier);
            // The button shows itself pressed for a moment before it acts.
            for (int i = 0; i < 100 && dialog->isVisible(); ++i)
                QTest::qWait(10);
            EXPECT_FALSE(dialog->isVisible());
        });
        click("TlbFind");
        EXPECT_EQ(grid().Row(), 4);
    });
}

TEST_P(AuthListTest, FiltersByOperatorWarehouseBothOrNothingAndRefreshShowsAllAgain)
{
    runList([&](FrmWHAuth &list) {
        const QString caption = depotbase::LoadResString(140);
        expectDialog({{"cnameCmb", "张伟"}});
        click("TlbFilter");
        EXPECT_EQ(shown(), QStringList({"张伟|01|是", "张伟|02|否"}));
        EXPECT_EQ(list.windowTitle(), caption + QStringLiteral("（已过滤：显示 2 条权限）"));

        expectDialog({{"sidCmb", "01"}});
        click("TlbFilter");
        EXPECT_EQ(shown(), QStringList({"张伟|01|是", "李娜|01|是", "周(小)明|01|否"}));

        expectDialog({{"cidCmb", "002"}, {"snameCmb", "半成品库"}});
        click("TlbFilter");
        EXPECT_EQ(shown(), QStringList({"李娜|03|否"}));

        // A quote in a typed code is a value like any other. A filter that
        // matches nothing says so.
        expectDialog({{"cidCmb", "0'1"}});
        m_seam->expectMessage("没有符合过滤条件的权限，刷新可显示全部权限。", Icon::None,
                              Buttons::Ok, "提示", Answer::Ok);
        click("TlbFilter");
        EXPECT_EQ(grid().Rows(), 1);

        // No condition lists exactly what a refresh lists.
        expectDialog({});
        click("TlbFilter");
        EXPECT_EQ(shown(), DemoRights);

        expectDialog({{"cidCmb", "003"}});
        click("TlbFilter");
        click("TlbRefresh");
        EXPECT_EQ(shown(), DemoRights);
        EXPECT_FALSE(list.windowTitle().contains(QStringLiteral("已过滤")));
    });
}

TEST_P(AuthListTest, APickedNameMeansThatEntryEvenWhenAnotherHasTheSameName)
{
    // A second 张伟 (006), with a right of his own.
    m_login->Execute("insert into lxsystem..qd_user (cuser_id, cuser_name, iAdmin, nState) "
                     "values ('006', '张伟', 0, 0)");
    m_login->Execute("INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney) "
                     "VALUES ('006', '张伟', '03', 0)");
    // The user picks 006's 张伟 from the name list (both lists go in one
    // order), after typing the code when `code` is given.
    const auto pickSecond = [&](const QString &code) {
        m_seam->expectWindow("FrmWAFilter", [code](QDialog *dialog) {
            auto *codes = dialog->findChild<QComboBox *>("cidCmb");
            auto *names = dialog->findChild<QComboBox *>("cnameCmb");
            if (!code.isEmpty())
                testsupport::typeText(codes->lineEdit(), code);
            const int entry = codes->findText("006");
            ASSERT_GE(entry, 0);
            ASSERT_EQ(names->itemText(entry), "张伟");
            names->setCurrentIndex(entry);
            dialog->findChild<QPushButton *>("Cmd4")->click();
        });
    };
    runList([&](FrmWHAuth &) {
        pickSecond(QString());
        click("TlbFilter");
        EXPECT_EQ(shown(), QStringList({"张伟|03|否"}));

        // The code and the picked name agree: no refusal.
        click("TlbRefresh");
        pickSecond("006");
        click("TlbFilter");
        EXPECT_EQ(shown(), QStringList({"张伟|03|否"}));

        // A typed name with a code goes with the same-named entry of that code.
        click("TlbRefresh");
        expectDialog({{"cidCmb", "006"}, {"cnameCmb", "张伟"}});
        click("TlbFilter");
        EXPECT_EQ(shown(), QStringList({"张伟|03|否"}));
    });
}

TEST_P(AuthListTest, EditorOpensByButtonOrDoubleClickAndTheListIsReadAgain)
{
    runList([&](FrmWHAuth &) {
        // A double click on 王强's right on 02 opens the editor on 王强 (003),
        // that right current.
        m_seam->expectWindow("FrmAuthority", [&](QDialog *dialog) {
            auto *editor = qobject_cast<FrmAuthority *>(dialog);
            ASSERT_NE(editor, nullptr);
            editor->waitForNode();
            EXPECT_EQ(editor->windowTitle(), "权限配置窗口");
            EXPECT_EQ(editor->authTree()->currentItem(), editor->node("c003"));
            EXPECT_EQ(editor->rows().node.code, "003");
            SuperGrid &rights = *editor->authGrid();
            EXPECT_EQ(rights.TextMatrix(rights.Row(), RightsColumns::ColOther), "02");
            EXPECT_EQ(editor->rows().curRow, rights.Row());
            m_login->Execute("INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney) "
                             "VALUES ('005', '陈静', '06', 1)");
        });
        QTableView *view = grid().view();
        const QRect cell = view->visualRect(view->model()->index(5, 1));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_EQ(shown(), DemoRights + QStringList{"陈静|06|是"});

        m_seam->expectWindow("FrmAuthority", [&](QDialog *) {
            m_login->Execute("DELETE FROM WarehAuth WHERE Id='001'");
        });
        click("TlbEdit");
        EXPECT_EQ(shown(), DemoRights.mid(2) + QStringList{"陈静|06|是"});

        // Ctrl+E on a row of a filtered list opens the editor on that row's
        // operator and right; the list keeps its filter, read again.
        expectDialog({{"sidCmb", "07"}});
        click("TlbFilter");
        ASSERT_EQ(shown(), QStringList({"陈静|07|是", "周(小)明|07|是"}));
        grid().setRow(2);
        m_seam->expectWindow("FrmAuthority", [&](QDialog *dialog) {
            auto *editor = qobject_cast<FrmAuthority *>(dialog);
            ASSERT_NE(editor, nullptr);
            editor->waitForNode();
            EXPECT_EQ(editor->rows().node.code, "07");
            EXPECT_EQ(editor->rows().node.kind, services::NodeKind::Operator);
            SuperGrid &rights = *editor->authGrid();
            EXPECT_EQ(rights.TextMatrix(rights.Row(), RightsColumns::ColOther), "07");
            m_login->Execute("UPDATE WarehAuth SET bDispMoney=0 WHERE Id='07' AND cWhCode='07'");
        });
        QTest::keyClick(grid().view(), Qt::Key_E, Qt::ControlModifier);
        EXPECT_EQ(shown(), QStringList({"陈静|07|是", "周(小)明|07|否"}));
        EXPECT_TRUE(m_list->windowTitle().contains(QStringLiteral("已过滤")));
    });
}

// Another login adds, changes and deletes rights and renames a warehouse
// while the list is open: the list follows, its current row on its right.
TEST_P(AuthListTest, FollowsRightsAndWarehousesOtherLoginsChange)
{
    dbkit::DbLoginPtr other = m_db->connect("other", "OTHERPC");
    services::RightsService rights(*other);
    const auto autoIdOf = [&](const QString &operatorCode, const QString &warehouse) {
        const dbkit::DbDataSetPtr found =
            m_login->OpenDataSet("select Auto_id from WarehAuth where Id='" + operatorCode
                                 + "' and cWhCode='" + warehouse + "'");
        return found->Fields(0).toLongLong();
    };
    runList([&](FrmWHAuth &list) {
        grid().setRow(5);  // 王强|04
        grid().setCol(2);
        ASSERT_TRUE(rights.remove(autoIdOf("001", "02")).done());
        const services::RightRecord asRead = *rights.find(autoIdOf("003", "02"));
        services::RightRecord changed = asRead;
        changed.showMoney = false;
        ASSERT_TRUE(rights.update(changed, asRead).done());
        services::RightRecord added{0, "005", "陈静", "06", false, "", ""};
        ASSERT_TRUE(rights.insert(added).done());
        // A warehouse renamed, with its history row as the warehouse service writes it.
        services::ChangeHistory history(*other);
        const services::RowImage before = history.image(services::warehouseHistory(), "04");
        other->Execute("update Warehouse set cWhName='辅料二库' where cWhCode='04'");
        history.recordAfter(services::warehouseHistory(), before, "04");

        QStringList expected = DemoRights;
        expected.removeAt(1);
        expected[4] = "王强|02|否";
        expected << "陈静|06|否";
        list.following()->askNow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == expected; }, 10000))
            << shown().join(' ').toStdString();
        EXPECT_EQ(grid().Row(), 4);
        EXPECT_EQ(grid().Col(), 2);
        EXPECT_EQ(grid().TextMatrix(4, 2), "辅料二库");
        EXPECT_EQ(list.windowTitle(), QStringLiteral("仓库权限设置（共 10 条权限）"));
    });
}

// The warehouse list's keys run the same commands here, and the tool tips
// name them; a key needs exactly its modifiers.
TEST_P(AuthListTest, TheWarehouseListsKeysRunTheSameCommands)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char *window;  // the window the command opens
        const char *button;
        const char *keys;
    };
    const Case cases[] = {
        {Qt::Key_K, Qt::ControlModifier, "FrmWAFilter", "TlbFind", "Ctrl+K"},
        {Qt::Key_F, Qt::ControlModifier, "FrmWAFilter", "TlbFilter", "Ctrl+F"},
        {Qt::Key_E, Qt::ControlModifier, "FrmAuthority", "TlbEdit", "Ctrl+E"},
        {Qt::Key_F1, Qt::NoModifier, "frmHelp", "TlbHelp", "F1"},
    };
    runList([&](FrmWHAuth &list) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.keys);
            EXPECT_TRUE(list.toolbarButton(c.button)->toolTip().endsWith(
                QStringLiteral("(%1)").arg(c.keys)));
            m_seam->expectWindow(c.window, [](QDialog *window) { window->reject(); });
            QTest::keyClick(grid().view(), Qt::Key(c.key), c.modifiers);
            EXPECT_TRUE(m_seam->verifyDone());
        }
        const std::pair<const char *, const char *> printing[] = {
            {"TlbRefresh", "(Ctrl+R)"}, {"TlbPrint", "(Ctrl+P)"},
            {"TlbPreview", "(Ctrl+L)"}, {"TlbOutput", "(Ctrl+O)"}};
        for (const auto &[button, keys] : printing)
            EXPECT_TRUE(list.toolbarButton(button)->toolTip().endsWith(keys)) << button;
        // Ctrl+R reads the table again.
        m_login->Execute("DELETE FROM WarehAuth WHERE Id='001'");
        QTest::keyClick(grid().view(), Qt::Key_R, Qt::ControlModifier);
        EXPECT_EQ(shown(), DemoRights.mid(2));
        // Ctrl+Shift+K is not Ctrl+K: nothing opens. Esc leaves the list
        // open, as it does the warehouse list; Alt+F4 leaves it.
        QTest::keyClick(grid().view(), Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(grid().view(), Qt::Key_Escape);
        EXPECT_TRUE(list.isVisible());
        QTest::keyClick(grid().view(), Qt::Key_F4, Qt::AltModifier);
        EXPECT_FALSE(list.isVisible());
    });
}

TEST_P(AuthListTest, OutputWritesTheVisibleColumnsToXlsx)
{
    runList([&](FrmWHAuth &) {
        const QString path = m_folder.filePath("仓库权限设置.xlsx");
        m_seam->expectSaveFile(path);
        click("TlbOutput");
        const QMap<QString, testsupport::SheetCell> sheet = testsupport::readSheet(path);
        EXPECT_EQ(sheet.value("A1").text, "操作员");
        EXPECT_EQ(sheet.value("D1").text, "显示金额");
        EXPECT_EQ(sheet.value("E1").text, "存货分类编码");  // the hidden code column is left out
        EXPECT_EQ(sheet.value("I1").text, "规格型号");
        EXPECT_EQ(sheet.value("A6").text, "王强");
        EXPECT_EQ(sheet.value("C6").text, "辅料库");
        EXPECT_EQ(sheet.value("E3").text, "0201");
        EXPECT_TRUE(sheet.contains("A11"));
        EXPECT_FALSE(sheet.contains("A12"));
    });
}

TEST_P(AuthListTest, AnAccountWithoutWarehousesRefusesEditLocateFilterAndPrinting)
{
    m_db = std::make_unique<testsupport::TempDatabase>(GetParam());
    m_login = m_db->connect();
    CreateAccountSchema(*m_login, false);
    runList([&](FrmWHAuth &) {
        EXPECT_EQ(grid().Rows(), 1);
        const QList<std::pair<QString, QString>> refusals{
            {"TlbEdit", "没有仓库,不能设置权限."},
            {"TlbFind", "没有仓库,无法执行定位功能."},
            {"TlbFilter", "没有仓库,无法执行过滤功能."}};
        for (const auto &[key, text] : refusals) {
            m_seam->expectMessage(text, Icon::None, Buttons::Ok, "提示", Answer::Ok);
            click(key);
        }
        const QList<std::pair<QString, QString>> empty{
            {"TlbPreview", "没有可供预览的记录！"},
            {"TlbPrint", "没有可供打印的记录！"},
            {"TlbOutput", "没有可供输出的记录！"}};
        for (const auto &[key, text] : empty) {
            m_seam->expectMessage(text, Icon::Information, Buttons::Ok, "提示信息", Answer::Ok);
            click(key);
        }
        m_seam->expectPageSetup(false);  // page set-up needs no rows
        click("TlbPSetup");
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, AuthListTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
