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

// What a reading takes of each change's row images.
enum class RowImages {
    Both,           // before and after, for the history window
    RenamedFrom,    // only a warehouse change's before, which names a renamed
                    // warehouse's old code: the feed's windows read rows by key
};

// "SELECT <the entry's columns> FROM ChangeHistory", the time as text.
QString historySelect(const dbkit::SqlForms &forms, RowImages images = RowImages::Both);
// The entries `sql` (built on historySelect) reads, with the images it selects, its "?" bound to `values`.
std::vector<HistoryEntry> readHistoryEntries(dbkit::DbLogin &login, const QString &sql,
                                             const QVariantList &values);

} // namespace services
