#pragma once

class SuperGrid;
namespace dbkit {
class DbDataSet;
}

namespace listcursor {

// Positions the list's data set, read again first, by a move kind: 5 the
// warehouse of the grid's current row, 6 first, 7 last, 2 previous and 3 next
// from the grid's current row (the grid follows the move). False when the
// list is empty, the current row's warehouse is gone, or a move runs past
// either end.
bool position(dbkit::DbDataSet &data, SuperGrid &grid, int moveKind);

} // namespace listcursor
