#pragma once

// How a reading of the change history selects its rows and turns them into
// entries; shared by the history window's reader and the change feed.

#include "HistoryReader.h"

#include <QString>
#include <QVariantList>
#include <vector>

namespace dbkit {
class DbLogin;
class SqlForms;
}

namespace services {

// "SELECT <the entry's columns> FROM ChangeHistory", the time as text.
QString historySelect(const dbkit::SqlForms &forms);
// The entries `sql` (built on historySelect) reads, its "?" bound to `values`.
std::vector<HistoryEntry> readHistoryEntries(dbkit::DbLogin &login, const QString &sql,
                                             const QVariantList &values);

} // namespace services
