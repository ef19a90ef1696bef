#pragma once

#include "LoadWrites.h"

#include "services/HistoryReader.h"

#include <QStringList>

#include <map>
#include <utility>
#include <vector>

namespace dbkit {
class DbLogin;
}

namespace load {

// Every history row of the account by table and key, oldest first. Rows of
// one key are ordered by iId: the change that writes one holds the row (or,
// for rights, its operator and warehouse) until it commits, so iId follows
// the order the changes of one key were stored in.
using HistoryKey = std::pair<QString, QString>;  // table name, key
using AccountHistory = std::map<HistoryKey, std::vector<services::HistoryEntry>>;
AccountHistory readHistory(dbkit::DbLogin &login);

// One history row for each write told done that changed its row, none for a
// refused one: the rows of a key number at least the acknowledged changes
// and at most those and the writes whose answer was lost. A right added
// whose answer was lost has no key the bench knows: each such add may
// account for the first row ("add") of one right no known write added.
QStringList historyCounts(const std::vector<Write> &writes, const AccountHistory &history);

// The last history row of each warehouse and right shows it as stored now
// (no row after a delete), and each stored row has a history, but for a
// seeded warehouse never changed.
QStringList lastImages(dbkit::DbLogin &login, const AccountHistory &history);

} // namespace load
