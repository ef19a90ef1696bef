#include "CatalogueCache.h"

#include "Connection.h"

namespace dbkit {

const TableInfo &CatalogueCache::tableInfo(Connection &connection, const QString &table)
{
    connection.ready(QString());
    const QString key = table.toLower();
    auto it = m_tables.find(key);
    if (it == m_tables.end() || !it->exists)
        it = m_tables.insert(key, connection.dialect().tableInfo(connection.database(), table));
    return *it;
}

} // namespace dbkit
