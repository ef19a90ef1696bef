// Sorting the selected rows.
#include "suite/controls/GridColors.h"
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
