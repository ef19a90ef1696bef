#include "RightsList.h"

#include "data/DataHelpers.h"
#include "suite/dbkit/DbDataSet.h"

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

} // namespace services::rightslist
