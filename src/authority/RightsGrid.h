#pragma once

#include "suite/dbkit/DbDataSet.h"

#include <QString>
#include <vector>

class SuperGrid;

// How the authority editor's grid shows rights read with the joined rights
// statement (authority::rightsStatement): nodeKind 0 lists warehouses (the
// operator view), 1 lists operators (the warehouse view).
namespace rightsgrid {

// The grid cells of the data set's current record, one per column.
std::vector<QString> rowCells(dbkit::DbDataSet &rights, int nodeKind);
// Rows 1 to the record count from the records, in their order.
void fill(SuperGrid &grid, dbkit::DbDataSet &rights, int nodeKind);
void writeTitles(SuperGrid &grid, int nodeKind);
// Column widths (the first columns share `widthTwips` by quarters), edit
// styles, input limits and the cells that only show names.
void setupColumns(SuperGrid &grid, int widthTwips);

} // namespace rightsgrid
