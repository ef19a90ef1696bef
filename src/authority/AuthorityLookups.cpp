#include "AuthorityLookups.h"

#include "RightsGrid.h"
#include "services/RightsQueries.h"

namespace authoritylookups {

std::optional<QString> otherSide(dbkit::DbLogin &login, int kind, const QString &text)
{
    return services::RightsQueries(login).otherSideCode(kind, text);
}

std::optional<std::array<QString, 3>> item(dbkit::DbLogin &login, const QString &text)
{
    const std::optional<services::ItemNames> found =
        services::RightsQueries(login).typedItem(text);
    if (!found)
        return std::nullopt;
    return std::array<QString, 3>{found->code, found->name, found->model};
}

std::optional<std::vector<QString>> storedCells(dbkit::DbLogin &login, long long autoId,
                                                int nodeKind)
{
    const dbkit::DbDataSetPtr stored = services::RightsQueries(login).rightByAutoId(autoId);
    if (stored->Eof())
        return std::nullopt;
    return rightsgrid::rowCells(*stored, nodeKind);
}

} // namespace authoritylookups
