#include "WarehouseListCursor.h"

#include "data/DataHelpers.h"
#include "services/WarehouseQueries.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbDataSet.h"

namespace listcursor {

namespace {

// Follows a move with the grid, so that the next move starts from there.
void selectRowOfCurrent(const dbkit::DbDataSet &data, SuperGrid &grid)
{
    const QString code = depotbase::NullToEmpty(data.Fields(QStringLiteral("cWhCode")));
    const int rows = grid.Rows();
    const int here = grid.Row();
    auto shows = [&](int row) {
        return row >= 1 && row < rows && grid.TextMatrix(row, 0) == code;
    };
    // The neighbours first: a move goes one row up or down.
    int found = shows(here + 1) ? here + 1 : (shows(here - 1) ? here - 1 : -1);
    for (int row = 1; found < 0 && row < rows; ++row)
        if (shows(row))
            found = row;
    if (found > 0) {
        grid.setRow(found);
        grid.setRowSel(found);
    }
}

} // namespace

bool position(dbkit::DbDataSet &data, SuperGrid &grid, int moveKind)
{
    data.Requery(-1);
    auto findGridRow = [&] {
        return services::WarehouseQueries::findCode(data, grid.TextMatrix(grid.Row(), 0));
    };
    if (data.Eof() || data.BOF()) {
        if (data.RecordCount() == 0)
            return false;
        return findGridRow();
    }
    switch (moveKind) {
    case 2:
    case 3: {
        // From the warehouse of the grid's current row, not from the first record.
        if (!findGridRow())
            return false;
        const bool back = moveKind == 2;
        back ? data.MovePrevious() : data.MoveNext();
        if (back ? data.BOF() : data.Eof()) {
            back ? data.MoveFirst() : data.MoveLast();
            return false;
        }
        selectRowOfCurrent(data, grid);
        return true;
    }
    case 5:
        return findGridRow();
    case 6:
        data.MoveFirst();
        return true;
    case 7:
        data.MoveLast();
        return true;
    default:
        return true;
    }
}

} // namespace listcursor
