#include "RightsList.h"

#include "data/DataHelpers.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbRows.h"

namespace services::rightslist {

int count(const dbkit::DbDataSet &rows)
{
    return rows.BOF() && rows.Eof() ? 0 : int(rows.RecordCount());
}

std::vector<int> fieldPositions(const dbkit::DbDataSet &rows,
                                const std::vector<const char *> &names)
{
    std::vector<int> positions;
    positions.reserve(names.size());
    for (const char *name : names)
        positions.push_back(depotbase::RequiredField(rows, name, QStringLiteral("the rights")));
    return positions;
}

std::vector<long long> autoIds(const dbkit::DbDataSet &rows)
{
    const int field = depotbase::RequiredField(rows, "Auto_id", QStringLiteral("the rights"));
    const dbkit::DbRows read = dbkit::rowsOf(rows);
    std::vector<long long> ids;
    ids.reserve(size_t(count(rows)));
    for (size_t row = 0; row < size_t(count(rows)); ++row)
        ids.push_back(read.value(row, field).toLongLong());
    return ids;
}

} // namespace services::rightslist
