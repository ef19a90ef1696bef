#pragma once

#include "AuthorityContext.h"

#include "services/RightsFilter.h"

#include <optional>

class SuperGrid;
namespace dbkit {
class DbDataSet;
}

// The authority list's grid: its columns and titles, the rows of a rights
// list shown straight from the data set they were read into, the right a
// row shows, and the row a locate finds.
class AuthorityListGrid {
public:
    explicit AuthorityListGrid(SuperGrid &grid) : m_grid(grid) {}

    // Column widths (shares of `widthTwips`), kinds and titles.
    void setup(int widthTwips);
    // Shows the rows of a rights list instead of the rows shown.
    void show(const dbkit::DbDataSet &rows);
    void colourNameColumn();
    // The right a data row shows; nothing for the title row.
    std::optional<RightToShow> rightOfRow(int row) const;
    // The operator's name a data row shows.
    QString operatorName(int row) const;
    // Selects the first row of the operator and warehouse `wanted` locates
    // by; false when there is none.
    bool locate(const services::RightsFilter &wanted);

private:
    // Shows the rows of a rights list below the grid's rows.
    void fill(const dbkit::DbDataSet &rows);

    SuperGrid &m_grid;
};
