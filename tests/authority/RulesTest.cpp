// The editor's checks of a row: refused narrowings, class or item, look-ups
// by code or name, quotes, the toolbar's refusals. The rules between rights
// are tested on the rights service.
#include "AuthorityFixture.h"

#include "services/RightRules.h"

using namespace depotbase;

using namespace authtest;

class Rules : public AuthorityFixture {};

// 002 holds warehouse 01 narrowed to class 0101 and 03 narrowed to item 010201.
// A refused class or item never leaves the operator a wider right than the
// user confirmed.
TEST_P(Rules, RefusedNarrowingNeverLeavesAWiderRight)
{
    const QString overlap = services::rightrules::overlapMessage();
    runEditor([&](FrmAuthority &e) {
        SuperGrid *grid = e.authGrid();
        clickNode(e, "c002");
        ASSERT_EQ(grid->TextMatrix(1, 4), "0101");

        // A refused item shows again the item the table holds, and the next
        // change of the row keeps it.
        expectStop("存货编码输入错误!");
        typeIntoCell(e, 2, 6, "XYZ");
        EXPECT_EQ(rowTexts(e, 2).mid(6), QStringList({"010201", "环氧树脂", "E-44"}));
        pickInCell(e, 2, 3, "是");
        EXPECT_EQ(count("Id='002' and cWhCode='03' and cInvCode='010201' and bDispMoney=1"), 1);

        // Warehouse 01 again: not stored as a whole-warehouse right beside
        // class 0101, and an item inside 0101 is refused. The row's first
        // cell says it is not stored.
        const uint32_t storedFirstCell = grid->cellBackColorAt(1, 0);
        press(e, "addbut");
        pickInCell(e, 3, 0, "01");
        EXPECT_EQ(grid->TextMatrix(3, FrmAuthority::ColAutoId), "");
        EXPECT_NE(grid->cellBackColorAt(3, 0), storedFirstCell);
        expectStop(overlap);
        typeIntoCell(e, 3, 6, "010101");
        EXPECT_EQ(rowTexts(e, 3).mid(6), QStringList({"", "", ""}));
        EXPECT_EQ(count("Id='002' and cWhCode='01'"), 1);
        // Esc and the close box name what keeps the row from being stored,
        // before and after show money is chosen.
        const QString wholeBesideNarrowed = services::rightrules::wholeBesideNarrowedMessage();
        expectStop(wholeBesideNarrowed);
        QTest::keyClick(&e, Qt::Key_Escape);
        EXPECT_TRUE(e.isVisible());
        pickInCell(e, 3, 3, "是");
        EXPECT_EQ(count("Id='002' and cWhCode='01'"), 1);
        expectStop(wholeBesideNarrowed);
        e.close();
        EXPECT_TRUE(e.isVisible());
        // A sibling class makes the row valid: now it is stored.
        pickInCell(e, 3, 4, "0102");
        EXPECT_EQ(count("Id='002' and cWhCode='01' and cInvCCode='0102' and bDispMoney=1"), 1);
        EXPECT_EQ(grid->cellBackColorAt(3, 0), storedFirstCell);

    });
    EXPECT_EQ(count("Id='002'"), 3);
}

TEST_P(Rules, ClassOrItemNotBothAndNoRowTwice)
{
    runEditor([this](FrmAuthority &e) {
        SuperGrid *grid = e.authGrid();
        clickNode(e, "c002");
        // An item typed by its name resolves to its code.
        press(e, "addbut");
        pickInCell(e, 3, 0, "02");
        typeIntoCell(e, 3, 6, "丙酮");
        EXPECT_EQ(rowTexts(e, 3).mid(6), QStringList({"010202", "丙酮", "工业级 25kg/桶"}));
        const QString item = grid->TextMatrix(3, FrmAuthority::ColAutoId);
        EXPECT_EQ(count("Auto_id=" + item + " and cInvCode='010202'"), 1);

        // Class and item exclude each other, both ways.
        pickInCell(e, 3, 3, "是");
        expectStop("只能输入存货分类编码和存货编码其中之一，不能同时输入！");
        grid->setCol(4);
        QTest::keyClick(grid->view(), Qt::Key_F4);
        auto *combo = qobject_cast<QComboBox *>(grid->editor());
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->count(), 0);
        QTest::keyClick(combo, Qt::Key_Escape);
        expectStop("只能输入存货分类编码和存货编码其中之一，不能同时输入！");
        typeIntoCell(e, 1, 6, "010103");
        EXPECT_EQ(grid->TextMatrix(1, 6), "");

        // The same warehouse, class and item as another row: refused after
        // the edit, and the row's code is emptied.
        press(e, "addbut");
        pickInCell(e, 4, 4, "0101");
        expectStop("权限设置重复!请重试");
        pickInCell(e, 4, 0, "01");
        EXPECT_EQ(rowTexts(e, 4).mid(0, 3), QStringList({"", "", ""}));
        EXPECT_EQ(count("Id='002'"), 3);
    });
}

TEST_P(Rules, LookUpsByCodeOrNameWithQuotes)
{
    m_login->Execute("insert into Warehouse (cWhCode, cWhName) values ('Q''1', 'O''Brien库')");
    m_login->Execute("insert into lxsystem..qd_user (cuser_id, cuser_name, iAdmin, nState) "
                     "values ('08', 'O''Neil', 0, 0)");
    // An item whose code is another item's name.
    m_login->Execute("insert into Inventory (cInvCode, cInvName) values ('镀锌钢板', 'X''1')");
    runEditor([this](FrmAuthority &e) {
        QString text = "O'Brien库";
        EXPECT_TRUE(e.ResolveOtherSide(services::NodeKind::Operator, text));
        EXPECT_EQ(text, "Q'1");
        text = "周(小)明";
        EXPECT_TRUE(e.ResolveOtherSide(services::NodeKind::Warehouse, text));
        EXPECT_EQ(text, "07");
        text = "x' or '1'='1";
        EXPECT_FALSE(e.ResolveOtherSide(services::NodeKind::Operator, text));

        // An operator with a quote in the name gets and keeps a right.
        clickNode(e, "c08");
        EXPECT_EQ(e.rows().node.name, "O'Neil");
        press(e, "addbut");
        pickInCell(e, 1, 0, "Q'1");
        EXPECT_EQ(count("Id='08' and cuser_id='O''Neil' and cWhCode='Q''1'"), 1);

        typeIntoCell(e, 1, 6, "X'1");
        EXPECT_EQ(e.authGrid()->TextMatrix(1, 6), "镀锌钢板");
        expectStop("存货编码输入错误!");
        typeIntoCell(e, 1, 6, "镀锌钢板");
        EXPECT_EQ(rowTexts(e, 1).mid(6), QStringList({"镀锌钢板", "X'1", ""}))
            << "an ambiguous item leaves the stored one";
    });
}

TEST_P(Rules, RowChecksAndRefusalsOfTheToolbar)
{
    runEditor([this](FrmAuthority &e) {
        SuperGrid *grid = e.authGrid();
        clickNode(e, "c001");
        // A written row that lost its warehouse name.
        grid->setTextMatrix(1, 1, "");
        expectStop("请选择仓库！");
        EXPECT_FALSE(e.CheckOtherSide(1));
        grid->setTextMatrix(1, 1, "原材料库");

        // A row repeating another row's key: the toolbar refuses a new row.
        grid->setRow(2);
        grid->setTextMatrix(2, 0, "01");
        grid->setTextMatrix(2, 4, "");
        m_seam->expectMessage("设置权限重复！", modal::Icon::None, modal::Buttons::Ok, "",
                              modal::Answer::Ok);
        e.AddGridRow();
        EXPECT_EQ(grid->Rows(), 3);
        grid->setTextMatrix(2, 0, "02");
        grid->setTextMatrix(2, 4, "0201");

        clickNode(e, "s");
        m_seam->expectMessage("请选择一行删除!", modal::Icon::Critical, modal::Buttons::Ok,
                              LoadResString(17), modal::Answer::Ok);
        EXPECT_FALSE(e.DeleteRight());
    });
    EXPECT_EQ(count("Id='001'"), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, Rules,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
