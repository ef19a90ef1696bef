#pragma once

// Internal: which table a data set writes to.

#include <QString>

namespace dbkit {

// The table a SELECT writes back to: the table whose * it selects
// ("SELECT Department.cDepName, Warehouse.* FROM ..." gives Warehouse), or the
// only table of its FROM. Empty when the statement names no single table.
QString baseTableOf(const QString &statement);

// A table or column name without its "Owner." or "Table." prefix.
QString unprefixedName(const QString &name);

} // namespace dbkit
