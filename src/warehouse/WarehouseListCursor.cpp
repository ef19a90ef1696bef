#include "WarehouseListCursor.h"

#include "suite/controls/SuperGrid.h"

namespace listcursor {

namespace {

// Follows a move with the grid, so that the next move starts from there.
void selectRowOf(const QString &code, SuperGrid &grid)
{
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

bool position(dbkit::DbDataSet &data, SuperGrid &grid, services::warehouse_list::Move move)
{
    const services::warehouse_list::Position reached =
        services::warehouse_list::position(data, move, grid.TextMatrix(grid.Row(), 0));
    if (!reached.movedTo.isEmpty())
        selectRowOf(reached.movedTo, grid);
    return reached.found;
}

} // namespace listcursor
