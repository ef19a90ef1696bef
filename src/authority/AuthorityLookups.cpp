#include "AuthorityLookups.h"

#include "RightsGrid.h"
#include "services/RightsQueries.h"

namespace authoritylookups {

std::optional<std::vector<QString>> storedCells(services::RightsQueries &queries,
                                                long long autoId, services::NodeKind node)
{
    const std::optional<services::JoinedRight> stored = queries.rightByAutoId(autoId);
    if (!stored)
        return std::nullopt;
    return rightsgrid::rowCells(*stored, node);
}

} // namespace authoritylookups
