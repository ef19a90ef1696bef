#pragma once

#include <QString>
#include <vector>

class SuperGrid;
namespace dbkit {
class DbDataSet;
}
namespace services {
struct WarehouseRecord;
}

// The warehouse list's grid: its ten columns, how it is filled from a data
// set or from a stored warehouse, and its selection. Row 0 is the title row.
namespace listgrid {

// Kinds, widths, lengths, titles and flags of the ten columns; the position
// column has no width in the basic version.
void setup(SuperGrid &grid, bool basicVersion);

// Selection colours: the highlight pair when rows are listed, hidden otherwise.
void showSelection(SuperGrid &grid, bool visible);

// Appends one row per record of the data set (the caller empties the grid
// first); an empty data set hides the selection.
void fill(SuperGrid &grid, dbkit::DbDataSet &data);

// The texts of every record of the data set, each row as fill shows it.
std::vector<std::vector<QString>> rowTexts(dbkit::DbDataSet &data);

// Shows a stored warehouse: in a row added at the end and made current, or
// in the current row.
void showWarehouse(SuperGrid &grid, const services::WarehouseRecord &stored, bool added);
// Every row showing the department's name shows the valuation style.
void showDepartmentStyle(SuperGrid &grid, const QString &depName, const QString &style);
// Removes the current row.
void removeCurrentRow(SuperGrid &grid);

// The first row showing a warehouse code, made current and selected (and,
// with `scroll`, the top row); false when no row shows it.
bool selectCode(SuperGrid &grid, const QString &code, bool scroll);

// A click on the title row sorts every row by the clicked column and keeps
// the warehouse that was current selected alone.
void sortByTitleClick(SuperGrid &grid);

} // namespace listgrid
