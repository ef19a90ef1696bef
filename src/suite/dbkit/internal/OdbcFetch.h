#pragma once

// Internal: reads the rows of an executed ODBC statement into a data set's
// columns, texts as UTF-16 straight into the column buffers.

#ifdef DBKIT_HAVE_ODBC

#include <sql.h>
#include <sqlext.h>
#include <vector>

namespace dbkit {

class ColumnStore;

// How a column's values are read, by its ODBC SQL type, as Qt's driver reads
// them: integers and reals as numbers, exact numerics as their decimal text,
// dates and times as values, binary and unknown types as bytes, the rest as
// text.
enum class Reading { Integer, Real, Exact, Text, Date, Time, Timestamp, Bytes };

Reading readingOf(SQLSMALLINT type);

struct ColumnInfo {
    Reading reading;
    SQLULEN size;   // the driver's column size: characters for a text
};

// Fetches every row of the executed `statement` into `rows`, whose columns
// are `columns`: a block of rows at a time into bound arrays where the driver
// and the columns allow it, a cell at a time otherwise. False when the driver
// refused; its diagnostics are on the statement.
bool fetchOdbcRows(SQLHDBC connection, SQLHSTMT statement, const std::vector<ColumnInfo> &columns,
                   ColumnStore &rows);

} // namespace dbkit

#endif
