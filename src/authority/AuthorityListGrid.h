#pragma once

#include "AuthorityContext.h"

#include "services/RightsFilter.h"

#include <QSet>
#include <QString>
#include <optional>
#include <vector>

class SuperGrid;
namespace dbkit {
class DbDataSet;
}
namespace services {
struct JoinedRight;
}

// The authority list's grid: its columns and titles, the rows of a rights
// list shown straight from the data set they were read into, the right a
// row shows, the row a locate finds, and rights changed since they were read
// shown as they are now.
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

    // The Auto_ids of the rows that show a right on one of these warehouses.
    std::vector<long long> rightsOnWarehouses(const QSet<QString> &warehouses) const;
    // The rights `touched` as `listed` holds those of them still listed: a
    // row shown is rewritten or goes, a right not shown is added at the end.
    // The current row and cell and the top row stay on their rights.
    void takeStored(const QSet<long long> &touched,
                    const std::vector<services::JoinedRight> &listed);

private:
    // Shows the rows of a rights list below the grid's rows.
    void fill(const dbkit::DbDataSet &rows);
    // The Auto_id of a data row; 0 for none.
    long long autoIdOf(int row) const;
    // The data row of this Auto_id, or `otherwise` when none shows it.
    int rowOf(long long autoId, int otherwise) const;
    void removeRows(std::vector<int> rows);
    void appendRights(std::vector<const services::JoinedRight *> rights);

    SuperGrid &m_grid;
    // The Auto_id of each data row, in grid order (row 1 first).
    std::vector<long long> m_autoIds;
};
