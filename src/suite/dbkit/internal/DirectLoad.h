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
#include <QVariantList>
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

// One statement for libpq: its text, with "?" placeholders when `values` are
// bound to them, and the statements without values to run before it in the
// same round trip: a transaction's BEGIN and settings, or for a statement
// outside a transaction the settings (set_config(..., true)) that hold for it
// alone, in one implicit transaction. Either way they hold whichever server
// connection a pooler lends, and no other client inherits them.
struct PostgresCall {
    QString statement;
    QVariantList values;
    QStringList prelude;
};

// Recordset data-type code of a PostgreSQL type oid; -1 when not one we name.
int postgresTypeCode(unsigned int oid);

// Runs `statement` on the connection's SQLite handle into `rows`. Unavailable
// when the kit was built without the SQLite library or the handle is not
// SQLite's; Failed with `error` set when the engine refused.
DirectLoad loadSqliteDirect(QSqlDatabase &db, const QString &statement, ColumnStore &rows,
                            LoadedShape &shape, QSqlError *error);
// The socket of the connection's libpq handle; -1 when it has none.
int postgresSocket(QSqlDatabase &db);
// The tables the columns come from cost a catalogue round trip; only a data
// set that writes needs them (`withTables`). The statement runs as an unnamed
// one, never a named one a pooled server connection could already hold from
// another client. Unavailable when the handle is not libpq's.
DirectLoad loadPostgresDirect(QSqlDatabase &db, const PostgresCall &call, ColumnStore &rows,
                              LoadedShape &shape, QSqlError *error, bool withTables = true);
// Runs `statement` through the ODBC connection under Qt's QODBC driver, its
// texts read as UTF-16 straight into the columns. Unavailable when the kit
// was built without the ODBC headers or the driver is not QODBC; Failed with
// `error` worded as QODBC words it when the driver refused.
DirectLoad loadOdbcDirect(QSqlDatabase &db, const QString &statement, ColumnStore &rows,
                          LoadedShape &shape, QSqlError *error);
// Runs `script`, statements without values separated by semicolons, on the
// connection's libpq handle in one round trip. Unavailable when the handle is
// not libpq's.
DirectLoad execPostgresScript(QSqlDatabase &db, const QString &script, QSqlError *error);
// Runs the call on the connection's libpq handle in one round trip. Qt's
// driver prepares a named statement on the server for each bound statement,
// runs it and deallocates it again: three round trips where one does.
// Unavailable when the handle is not libpq's.
DirectLoad execPostgresBound(QSqlDatabase &db, const PostgresCall &call, int *rowsAffected,
                             QSqlError *error);

} // namespace dbkit
