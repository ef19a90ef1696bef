#include "suite/controls/SuperGrid.h"

#include <gtest/gtest.h>

// A whole row written at once reads back as if written cell by cell.
TEST(SuperGridRowTexts, WritesDataRowsOnlyAndFitsTheColumns)
{
    SuperGrid grid;
    grid.setCols(3);
    grid.setTextMatrix(0, 0, "title");
    grid.setRows(3);
    grid.setRowTexts(1, {"a", "b"});
    grid.setRowTexts(2, {"x", "y", "z", "beyond the columns"});
    grid.setRowTexts(0, {"not a title"});
    grid.setRowTexts(3, {"no such row"});
    EXPECT_EQ(grid.TextMatrix(0, 0), "title");
    EXPECT_EQ(grid.TextMatrix(1, 0), "a");
    EXPECT_EQ(grid.TextMatrix(1, 1), "b");
    EXPECT_EQ(grid.TextMatrix(1, 2), "");
    EXPECT_EQ(grid.TextMatrix(2, 2), "z");
    EXPECT_EQ(grid.Rows(), 3);
}
