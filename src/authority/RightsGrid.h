#pragma once

#include "services/RightRecord.h"
#include "suite/dbkit/DbDataSet.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class GridDropDown;
class SuperGrid;

// How the authority editor's grid shows rights read with the joined rights
// statement (authority::rightsStatement): nodeKind 0 lists warehouses (the
// operator view), 1 lists operators (the warehouse view).
namespace rightsgrid {

// The grid cells of the data set's current record, one per column.
std::vector<QString> rowCells(dbkit::DbDataSet &rights, int nodeKind);
// Shows the records (none for nullptr) below the titles, in their order;
// returns how many.
int show(SuperGrid &grid, dbkit::DbDataSet *rights, int nodeKind);
void writeTitles(SuperGrid &grid, int nodeKind);
// Column widths (the first columns share `widthTwips` by quarters), edit
// styles, input limits and the cells that only show names.
void setupColumns(SuperGrid &grid, int widthTwips);
// Adds an empty row at the end and makes it current, its name cells in the
// name colour.
void appendRow(SuperGrid &grid);

// The right a grid row stands for: the selected node's side from the node,
// the other side, show money, class and item from the row.
services::RightRecord rightOfRow(const SuperGrid &grid, int row, int nodeKind,
                                 const QString &nodeCode, const QString &nodeName);
// False when another row has the same other side, class and item.
bool rowUnique(const SuperGrid &grid, int row);
// The first and last cell a column's value fills: the code and its names.
std::pair<int, int> cellGroup(int col);
// The column of a refused field (cInvCCode, cInvCode); `otherwise` for any
// other field.
int columnOfField(const QString &field, int otherwise);
// Offers the codes of field 0 and keeps the names of field 1 in `names`.
void fillDropDown(GridDropDown &list, dbkit::DbDataSet &data, QStringList &names);

} // namespace rightsgrid
