// Sorting the selected rows.
#include "suite/controls/GridColors.h"
#include "suite/controls/GridSource.h"
#include "suite/controls/SuperGrid.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

// A grid whose column 0 holds `values` and column 1 the original row number.
std::unique_ptr<SuperGrid> gridOf(const QStringList &values, int kind = SuperGrid::KindText)
{
    auto grid = std::make_unique<SuperGrid>();
    grid->setCols(2);
    grid->setColKind(0, kind);
    for (int i = 0; i < values.size(); ++i) {
        grid->setRows(grid->Rows() + 1);
        grid->setTextMatrix(i + 1, 0, values[i]);
        grid->setTextMatrix(i + 1, 1, QString::number(i + 1));
    }
    return grid;
}

QStringList column(const SuperGrid &grid, int col)
{
    QStringList out;
    for (int r = 1; r < grid.Rows(); ++r)
        out << grid.TextMatrix(r, col);
    return out;
}

// Rows of texts that a grid reads without a copy.
class TextsSource : public controls::GridSource {
public:
    explicit TextsSource(std::vector<QStringList> rows) : m_rows(std::move(rows)) {}
    size_t rowCount() const override { return m_rows.size(); }
    QString text(size_t row, int col) const override { return m_rows[row].value(col); }

private:
    std::vector<QStringList> m_rows;
};

void sortAll(SuperGrid &grid, int col, int order = 1)
{
    grid.setRow(1);
    grid.setRowSel(grid.Rows() - 1);
    grid.setCol(col);
    grid.setSort(order);
}

} // namespace

TEST(SuperGridSort, CodesSortByTheirNumbersAndRowsMoveWhole)
{
    auto grid = gridOf({"10", "2", "B2", "1", "a1", "01002", "0101"});
    grid->setCellBackColorAt(1, 1, controls::rgbValue(1, 2, 3));
    sortAll(*grid, 0);
    EXPECT_EQ(column(*grid, 0),
              QStringList({"1", "2", "10", "0101", "01002", "a1", "B2"}));
    // The other cells and the cell colours travel with their row.
    EXPECT_EQ(column(*grid, 1), QStringList({"4", "2", "1", "7", "6", "5", "3"}));
    EXPECT_EQ(grid->cellBackColorAt(3, 1), controls::rgbValue(1, 2, 3));
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->RowSel(), 7) << "the selection stays where it was";

    sortAll(*grid, 0, 2);
    EXPECT_EQ(column(*grid, 0).first(), "B2");
    EXPECT_EQ(column(*grid, 0).last(), "1");
}

// Rows read from two sources sort together; a colour or a write on one of
// them keeps to its row, and the row it is removed with takes it along.
TEST(SuperGridSort, RowsReadFromSourcesKeepTheirColoursAndWrites)
{
    SuperGrid grid;
    grid.setCols(2);
    grid.setRows(4);
    grid.showSource(1, std::make_shared<TextsSource>(
                           std::vector<QStringList>{{"c", "1"}, {"a", "2"}, {"d", "3"}}));
    const uint32_t plain = grid.cellBackColorAt(1, 1);
    const uint32_t marked = controls::rgbValue(1, 2, 3);
    grid.setCellBackColorAt(1, 1, marked);
    grid.setRows(6);
    grid.showSource(4, std::make_shared<TextsSource>(
                           std::vector<QStringList>{{"b", "4"}, {"e", "5"}}));
    sortAll(grid, 0);
    EXPECT_EQ(column(grid, 0), QStringList({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(column(grid, 1), QStringList({"2", "4", "1", "3", "5"}));
    EXPECT_EQ(grid.cellBackColorAt(3, 1), marked);

    grid.setTextMatrix(2, 1, "written");
    sortAll(grid, 0, 2);
    EXPECT_EQ(column(grid, 1), QStringList({"5", "3", "1", "written", "2"}));
    EXPECT_EQ(grid.cellBackColorAt(3, 1), marked);

    grid.RemoveItem(3);
    EXPECT_EQ(column(grid, 0), QStringList({"e", "d", "b", "a"}));
    EXPECT_EQ(grid.cellBackColorAt(3, 1), plain);
    grid.setRows(6);
    EXPECT_EQ(grid.cellBackColorAt(5, 1), plain) << "a removed row's colour does not come back";
}

TEST(SuperGridSort, ChineseNamesSortByPinyin)
{
    auto grid = gridOf({"张三", "李四", "王五", "阿明", "北京仓", "成品库"});
    sortAll(*grid, 0);
    EXPECT_EQ(column(*grid, 0),
              QStringList({"阿明", "北京仓", "成品库", "李四", "王五", "张三"}));
}

TEST(SuperGridSort, NumericColumnSortsNumbersWithEmptyCellsLast)
{
    auto grid = gridOf({"10", "", "2.5", "-3", "100", "abc", "", "2.50"},
                       SuperGrid::KindNumeric);
    sortAll(*grid, 0);
    EXPECT_EQ(column(*grid, 0),
              QStringList({"-3", "2.5", "2.50", "10", "100", "abc", "", ""}));
    EXPECT_EQ(column(*grid, 1).mid(1, 2), QStringList({"3", "8"})) << "stable for equal values";
    sortAll(*grid, 0, 2);
    EXPECT_EQ(column(*grid, 0).first(), "100");
    EXPECT_EQ(column(*grid, 0).last(), "") << "empty cells stay last when descending";
}

TEST(SuperGridSort, OnlyTheSelectedRowsAreSorted)
{
    auto grid = gridOf({"e", "d", "c", "b", "a"});
    grid->show();
    QSignalSpy changed(grid->view()->model(), &QAbstractItemModel::dataChanged);
    grid->setRow(4);     // selection given bottom-up
    grid->setRowSel(2);
    grid->setCol(0);
    changed.clear();
    grid->setSort(1);
    EXPECT_EQ(column(*grid, 0), QStringList({"e", "b", "c", "d", "a"}));
    EXPECT_GE(changed.count(), 1) << "the sorted rows are repainted";

    grid->setRow(3);   // one row selected: nothing to sort
    grid->setSort(1);
    EXPECT_EQ(column(*grid, 0), QStringList({"e", "b", "c", "d", "a"}));
}

// The header shows an arrow on the column the whole list is ordered by, and
// none once the rows are in no column's order.
TEST(SuperGridSort, HeaderArrowMarksTheColumnOfAWholeListSort)
{
    auto grid = gridOf({"c", "a", "b"});
    QHeaderView *header = grid->view()->horizontalHeader();
    EXPECT_FALSE(header->isSortIndicatorShown());
    sortAll(*grid, 1, 2);
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);

    // Some rows sorted: the list as a whole is in no column's order.
    grid->setRow(1);
    grid->setRowSel(2);
    grid->setCol(0);
    grid->setSort(1);
    EXPECT_FALSE(header->isSortIndicatorShown());

    sortAll(*grid, 0);
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    // A row appended at the end breaks the order.
    grid->setRows(grid->Rows() + 1);
    EXPECT_FALSE(header->isSortIndicatorShown());
}
