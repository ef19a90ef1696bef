#pragma once

// Internal: what the engine's catalogue says of the tables a login writes to,
// read once per login.

#include "../SqlDialect.h"

#include <QHash>
#include <QString>

namespace dbkit {

class Connection;

class CatalogueCache {
public:
    // Columns, primary key and identity column of `table`. A table not
    // found is looked up again next time.
    const TableInfo &tableInfo(Connection &connection, const QString &table);

private:
    QHash<QString, TableInfo> m_tables;  // by lower-case table name
};

} // namespace dbkit
