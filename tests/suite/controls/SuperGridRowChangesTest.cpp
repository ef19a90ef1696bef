#include "suite/controls/SuperGrid.h"

#include <QAbstractItemModel>
#include <QSignalSpy>
#include <QTableView>
#include <gtest/gtest.h>

// Rows removed and inserted in one step, at their places in the sorted
// order: the view is told once, and the current row, the selection and the
// sort arrow stay with the rows they showed.
TEST(SuperGridRowChanges, RemovesAndInsertsInOneStepKeepingCursorAndSort)
{
    SuperGrid grid;
    grid.setCols(1);
    grid.setRows(6);
    const QStringList start{"i", "c", "g", "a", "e"};
    for (int row = 1; row <= 5; ++row)
        grid.setTextMatrix(row, 0, start[row - 1]);
    grid.setRow(1);
    grid.setRowSel(5);
    grid.setSort(1);
    grid.setRow(3);     // "e"
    grid.setRowSel(4);  // "g"

    const std::vector<int> places = grid.sortedPlaces(0, false, {"b", "h"});
    EXPECT_EQ(places, std::vector<int>({2, 5}));
    QSignalSpy resets(grid.view()->model(), &QAbstractItemModel::modelReset);
    controls::GridRowChanges changes;
    changes.removed = {2, 5};  // "c" and "i"
    changes.added = {{places[0], {"b"}}, {places[1], {"h"}}};
    grid.changeRows(std::move(changes));

    QStringList shown;
    for (int row = 1; row < grid.Rows(); ++row)
        shown << grid.TextMatrix(row, 0);
    EXPECT_EQ(shown, QStringList({"a", "b", "e", "g", "h"}));
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(grid.TextMatrix(grid.Row(), 0), "e");
    EXPECT_EQ(grid.TextMatrix(grid.RowSel(), 0), "g");
    EXPECT_EQ(grid.sortedColumn(), 0);
    EXPECT_EQ(grid.rowsShowing(0, {"g", "c"}), std::vector<int>({4, -1}));
}
