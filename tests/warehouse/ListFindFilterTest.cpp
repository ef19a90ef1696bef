// Finding and filtering warehouses on the list through the filter dialog.
#include "WarehouseFixture.h"


#include <QClipboard>
#include <QPushButton>
#include <initializer_list>
#include <utility>

using namespace depotbase;

using namespace whtest;

namespace {

using Values = std::initializer_list<std::pair<const char *, QString>>;

// Empties the boxes the dialog opened with (the filter in force), fills them
// as a user does (typed, or pasted when the text holds a key the box refuses),
// sets the position box and confirms.
WindowScript confirmWith(Values values, Qt::CheckState positions = Qt::PartiallyChecked,
                         QString *caption = nullptr)
{
    std::vector<std::pair<QString, QString>> copy;
    for (const auto &[name, text] : values)
        copy.emplace_back(QLatin1String(name), text);
    return [copy, positions, caption](QDialog *w) {
        if (caption)
            *caption = w->windowTitle();
        for (QComboBox *box : w->findChildren<QComboBox *>())
            box->lineEdit()->clear();
        for (const auto &[name, text] : copy) {
            auto *box = control<QComboBox>(w, name);
            if (text.contains(QLatin1Char('\'')) || text.contains(QLatin1Char('|'))
                || text.contains(QChar(0))) {
                QApplication::clipboard()->setText(text);
                box->lineEdit()->paste();
            } else {
                typeText(box, text);
            }
        }
        control<QCheckBox>(w, QStringLiteral("chkWHPos"))->setCheckState(positions);
        QTest::mouseClick(control<QPushButton>(w, QStringLiteral("cmdYes")), Qt::LeftButton);
    };
}

class ListFindFilterTest : public WarehouseFixture {
protected:
    void filter(const WindowScript &script)
    {
        m_seam->expectWindow(QStringLiteral("frmFilter"), script);
        click(QStringLiteral("TlbFilter"));
        EXPECT_TRUE(m_seam->verifyDone());
    }

    // Locates through the dialog; `noMatch` expects the message of a find
    // without a hit.
    void find(const WindowScript &script, bool noMatch = false)
    {
        m_seam->expectWindow(QStringLiteral("frmFilter"), script);
        if (noMatch)
            m_seam->expectMessage(LoadResString(123), modal::Icon::Critical,
                                  modal::Buttons::Ok, caption(), modal::Answer::Ok);
        click(QStringLiteral("TlbFind"));
        EXPECT_TRUE(m_seam->verifyDone());
    }

    QStringList gridCodes()
    {
        QStringList codes;
        for (int row = 1; row < grid().Rows(); ++row)
            codes << grid().TextMatrix(row, 0);
        return codes;
    }

    QString currentCode() { return NullToEmpty(list().mRecObject->Fields("cWhCode")); }

    void addWarehouse(const QString &code, const QString &name, const QString &quota)
    {
        m_login->Execute("INSERT INTO Warehouse (cWhCode, cWhName, cDepCode, bWhPos, "
                         "iWhFundQuota) VALUES ('" + dbkit::quoted(code) + "', '"
                         + dbkit::quoted(name) + "', '03', 0, " + quota + ")");
    }
};

const QStringList withoutPositions{"03", "04", "05", "06", "07", "08", "09", "11", "12"};

// The position box reaches every warehouse: "any" adds no position part, a
// cleared box takes a Null flag as not managed, the basic version asks nothing.
TEST_P(ListFindFilterTest, PositionBoxReachesEveryWarehouse)
{
    runList([&](frmWHBrowse &l) {
        QString caption;
        filter(confirmWith({}, Qt::PartiallyChecked, &caption));
        EXPECT_EQ(caption, "过滤条件");
        EXPECT_EQ(grid().Rows(), 13);

        filter(confirmWith({}, Qt::Unchecked));
        QStringList notManaged = withoutPositions;
        notManaged.insert(notManaged.indexOf("11"), "10");
        EXPECT_EQ(gridCodes(), notManaged);
        filter(confirmWith({}, Qt::Checked));
        EXPECT_EQ(gridCodes(), QStringList({"01", "02"}));

        // 10 has no position flag at all: found as not managed.
        click("TlbRefresh");
        find(confirmWith({{"cboWHCode", "10"}}, Qt::Unchecked));
        EXPECT_EQ(currentCode(), "10");
        EXPECT_EQ(grid().Row(), rowOf("10"));
        l.OnToolbarCommand("TlbExit");
    });
    // The basic version hides the box: a managed warehouse is still found.
    blnBasicVersion = true;
    runList([&](frmWHBrowse &l) {
        find([](QDialog *w) {
            typeText(control<QComboBox>(w, "cboWHCode"), "01");
            QTest::mouseClick(control<QPushButton>(w, "cmdYes"), Qt::LeftButton);
        });
        EXPECT_EQ(currentCode(), "01");
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListFindFilterTest, FilterByCodeAndNameAndByFundQuota)
{
    addWarehouse("Q1", "Quota 12.5", "12.5");
    addWarehouse("Q2", "Quota 100", "100");
    openListDataSet(false);
    runList([&](frmWHBrowse &l) {
        filter(confirmWith({{"cboWHCode", "03"}, {"cboWHName", "半成品库"}}));
        EXPECT_EQ(gridCodes(), QStringList({"03"}));
        filter(confirmWith({{"cboWHCode", "03"}, {"cboWHName", "成品库"}}));
        EXPECT_EQ(grid().Rows(), 1);

        filter(confirmWith({{"cboWHFundQuota", "12.5"}}));
        EXPECT_EQ(gridCodes(), QStringList({"Q1"}));
        // 100 is compared at three decimals: 100000 does not match.
        filter(confirmWith({{"cboWHFundQuota", "100"}}));
        EXPECT_EQ(gridCodes(), QStringList({"Q2"}));
        // 3.14159 rounds to 3.14 at the two decimals typed.
        filter(confirmWith({{"cboWHFundQuota", "3.14"}, {"cboWHDep", "生产部"}}));
        EXPECT_EQ(gridCodes(), QStringList({"03"}));

        // Find reads the same condition on the whole list.
        find(confirmWith({{"cboWHFundQuota", "12.5"}}));
        EXPECT_EQ(currentCode(), "Q1");
        find(confirmWith({{"cboWHFundQuota", "100"}}));
        EXPECT_EQ(currentCode(), "Q2");
        l.OnToolbarCommand("TlbExit");
    });
}

// The filter dialog opens with the conditions in force; Esc and 取消 change
// nothing. 刷新 shows every warehouse, with its selection, and the next
// filter starts empty.
TEST_P(ListFindFilterTest, FilterMatchingNothingHidesTheSelectionAndCancelKeepsTheFilter)
{
    runList([&](frmWHBrowse &l) {
        // A box of blanks is compared as it stands: no memo is blank.
        filter(confirmWith({{"cboWHMemo", "   "}}, Qt::Unchecked));
        EXPECT_EQ(grid().Rows(), 1);
        EXPECT_EQ(grid().HighLight(), 0);
        EXPECT_EQ(grid().BackColorSel(), 0x8000000Bu);
        EXPECT_EQ(grid().ForeColorSel(), 0x80000012u);
        const QString filtered = QStringLiteral("仓库档案（已过滤：显示 0 个仓库）");
        EXPECT_EQ(l.windowTitle(), filtered);

        m_seam->expectWindow(QStringLiteral("frmFilter"), [](QDialog *w) {
            EXPECT_EQ(control<QComboBox>(w, "cboWHMemo")->currentText(), "   ");
            EXPECT_EQ(control<QCheckBox>(w, "chkWHPos")->checkState(), Qt::Unchecked);
            auto *code = control<QComboBox>(w, "cboWHCode");
            typeText(code, "01");
            QTest::keyClick(code, Qt::Key_Escape);
        });
        pressKey(&l, Qt::Key_F, Qt::ControlModifier);
        EXPECT_TRUE(m_seam->verifyDone());
        EXPECT_EQ(l.windowTitle(), filtered);
        filter([](QDialog *w) {
            // What the cancelled dialog was given is gone.
            EXPECT_EQ(control<QComboBox>(w, "cboWHCode")->currentText(), "");
            EXPECT_EQ(control<QComboBox>(w, "cboWHMemo")->currentText(), "   ");
            control<QCheckBox>(w, "chkWHPos")->setChecked(true);
            QTest::mouseClick(control<QPushButton>(w, "cmdNo"), Qt::LeftButton);
        });
        EXPECT_EQ(grid().Rows(), 1);
        EXPECT_EQ(l.windowTitle(), filtered);

        click("TlbRefresh");
        EXPECT_EQ(grid().Rows(), 13);
        EXPECT_EQ(grid().BackColorSel(), 0x8000000Du);
        // Rows shown again show their selection again.
        EXPECT_EQ(grid().HighLight(), 1);
        EXPECT_EQ(grid().FocusRect(), 1);
        filter([](QDialog *w) {
            EXPECT_EQ(control<QComboBox>(w, "cboWHMemo")->currentText(), "");
            EXPECT_EQ(control<QCheckBox>(w, "chkWHPos")->checkState(), Qt::PartiallyChecked);
            QTest::mouseClick(control<QPushButton>(w, "cmdNo"), Qt::LeftButton);
        });
        EXPECT_EQ(grid().Rows(), 13);
        l.OnToolbarCommand("TlbExit");
    });
}

// A malformed quota is told in Chinese before the dialog closes; the dialog
// stays open with the text selected for correcting.
TEST_P(ListFindFilterTest, MalformedQuotaIsToldAndTheDialogStaysOpen)
{
    runList([&](frmWHBrowse &l) {
        for (const char *command : {"TlbFilter", "TlbFind"}) {
            m_seam->expectWindow(QStringLiteral("frmFilter"), [&](QDialog *w) {
                auto *box = control<QComboBox>(w, "cboWHFundQuota");
                typeText(box, "1.2.3");
                m_seam->expectMessage(
                    "资金定额“1.2.3”不是有效的数字，请输入如 1200 或 12.5 的数字！",
                    modal::Icon::Exclamation, modal::Buttons::Ok, caption(), modal::Answer::Ok);
                QTest::mouseClick(control<QPushButton>(w, "cmdYes"), Qt::LeftButton);
                EXPECT_TRUE(w->isVisible());
                EXPECT_EQ(box->lineEdit()->selectedText(), "1.2.3");
                EXPECT_TRUE(box->hasFocus() || box->lineEdit()->hasFocus());
                QTest::mouseClick(control<QPushButton>(w, "cmdNo"), Qt::LeftButton);
            });
            click(QLatin1String(command));
            EXPECT_TRUE(m_seam->verifyDone());
        }
        EXPECT_EQ(grid().Rows(), 13);

        // A NUL pasted into a value is left out before it can cut the
        // statement short.
        filter(confirmWith({{"cboWHName", QStringLiteral("外租") + QChar(0) + "仓库"}}));
        EXPECT_EQ(gridCodes(), QStringList{"12"});
        EXPECT_EQ(m_seam->beeps(), 1);
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListFindFilterTest, QuotesInPastedValuesAreComparedNotExecuted)
{
    addWarehouse("Q3", "O'Brien", "1");
    openListDataSet(false);
    runList([&](frmWHBrowse &l) {
        filter(confirmWith({{"cboWHName", "O'Brien"}}));
        EXPECT_EQ(gridCodes(), QStringList({"Q3"}));
        filter(confirmWith({{"cboWHName", "x' Or 'a'='a"}}));
        EXPECT_EQ(grid().Rows(), 1);

        click("TlbRefresh");
        find(confirmWith({{"cboWHName", "O'Brien"}}));
        EXPECT_EQ(currentCode(), "Q3");
        EXPECT_EQ(grid().Row(), rowOf("Q3"));

        find(confirmWith({{"cboWHName", "x' Or 'a'='a"}}), true);
        EXPECT_EQ(grid().Row(), rowOf("Q3"));
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListFindFilterTest, FindSelectsAndScrollsToTheRowCtrlKOpensIt)
{
    GenerateWarehouses(*m_login, 200, 100);
    openListDataSet(false);
    runList([&](frmWHBrowse &l) {
        QString caption;
        find(confirmWith({{"cboWHCode", "000151"}}, Qt::Unchecked, &caption));
        EXPECT_EQ(caption, "查找条件");
        EXPECT_EQ(currentCode(), "000151");
        EXPECT_EQ(grid().Row(), rowOf("000151"));
        EXPECT_EQ(grid().RowSel(), rowOf("000151"));
        EXPECT_EQ(grid().TopRow(), rowOf("000151"));

        m_seam->expectWindow(QStringLiteral("frmFilter"), confirmWith({{"cboWHCode", "07"}}));
        pressKey(&l, Qt::Key_K, Qt::ControlModifier);
        EXPECT_TRUE(m_seam->verifyDone());
        EXPECT_EQ(currentCode(), "07");
        EXPECT_EQ(grid().Row(), rowOf("07"));

        // 02 manages positions: not found among those without.
        find(confirmWith({{"cboWHCode", "02"}}, Qt::Unchecked), true);
        EXPECT_EQ(currentCode(), "07");
        find(confirmWith({{"cboWHCode", "02"}}));
        EXPECT_EQ(grid().Row(), rowOf("02"));
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListFindFilterTest, FindOfAHiddenWarehouseMovesTheDataSetOnly)
{
    runList([&](frmWHBrowse &l) {
        filter(confirmWith({}, Qt::Checked));
        ASSERT_EQ(gridCodes(), QStringList({"01", "02"}));
        select(2);
        find(confirmWith({{"cboWHCode", "05"}}));
        EXPECT_EQ(currentCode(), "05");
        EXPECT_EQ(grid().Row(), 2);
        EXPECT_EQ(grid().RowSel(), 2);

        // No hit: the message, and neither the data set nor the grid moves.
        find(confirmWith({{"cboWHCode", "99"}}), true);
        EXPECT_EQ(currentCode(), "05");
        EXPECT_EQ(grid().Row(), 2);

        // Cancelled: nothing happens.
        find([](QDialog *w) {
            QTest::mouseClick(control<QPushButton>(w, "cmdNo"), Qt::LeftButton);
        });
        EXPECT_EQ(currentCode(), "05");
        EXPECT_EQ(gridCodes(), QStringList({"01", "02"}));
        l.OnToolbarCommand("TlbExit");
    });
}

// The keys of the list and of the dialog, and the title that says what the
// list shows.
TEST_P(ListFindFilterTest, KeysReachFilterAndRefreshAndTheTitleSaysWhatIsShown)
{
    runList([&](frmWHBrowse &l) {
        EXPECT_EQ(l.toolbarButton("TlbFilter")->toolTip(), "过滤 (Ctrl+F)");
        EXPECT_EQ(l.toolbarButton("TlbAdd")->toolTip(), "增加 (Ctrl+I, F5)");
        m_seam->expectWindow(QStringLiteral("frmFilter"), [](QDialog *w) {
            EXPECT_EQ(control<QPushButton>(w, "cmdYes")->text(), "确定(&O)");
            EXPECT_EQ(control<QPushButton>(w, "cmdNo")->text(), "取消(&C)");
            auto *code = control<QComboBox>(w, "cboWHCode");
            typeText(code, "0");
            QTest::keyClick(code, Qt::Key_Return, Qt::ControlModifier);
            EXPECT_FALSE(w->isVisible());
        });
        pressKey(&l, Qt::Key_F, Qt::ControlModifier);
        EXPECT_TRUE(m_seam->verifyDone());
        EXPECT_EQ(gridCodes(), QStringList{});
        EXPECT_EQ(l.windowTitle(), "仓库档案（已过滤：显示 0 个仓库）");
        pressKey(&l, Qt::Key_R, Qt::ControlModifier);
        EXPECT_EQ(l.windowTitle(), "仓库档案（共 12 个仓库）");
        l.OnToolbarCommand("TlbExit");
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, ListFindFilterTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);

} // namespace
