#pragma once

#include <QString>
#include <vector>

namespace dbkit {
class DbDataSet;
}

// What the authority list asks of the rows RightsQueries read for it. The
// list's grid shows them straight from their data set, which the window
// keeps without reading it; these answer what the grid must know first.
namespace services::rightslist {

// How many rights the rows hold.
int count(const dbkit::DbDataSet &rows);
// The positions of the named fields, in the order named. A missing field
// throws dbkit::DbError, as any failure of a read does.
std::vector<int> fieldPositions(const dbkit::DbDataSet &rows,
                                const std::vector<const char *> &names);
// The Auto_id of each right, in the order of the rows.
std::vector<long long> autoIds(const dbkit::DbDataSet &rows);

} // namespace services::rightslist
