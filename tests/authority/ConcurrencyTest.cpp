// Two administrators at once, database refusals, and the read-only editor.
#include "AuthorityFixture.h"

#include "services/RightsService.h"
#include "suite/dbkit/DbError.h"

using namespace depotbase;

using namespace authtest;

class Concurrency : public AuthorityFixture {};

TEST_P(Concurrency, TwoEditorsOneRightAndRightsChangedByOthers)
{
    dbkit::DbLoginPtr other = m_db->connect("other", "OTHERPC");
    runEditor(
        [&](FrmAuthority &b) {
            SuperGrid *grid = b.authGrid();
            clickNode(b, "c005");
            ASSERT_EQ(grid->Rows(), 3);
            pickInCell(b, 2, 3, "否");
            press(b, "addbut");
            // Meanwhile another administrator gives 005 warehouse 06.
            runEditor([&](FrmAuthority &a) {
                clickNode(a, "c005");
                press(a, "addbut");
                pickInCell(a, 3, 0, "06");
                EXPECT_FALSE(a.authGrid()->TextMatrix(3, 2).isEmpty());
            }, false, other);
            // This editor shows it below its own new row, which stays current.
            b.following()->askNow();
            ASSERT_TRUE(QTest::qWaitFor([&] { return grid->Rows() == 5; }, 10000));
            EXPECT_EQ(rowTexts(b, 4).mid(0, 2), QStringList({"06", "包装物库"}));
            EXPECT_EQ(grid->Row(), 3);
            // A right stored where this window cannot learn of it (no change
            // history): the same right from this editor is refused by the
            // database.
            other->Execute("insert into WarehAuth (Id, cuser_id, cWhCode, bDispMoney) "
                           "values ('005', '陈静', '08', 0)");
            expectStop("权限设置重复!请重试");
            pickInCell(b, 3, 0, "08");
            EXPECT_EQ(rowTexts(b, 3).mid(0, 3), QStringList({"08", "劳保用品库", ""}));
            EXPECT_EQ(count("Id='005' and cWhCode='08'"), 1);
            // The refused row keeps the node until it is mended or deleted;
            // deleting it leaves the written rows written.
            expectStop("权限设置重复!请重试");
            clickNode(b, "c005");
            EXPECT_EQ(b.rows().node.code, "005");
            clickCell(b, 3, 0);
            press(b, "delbut");
            EXPECT_EQ(b.rows().lastSavedRow, 3);

            // The other editor's row can be changed here, though it was
            // written after this window opened.
            clickNode(b, "c005");
            ASSERT_EQ(grid->Rows(), 5);
            pickInCell(b, 3, 3, "是");
            EXPECT_EQ(count("Id='005' and cWhCode='06' and bDispMoney=1"), 1);

            // A lock held by another operator: the engine's text is shown and
            // the row stays as typed, unwritten.
            pickInCell(b, 3, 3, "否");
            press(b, "addbut");
            other->BeginTrans();
            if (testsupport::isServerEngine(GetParam()))
                other->Execute("LOCK TABLE WarehAuth IN EXCLUSIVE MODE");
            else
                other->Execute("insert into WarehAuth (Id, cWhCode) values ('x', 'x')");
            expectStop("");
            pickInCell(b, 5, 0, "09");
            other->RollbackTrans();
            EXPECT_EQ(rowTexts(b, 5).mid(0, 3), QStringList({"09", "销售门市库", ""}));
            EXPECT_EQ(count("Id='005' and cWhCode='09'"), 0);
        });
}

// Another administrator deletes 陈静's right on 05 while this editor shows
// it. The row is then unstored and says so; closing asks before dropping it.
TEST_P(Concurrency, ARightDeletedMeanwhileIsNeverDroppedWithoutAQuestion)
{
    dbkit::DbLoginPtr other = m_db->connect("other", "OTHERPC");
    const auto expectQuestion = [&](int row, modal::Answer answer) {
        m_seam->expectMessage(QStringLiteral("第 %1 行（05）的权限尚未保存，退出后不会保存。")
                                      .arg(row)
                                  + QChar(13) + QStringLiteral("是否放弃并退出？"),
                              modal::Icon::Question, modal::Buttons::YesNo, LoadResString(140),
                              answer);
    };
    runEditor([&](FrmAuthority &a) {
        SuperGrid *grid = a.authGrid();
        clickNode(a, "c005");
        ASSERT_EQ(grid->Rows(), 3);
        ASSERT_EQ(grid->TextMatrix(1, 0), "05");
        const uint32_t storedSelection = grid->BackColorSel();
        const uint32_t storedFirstCell = grid->cellBackColorAt(1, 0);
        other->Execute("delete from WarehAuth where Id='005' and cWhCode='05'");

        expectStop(services::RightsService::goneOnSaveMessage());
        pickInCell(a, 1, 4, "010102");
        EXPECT_EQ(grid->TextMatrix(1, FrmAuthority::ColAutoId), "");
        EXPECT_NE(grid->BackColorSel(), storedSelection) << "the current row looks unstored";
        // The stored row below it is still rewritten, not stored a second time.
        pickInCell(a, 2, 3, "否");
        EXPECT_NE(grid->cellBackColorAt(1, 0), storedFirstCell);
        EXPECT_EQ(grid->BackColorSel(), storedSelection);
        EXPECT_EQ(count("Id='005'"), 1);
        EXPECT_EQ(count("Id='005' and cWhCode='07' and bDispMoney=0"), 1);

        // Esc, the close box and the exit button ask; 否 goes back to the row.
        expectQuestion(1, modal::Answer::No);
        QTest::keyClick(grid->view(), Qt::Key_Escape);
        EXPECT_TRUE(a.isVisible());
        EXPECT_EQ(grid->Row(), 1);
        expectQuestion(1, modal::Answer::No);
        a.close();
        EXPECT_TRUE(a.isVisible());
        // Confirming a cell again stores it as the row shows it.
        pickInCell(a, 1, 3, "是");
        EXPECT_EQ(count("Id='005' and cWhCode='05' and cInvCCode='010102' and bDispMoney=1"), 1);
        EXPECT_EQ(grid->cellBackColorAt(1, 0), storedFirstCell);
        EXPECT_EQ(grid->BackColorSel(), storedSelection);
        QTest::keyClick(grid->view(), Qt::Key_Escape);
        EXPECT_FALSE(a.isVisible());
    });
    // Dropped on purpose: 是 closes without the row (now the second).
    runEditor([&](FrmAuthority &a) {
        clickNode(a, "c005");
        other->Execute("delete from WarehAuth where Id='005' and cWhCode='05'");
        expectStop(services::RightsService::goneOnSaveMessage());
        pickInCell(a, 2, 3, "否");
        expectQuestion(2, modal::Answer::Yes);
        press(a, "exitbut");
        EXPECT_FALSE(a.isVisible());
    });
    EXPECT_EQ(count("Id='005'"), 1);
}

// Another seat changes 陈静's rights while this editor shows them: the grid
// follows, the current row on its right, except the row whose cell the user
// is editing, which keeps the user's values until its write is refused.
TEST_P(Concurrency, TheGridFollowsAnotherSeatButNotInTheRowBeingEdited)
{
    dbkit::DbLoginPtr other = m_db->connect("other", "OTHERPC");
    services::RightsService rights(*other);
    const auto change = [&](const QString &warehouse,
                            const std::function<void(services::RightRecord &)> &edit) {
        const long long autoId =
            value("select Auto_id from WarehAuth where Id='005' and cWhCode='" + warehouse + "'")
                .toLongLong();
        const services::RightRecord asRead = *rights.find(autoId);
        services::RightRecord changed = asRead;
        edit(changed);
        ASSERT_TRUE(rights.update(changed, asRead).done());
    };
    runEditor([&](FrmAuthority &e) {
        SuperGrid *grid = e.authGrid();
        clickNode(e, "c005");
        ASSERT_EQ(grid->Rows(), 3);
        grid->setRow(2);
        grid->setCol(4);
        // 05 above the current row goes, 07 (current) changes, 06 comes.
        ASSERT_TRUE(rights
                        .remove(value("select Auto_id from WarehAuth where Id='005' and "
                                      "cWhCode='05'")
                                    .toLongLong())
                        .done());
        change("07", [](services::RightRecord &r) { r.showMoney = false; });
        services::RightRecord added{0, "005", "陈静", "06", false, "", ""};
        ASSERT_TRUE(rights.insert(added).done());
        e.following()->askNow();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return grid->Rows() == 3 && grid->TextMatrix(2, 0) == "06"; }, 10000));
        EXPECT_EQ(rowTexts(e, 1).mid(0, 4),
                  QStringList({"07", "五金库", rowTexts(e, 1)[2], "否"}));
        EXPECT_EQ(grid->Row(), 1);
        EXPECT_EQ(grid->Col(), 4);

        // While the user has 07's drop-down open, 07 and 06 change again.
        grid->setCol(3);
        grid->view()->setFocus();
        QTest::keyClick(grid->view(), Qt::Key_Return);
        change("07", [](services::RightRecord &r) { r.itemCode.clear(); });
        change("06", [](services::RightRecord &r) { r.showMoney = true; });
        e.following()->askNow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return grid->TextMatrix(2, 3) == "是"; }, 10000));
        EXPECT_EQ(grid->TextMatrix(1, FrmAuthority::ColInv), "01010201");
        expectStop(services::RightsService::changedOnSaveMessage());
        pickInOpenCell(e, "是");
        EXPECT_EQ(rowTexts(e, 1).mid(3), QStringList({"否", "", "", "", "", ""}));
        EXPECT_EQ(count("Id='005' and cWhCode='07' and bDispMoney=0 and cInvCode is null"), 1);
    });
}

TEST_P(Concurrency, ReadOnlyEditorShowsEverythingAndWritesNothing)
{
    const long long before = count("1=1");
    const QString refusal = "仓库权限以只读方式打开，不能增加、修改或删除！";
    runEditor(
        [&](FrmAuthority &e) {
            SuperGrid *grid = e.authGrid();
            clickNode(e, "c002");
            ASSERT_EQ(grid->Rows(), 3);
            EXPECT_EQ(grid->TextMatrix(1, 4), "0101");
            // The title says so, and add and delete never come on.
            EXPECT_EQ(e.windowTitle(), "权限配置窗口（只读）");
            EXPECT_FALSE(e.toolbarButton("addbut")->isEnabled());
            // A cell edit is refused before any editor opens, once per try.
            expectStop(refusal);
            grid->setCol(3);
            QTest::keyClick(grid->view(), Qt::Key_Return);
            EXPECT_EQ(grid->editor(), nullptr);
            clickCell(e, 1, 0);
            EXPECT_FALSE(e.toolbarButton("delbut")->isEnabled());
        },
        true);
    EXPECT_EQ(count("1=1"), before);
    EXPECT_EQ(value("select count(*) from ChangeHistory").toLongLong(), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, Concurrency,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
