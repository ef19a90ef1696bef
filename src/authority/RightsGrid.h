#pragma once

#include "services/RightRules.h"
#include "services/RightsQueries.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class AuthorityData;
class GridDropDown;
class SuperGrid;

// How the authority editor's grid shows stored rights with their names: an
// operator's node lists warehouses, a warehouse's node lists operators.
namespace rightsgrid {

// The grid cells of a right, one per column.
std::vector<QString> rowCells(const services::JoinedRight &right, services::NodeKind node);
// The item cells' texts: code, name and model, all empty without an item.
void setItemCells(std::vector<QString> &cells, const std::optional<services::ItemNames> &item);
// Shows the rights below the titles, in their order; returns how many.
int show(SuperGrid &grid, const std::vector<services::JoinedRight> &rights,
         services::NodeKind node);
void writeTitles(SuperGrid &grid, services::NodeKind node);
// An empty grid of the editor: its titles, and its columns as setupColumns
// sets them.
void prepare(SuperGrid &grid, services::NodeKind node, int widthTwips);
// Column widths (the first columns share `widthTwips` by quarters), edit
// styles, input limits and the cells that only show names.
void setupColumns(SuperGrid &grid, int widthTwips);
// A row left without show money says "否" ("no"): done for the row above
// a new row when the new row is entered.
void settleShowMoney(SuperGrid &grid, int row);
// Adds an empty row at the end and makes it current, its name cells in the
// name colour.
void appendRow(SuperGrid &grid);

// A row without a stored right (no Auto_id): new, refused, or stored and
// deleted meanwhile by another administrator.
bool unstored(const SuperGrid &grid, int row);
// The unstored rows that hold a code, which closing would lose.
std::vector<int> unstoredRowsWithCode(const SuperGrid &grid);
// An unstored row shows it in its first cell until it is stored; the
// current row, which the selection colour covers, shows it by that colour.
void markStoreState(SuperGrid &grid, int row);

// The texts of a grid row, one per column.
std::vector<QString> cellsOf(const SuperGrid &grid, int row);
// Shows the texts that differ from what the row shows.
void showCells(SuperGrid &grid, int row, const std::vector<QString> &cells);
// The rights the rows show, from row 1 on: the rights rules check them.
std::vector<services::ListedRight> listedRights(const SuperGrid &grid);
// Fills the drop-down of column `col`: the two show-money answers, the
// classes after an empty item that clears the class, or the other sides of
// the node's rights: warehouses for an operator, operators for a warehouse.
// The names of the codes offered replace `names`.
void offer(GridDropDown &list, int col, services::NodeKind node, const AuthorityData &data,
           QStringList &names);

} // namespace rightsgrid
