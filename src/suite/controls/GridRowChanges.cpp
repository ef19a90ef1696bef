#include "GridRowChanges.h"

#include <algorithm>

namespace controls {

int GridRowChanges::movedRow(int row) const
{
    const auto removedAbove =
        std::lower_bound(removed.begin(), removed.end(), row) - removed.begin();
    const auto addedAbove = std::upper_bound(added.begin(), added.end(), row,
                                             [](int r, const Added &a) { return r < a.before; })
                            - added.begin();
    return row - int(removedAbove) + int(addedAbove);
}

}  // namespace controls
