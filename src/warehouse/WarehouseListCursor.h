#pragma once

#include "services/WarehouseListRows.h"

class SuperGrid;

namespace listcursor {

// Positions the list's data set, read again first, by a move from the
// warehouse of the grid's current row (the grid follows a move to the
// previous or next warehouse). False when the list is empty, the current
// row's warehouse is gone, or a move runs past either end.
bool position(dbkit::DbDataSet &data, SuperGrid &grid, services::warehouse_list::Move move);

} // namespace listcursor
