#pragma once

#include "services/NodeKind.h"

#include <QString>
#include <optional>
#include <vector>

namespace services {
class RightsQueries;
}

// What the authority editor reads back of a stored right, shaped as its grid
// rows want it.
namespace authoritylookups {

// The grid cells of the stored right with this Auto_id; nothing when it is gone.
std::optional<std::vector<QString>> storedCells(services::RightsQueries &queries,
                                                long long autoId, services::NodeKind node);

} // namespace authoritylookups
