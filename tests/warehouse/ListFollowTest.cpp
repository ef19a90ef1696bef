// The open list follows other seats' changes without 刷新.
#include "OtherSeat.h"
#include "WarehouseFixture.h"

#include <QPushButton>

using namespace whtest;

namespace {

class ListFollowTest : public WarehouseFixture {
protected:
    // Asks the feed at once and waits until the list shows what `shown` tells.
    bool shownSoon(const std::function<bool()> &shown)
    {
        list().changeFollowing()->askNow();
        return QTest::qWaitFor(shown, 10000);
    }

    QString nameOf(const QString &code)
    {
        const int row = rowOf(code);
        return row > 0 ? grid().TextMatrix(row, 1) : QString();
    }
};

// A filtered list sorted by name: another operator's new warehouse appears
// at its place, a changed one changes in its row, one deleted or no longer
// let through by the filter leaves; the current row, the filter, the sort
// and the title's count follow.
TEST_P(ListFollowTest, AnotherSeatsChangesShowKeepingCurrentRowFilterAndSort)
{
    OtherSeat other(*m_db);
    runList([&](frmWHBrowse &l) {
        // Only the warehouses that manage no positions (not 01 and 02).
        m_seam->expectWindow(QStringLiteral("frmFilter"), [](QDialog *w) {
            control<QCheckBox>(w, QStringLiteral("chkWHPos"))->setCheckState(Qt::Unchecked);
            QTest::mouseClick(control<QPushButton>(w, QStringLiteral("cmdYes")), Qt::LeftButton);
        });
        click(QStringLiteral("TlbFilter"));
        grid().setCol(1);
        select(1, grid().Rows() - 1);
        grid().setSort(1);
        selectCode("05");

        other.add("F1", QStringLiteral("0号跟随仓"));
        other.change("06",
                     [](services::WarehouseRecord &w) { w.name = QStringLiteral("包装物库二"); });
        other.change("08", [](services::WarehouseRecord &w) { w.positions = true; });
        other.remove("09");
        ASSERT_TRUE(shownSoon([&] {
            return rowOf("F1") > 0 && rowOf("08") < 0 && rowOf("09") < 0
                   && nameOf("06") == QStringLiteral("包装物库二");
        }));

        EXPECT_EQ(rowOf("F1"), 1);
        EXPECT_EQ(grid().TextMatrix(grid().Row(), 0), "05");
        EXPECT_EQ(grid().RowSel(), grid().Row());
        EXPECT_EQ(grid().sortedColumn(), 1);
        EXPECT_EQ(l.windowTitle(), QStringLiteral("仓库档案（已过滤：显示 9 个仓库）"));
        l.OnToolbarCommand("TlbExit");
    });
    EXPECT_TRUE(m_seam->verifyDone());
}

INSTANTIATE_TEST_SUITE_P(Engines, ListFollowTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);

}  // namespace
