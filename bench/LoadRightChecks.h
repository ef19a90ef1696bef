#pragma once

#include "LoadHistoryChecks.h"
#include "LoadWrites.h"

#include "services/RightRecord.h"

#include <QStringList>

#include <map>
#include <vector>

namespace dbkit {
class DbLogin;
}

namespace load {

// The rights stored at the end, by Auto_id.
using StoredRights = std::map<long long, services::RightRecord>;
StoredRights storedRights(dbkit::DbLogin &login);

// A whole-warehouse right is refused beside any right of its operator and
// warehouse, while a narrowed right may join a whole-warehouse one: so a
// whole-warehouse right never stands beside a narrowed one that was there
// before it became whole. When each became what it is comes from the
// history (a right without history is told by lastImages).
QStringList wholeBesideEarlier(const StoredRights &stored, const AccountHistory &history);

// A right added or changed as done holds what it was told, unless a write
// whose answer was lost may have changed it; of several writes told done it
// holds what one that may have come last left. A right removed as done is
// gone, and one that no remove may have taken is stored.
QStringList rightsAsTold(const std::vector<Write> &writes, const StoredRights &stored);

} // namespace load
