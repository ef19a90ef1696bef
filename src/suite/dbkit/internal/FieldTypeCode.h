#pragma once

// Internal: the recordset data-type code of a field a Qt driver read.

#include <QSqlField>

namespace dbkit {

// 11 boolean, 2 smallint, 3 integer, 20 bigint, 4 single, 5 double,
// 131 numeric/decimal (PostgreSQL; SQLite reports numeric columns as 5),
// 7 date, 134 time, 135 timestamp, 202 text/varchar, 205 binary, 12 other.
int fieldTypeCode(const QSqlField &field, bool postgresDriver);

} // namespace dbkit
