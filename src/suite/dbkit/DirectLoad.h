#pragma once

// Internal: loads a result straight through the engine's own client library
// on the Qt driver's handle.
//
// The Qt drivers build a QVariant per cell (SQLite converting every text to
// UTF-16 first); for a list of 100,000 warehouses that costs twice the query
// itself or more. Reading the engine's own result on the same connection
// keeps the open close to the engine's speed: same busy/lock timeout, same
// transaction.

#include "TextCache.h"

#include <QSqlDatabase>
#include <QByteArray>
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

// Recordset data-type code of a PostgreSQL type oid; -1 when not one we name.
int postgresTypeCode(unsigned int oid);

// Runs `statement` on the connection's SQLite handle into `rows`. Unavailable
// when the kit was built without the SQLite library or the handle is not
// SQLite's; Failed with `error` set when the engine refused.
DirectLoad loadSqliteDirect(QSqlDatabase &db, const QString &statement, ColumnStore &rows,
                            LoadedShape &shape, QSqlError *error);
// The socket of the connection's libpq handle; -1 when it has none.
int postgresSocket(QSqlDatabase &db);
DirectLoad loadPostgresDirect(QSqlDatabase &db, const QString &statement, ColumnStore &rows,
                              LoadedShape &shape, QSqlError *error);

} // namespace dbkit
