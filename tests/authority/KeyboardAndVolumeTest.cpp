// Giving rights with the keyboard alone, and an operator with 40,000 rights.
#include "AuthorityFixture.h"

#include <QLineEdit>
#include <QSignalSpy>

using namespace depotbase;

using namespace authtest;

namespace {

void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, k, mods);
    QCoreApplication::processEvents();
}

void type(const QString &text)
{
    for (const QChar ch : text) {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        typeText(focus, QString(ch));
    }
}

} // namespace

class KeyboardAndVolume : public AuthorityFixture {};

TEST_P(KeyboardAndVolume, ThreeRightsWithTheKeyboardAlone)
{
    runEditor([this](FrmAuthority &e) {
        QApplication::setActiveWindow(&e);
        SuperGrid *grid = e.authGrid();
        ASSERT_TRUE(e.authTree()->hasFocus());
        // A name typed in the tree finds its operator.
        type("陈");
        e.waitForNode();
        ASSERT_EQ(e.rows().node.code, "005");
        ASSERT_EQ(grid->Rows(), 3);
        EXPECT_TRUE(grid->view()->model()->index(0, 6).data(Qt::ToolTipRole).toString()
                        .contains("Ctrl+R"));

        // Whole warehouse 06, money shown, picked from the opened list.
        key(Qt::Key_Tab);
        key(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget()->objectName(), "addbutButton");
        key(Qt::Key_Space);
        type("06");
        key(Qt::Key_Return);
        key(Qt::Key_Right);
        key(Qt::Key_Right);
        key(Qt::Key_Down, Qt::AltModifier);
        auto *combo = qobject_cast<QComboBox *>(grid->editor());
        ASSERT_NE(combo, nullptr);
        EXPECT_TRUE(combo->view()->isVisible());
        typeText(combo->view(), "是");
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(grid->TextMatrix(3, 3), "是");

        // Warehouse 08 narrowed to class 0101; the list finds it by its name.
        // Add answers the lists' keys, F5 and Ctrl+I, and its tool tip says so.
        EXPECT_TRUE(e.toolbarButton("addbut")->toolTip().endsWith("(Ctrl+I, F5)"));
        EXPECT_TRUE(e.toolbarButton("delbut")->toolTip().endsWith("(Ctrl+D)"));
        EXPECT_TRUE(e.toolbarButton("exitbut")->toolTip().endsWith("(Esc)"));
        key(Qt::Key_F5);
        type("劳");
        key(Qt::Key_Return);
        key(Qt::Key_Right);
        key(Qt::Key_Right);
        type("否");
        key(Qt::Key_Return);
        key(Qt::Key_Right);
        type("0101");
        key(Qt::Key_Return);

        // Warehouse 09 narrowed to one item, picked in the reference.
        key(Qt::Key_I, Qt::ControlModifier);
        type("09");
        key(Qt::Key_Return);
        key(Qt::Key_Right);
        key(Qt::Key_Right);
        type("否");
        key(Qt::Key_Return);
        for (int i = 0; i < 3; ++i)
            key(Qt::Key_Right);
        m_seam->expectWindow("RefDialog", [](QDialog *d) {
            auto *search = d->findChild<QLineEdit *>("txtSearch");
            ASSERT_NE(search, nullptr);
            typeText(search, "010103");
            QTest::keyClick(search, Qt::Key_Return);
        });
        key(Qt::Key_R, Qt::ControlModifier);
        // The window manager gives the editor back its activation.
        QApplication::setActiveWindow(&e);
        EXPECT_EQ(rowTexts(e, 5).mid(6), QStringList({"010103", "圆钢", "45# Φ50"}));

        // Esc cancels an edit.
        grid->setCol(0);
        type("1");
        ASSERT_NE(grid->editor(), nullptr);
        key(Qt::Key_Escape);
        EXPECT_EQ(grid->editor(), nullptr);
        EXPECT_EQ(grid->TextMatrix(5, 0), "09");
        EXPECT_TRUE(e.isVisible());
    });
    EXPECT_EQ(count("Id='005' and cuser_id='陈静' and cWhCode='06' and bDispMoney=1 and "
                    "cInvCCode is null and cInvCode is null"),
              1);
    EXPECT_EQ(count("Id='005' and cWhCode='08' and bDispMoney=0 and cInvCCode='0101'"), 1);
    EXPECT_EQ(count("Id='005' and cWhCode='09' and bDispMoney=0 and cInvCode='010103'"), 1);
}

// Warehouse 04 has one right only: reached by its code in the tree, it is
// deleted with the keys alone, as in the lists. Typing reads the rights of
// the node it stops on only, not of those passed on the way ("0" is 001).
TEST_P(KeyboardAndVolume, TheOnlyRightOfANodeIsDeletedWithTheKeys)
{
    runEditor([](FrmAuthority &e) {
        QApplication::setActiveWindow(&e);
        QSignalSpy ended(&e, &FrmAuthority::nodeLoadEnded);
        type("04");
        e.waitForNode();
        EXPECT_EQ(ended.count(), 1);
        ASSERT_EQ(e.rows().node.code, "04");
        ASSERT_EQ(e.authGrid()->Rows(), 2);
        EXPECT_FALSE(e.toolbarButton("delbut")->isEnabled());
        key(Qt::Key_Tab);
        EXPECT_TRUE(e.toolbarButton("delbut")->isEnabled());
        key(Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(e.authGrid()->Rows(), 1);
    });
    EXPECT_EQ(count("cWhCode='04'"), 0);
}

TEST_P(KeyboardAndVolume, OperatorWithFortyThousandItemRights)
{
    m_login->Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                     "WHERE i < 40000) INSERT INTO Inventory (cInvCode, cInvName, cInvCCode) "
                     "SELECT 'G' || (100000 + i), '零件' || i, '0201' FROM n");
    m_login->Execute("INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney, cInvCode) "
                     "SELECT '003', '王强', '01', 0, cInvCode FROM Inventory "
                     "WHERE cInvCode LIKE 'G%'");
    runEditor([this](FrmAuthority &e) {
        SuperGrid *grid = e.authGrid();
        clickNode(e, "c003");
        ASSERT_EQ(grid->Rows(), 40003);
        EXPECT_EQ(e.rows().lastSavedRow, 40002);
        EXPECT_EQ(grid->TextMatrix(40002, 6), "G140000");

        pickInCell(e, 40002, 3, "是");
        EXPECT_EQ(e.rows().curRow, 40002);
        EXPECT_EQ(count("cInvCode='G140000' and bDispMoney=1"), 1);

        grid->view()->setFocus();
        QTest::keyClick(grid->view(), Qt::Key_Up);
        ASSERT_EQ(grid->Row(), 40001);
        press(e, "delbut");
        EXPECT_EQ(grid->Rows(), 40002);
        EXPECT_EQ(e.rows().lastSavedRow, 40001);
        EXPECT_EQ(grid->TextMatrix(40001, 6), "G140000");
        pickInCell(e, 40001, 3, "否");
        EXPECT_EQ(count("cInvCode='G140000' and bDispMoney=0"), 1);
    });
    EXPECT_EQ(count("cInvCode like 'G%'"), 39999);
    EXPECT_EQ(count("cInvCode='G139999'"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, KeyboardAndVolume,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
