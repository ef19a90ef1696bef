#pragma once

// Internal: loads a SQLite result straight through the engine's own API.
//
// The Qt driver builds a QVariant per cell and lets SQLite convert every text
// to UTF-16 first; for a list of 100,000 warehouses that costs several times
// the query itself. Stepping the statement on the driver's own handle keeps
// the open close to the engine's speed. Same connection, same busy timeout,
// same transaction.

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <vector>

namespace dbkit {

class ColumnStore;

struct LoadedShape {
    QStringList names;
    QStringList tables;
    std::vector<int> types;  // recordset data-type codes
};

enum class DirectLoad { Done, Failed, Unavailable };

// Runs `statement` on the connection's SQLite handle into `rows`. Unavailable
// when the kit was built without the SQLite library or the handle is not
// SQLite's; Failed with `error` set when the engine refused.
DirectLoad loadSqliteDirect(QSqlDatabase &db, const QString &statement, ColumnStore &rows,
                            LoadedShape &shape, QSqlError *error);

} // namespace dbkit
