// Finding and filtering warehouses on the list through the filter dialog.
#include "WarehouseFixture.h"

#include "filter/frmFilter.h"

#include <QClipboard>
#include <QPushButton>
#include <initializer_list>
#include <utility>

using namespace depotbase;

using namespace whtest;

namespace {

using Values = std::initializer_list<std::pair<const char *, QString>>;

// Fills the dialog's boxes as a user does (typed, or pasted when the text
// holds a key the box refuses) and confirms.
WindowScript confirmWith(Values values, bool positions = false, QString *caption = nullptr)
{
    std::vector<std::pair<QString, QString>> copy;
    for (const auto &[name, text] : values)
        copy.emplace_back(QLatin1String(name), text);
    return [copy, positions, caption](QDialog *w) {
        if (caption)
            *caption = w->windowTitle();
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
        control<QCheckBox>(w, QStringLiteral("chkWHPos"))->setChecked(positions);
        QTest::mouseClick(control<QPushButton>(w, QStringLiteral("cmdYes")), Qt::LeftButton);
    };
}

class ListFindFilterTest : public WarehouseFixture {
protected:
    void TearDown() override
    {
        // The dialog keeps the login it was given; let the account go.
        frmFilter::shared().dbs.reset();
        WarehouseFixture::TearDown();
    }

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

TEST_P(ListFindFilterTest, EmptyFilterShowsWarehousesWithoutPositionsUntilRefresh)
{
    runList([&](frmWHBrowse &l) {
        QString caption;
        filter(confirmWith({}, false, &caption));
        EXPECT_EQ(caption, "过滤条件");
        // 10 has no position flag at all: neither with nor without.
        EXPECT_EQ(gridCodes(), withoutPositions);
        EXPECT_EQ(l.mRecObject->RecordCount(), 12);

        filter(confirmWith({}, true));
        EXPECT_EQ(gridCodes(), QStringList({"01", "02"}));

        click("TlbRefresh");
        EXPECT_EQ(grid().Rows(), 13);
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

TEST_P(ListFindFilterTest, FilterMatchingNothingHidesTheSelectionAndCancelShowsAll)
{
    runList([&](frmWHBrowse &l) {
        // A box of blanks is compared as it stands: no memo is blank.
        filter(confirmWith({{"cboWHMemo", "   "}}));
        EXPECT_EQ(grid().Rows(), 1);
        EXPECT_EQ(grid().HighLight(), 0);
        EXPECT_EQ(grid().BackColorSel(), 0x8000000Bu);
        EXPECT_EQ(grid().ForeColorSel(), 0x80000012u);

        // Cancelling after typing leaves the list unfiltered.
        filter([](QDialog *w) {
            typeText(control<QComboBox>(w, "cboWHCode"), "01");
            control<QCheckBox>(w, "chkWHPos")->setChecked(true);
            QTest::mouseClick(control<QPushButton>(w, "cmdNo"), Qt::LeftButton);
        });
        EXPECT_EQ(grid().Rows(), 13);
        EXPECT_EQ(grid().BackColorSel(), 0x8000000Du);
        // Rows shown again show their selection again.
        EXPECT_EQ(grid().HighLight(), 1);
        EXPECT_EQ(grid().FocusRect(), 1);
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListFindFilterTest, AConditionTheDatabaseRefusesIsToldAndTheRowsStay)
{
    runList([&](frmWHBrowse &l) {
        filter(confirmWith({{"cboWHCode", "01"}}, true));
        ASSERT_EQ(gridCodes(), QStringList{"01"});
        // A quota of two points cannot be compared: the engine's own text is
        // shown and the rows stay as they were, not an empty "filtered" list.
        m_seam->expectWindow(QStringLiteral("frmFilter"), confirmWith({{"cboWHFundQuota",
                                                                         "1.2.3"}}));
        m_seam->expectMessage(QString(), modal::Icon::Critical, modal::Buttons::Ok, caption(),
                              modal::Answer::Ok);
        click(QStringLiteral("TlbFilter"));
        EXPECT_TRUE(m_seam->verifyDone());
        EXPECT_EQ(gridCodes(), QStringList{"01"});
        l.OnToolbarCommand("TlbExit");
    });
}

// A find the evaluator cannot parse is told; a NUL pasted into a value is
// left out before it can cut the statement short.
TEST_P(ListFindFilterTest, UnparsableFindIsToldAndNulNeverReachesTheStatement)
{
    runList([&](frmWHBrowse &l) {
        m_seam->expectWindow(QStringLiteral("frmFilter"), confirmWith({{"cboWHFundQuota",
                                                                         "1.2.3"}}));
        m_seam->expectMessage(QString(), modal::Icon::Critical, modal::Buttons::Ok, caption(),
                              modal::Answer::Ok);
        click(QStringLiteral("TlbFind"));
        EXPECT_TRUE(m_seam->verifyDone());
        EXPECT_TRUE(m_seam->shownMessages().last().startsWith("“查询”未能完成："));

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
        // The condition always holds the position flag: 000151 has none.
        QString caption;
        find(confirmWith({{"cboWHCode", "000151"}}, false, &caption));
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

        // 02 manages positions: found only with the check box set.
        find(confirmWith({{"cboWHCode", "02"}}), true);
        EXPECT_EQ(currentCode(), "07");
        find(confirmWith({{"cboWHCode", "02"}}, true));
        EXPECT_EQ(grid().Row(), rowOf("02"));
        l.OnToolbarCommand("TlbExit");
    });
}

TEST_P(ListFindFilterTest, FindOfAHiddenWarehouseMovesTheDataSetOnly)
{
    runList([&](frmWHBrowse &l) {
        filter(confirmWith({}, true));
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

INSTANTIATE_TEST_SUITE_P(Engines, ListFindFilterTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);

} // namespace
