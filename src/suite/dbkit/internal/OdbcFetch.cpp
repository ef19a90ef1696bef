#include "OdbcFetch.h"

#ifdef DBKIT_HAVE_ODBC

#include "ColumnStore.h"
#include "ExactNumbers.h"
#include "TextCache.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariant>
#include <algorithm>
#include <cstring>

namespace dbkit {

Reading readingOf(SQLSMALLINT type)
{
    switch (type) {
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT: return Reading::Integer;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: return Reading::Real;
    case SQL_NUMERIC:
    case SQL_DECIMAL: return Reading::Exact;
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_GUID: return Reading::Text;
    case SQL_DATE:
    case SQL_TYPE_DATE: return Reading::Date;
    case SQL_TIME:
    case SQL_TYPE_TIME: return Reading::Time;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP: return Reading::Timestamp;
    default: return Reading::Bytes;
    }
}

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide text is UTF-16");

// Reads one cell of the current row of a column of `type` into the loader's
// buffer, the whole value however long it is: a text longer than the buffer
// comes in parts, the buffer growing to hold them all.
class CellReader {
public:
    explicit CellReader(SQLHSTMT statement) : m_statement(statement), m_buffer(2048) {}

    // False when the driver refused; `bytes` is SQL_NULL_DATA for Null.
    bool read(SQLUSMALLINT column, SQLSMALLINT type, SQLLEN &bytes)
    {
        // A text's parts each end in a terminator the next part overwrites.
        const size_t terminator =
            type == SQL_C_WCHAR ? sizeof(SQLWCHAR) : type == SQL_C_CHAR ? 1 : 0;
        size_t have = 0;
        for (;;) {
            const size_t room = byteSize() - have;
            SQLLEN indicator = 0;
            const SQLRETURN r = SQLGetData(m_statement, column, type, bytesAt(have), SQLLEN(room),
                                           &indicator);
            if (r == SQL_NO_DATA) {   // the last part ended exactly at the room's end
                bytes = SQLLEN(have);
                return true;
            }
            if (!SQL_SUCCEEDED(r))
                return false;
            if (indicator == SQL_NULL_DATA) {
                bytes = SQL_NULL_DATA;
                return true;
            }
            if (indicator != SQL_NO_TOTAL && size_t(indicator) + terminator <= room) {
                bytes = SQLLEN(have + size_t(indicator));
                return true;
            }
            // Cut short: what came fills the room but its terminator; the
            // indicator tells what was left before this part, when it knows.
            const size_t came = room - terminator;
            have += came;
            const size_t wanted = indicator == SQL_NO_TOTAL
                                      ? byteSize() * 2
                                      : have + (size_t(indicator) - came) + terminator;
            m_buffer.resize(std::max(wanted, byteSize() * 3 / 2) / sizeof(char16_t) + 1);
        }
    }
    const char16_t *text() const { return m_buffer.data(); }
    const char *bytes() const { return reinterpret_cast<const char *>(m_buffer.data()); }

private:
    size_t byteSize() const { return m_buffer.size() * sizeof(char16_t); }
    char *bytesAt(size_t offset) { return reinterpret_cast<char *>(m_buffer.data()) + offset; }

    SQLHSTMT m_statement;
    std::vector<char16_t> m_buffer;
};

// The C type a value is read as, and its size; 0 for a text or bytes.
struct CType {
    SQLSMALLINT type;
    size_t size;
};

CType cTypeOf(Reading reading)
{
    switch (reading) {
    case Reading::Integer: return {SQL_C_SBIGINT, sizeof(SQLBIGINT)};
    case Reading::Real: return {SQL_C_DOUBLE, sizeof(SQLDOUBLE)};
    case Reading::Date: return {SQL_C_TYPE_DATE, sizeof(SQL_DATE_STRUCT)};
    case Reading::Time: return {SQL_C_TYPE_TIME, sizeof(SQL_TIME_STRUCT)};
    case Reading::Timestamp: return {SQL_C_TYPE_TIMESTAMP, sizeof(SQL_TIMESTAMP_STRUCT)};
    case Reading::Bytes: return {SQL_C_BINARY, 0};
    case Reading::Text:
    case Reading::Exact: break;
    }
    return {SQL_C_WCHAR, 0};
}

template <class T>
T valueAt(const void *where)
{
    T value;
    std::memcpy(&value, where, sizeof value);   // a bound array's slot may be unaligned
    return value;
}

// Appends a value the driver wrote at `value` as cTypeOf(reading): `bytes`
// is its length, SQL_NULL_DATA for Null.
void appendValue(Reading reading, const void *value, SQLLEN bytes, Column &column,
                 TextCache &cache)
{
    if (bytes == SQL_NULL_DATA) {
        column.appendNull();
        return;
    }
    switch (reading) {
    case Reading::Integer:
        column.appendInteger(qint64(valueAt<SQLBIGINT>(value)));
        break;
    case Reading::Real:
        column.appendReal(valueAt<SQLDOUBLE>(value));
        break;
    case Reading::Date: {
        const auto d = valueAt<SQL_DATE_STRUCT>(value);
        column.append(QVariant(QDate(d.year, d.month, d.day)));
        break;
    }
    case Reading::Time: {
        const auto t = valueAt<SQL_TIME_STRUCT>(value);
        column.append(QVariant(QTime(t.hour, t.minute, t.second)));
        break;
    }
    case Reading::Timestamp: {
        const auto t = valueAt<SQL_TIMESTAMP_STRUCT>(value);
        column.append(QVariant(QDateTime(
            QDate(t.year, t.month, t.day),
            QTime(t.hour, t.minute, t.second, int(t.fraction / 1000000)))));
        break;
    }
    case Reading::Text:
    case Reading::Exact: {
        const auto *text = static_cast<const char16_t *>(value);
        size_t length = size_t(bytes) / sizeof(char16_t);
        // An exact numeric stays its decimal text, never a double.
        if (reading == Reading::Exact)
            length = decimalLength(text, length);
        column.appendUtf16(text, length, cache);
        break;
    }
    case Reading::Bytes:
        column.append(QVariant(QByteArray(static_cast<const char *>(value), qsizetype(bytes))));
        break;
    }
}

// Appends column `c` (from 0) of the current row to `column`; false when the
// driver refused.
bool readCell(SQLHSTMT statement, int c, Reading reading, Column &column, TextCache &cache,
              CellReader &reader)
{
    const auto number = SQLUSMALLINT(c + 1);
    const CType ctype = cTypeOf(reading);
    SQLLEN bytes = 0;
    if (ctype.size == 0) {
        if (!reader.read(number, ctype.type, bytes))
            return false;
        appendValue(reading, reader.bytes(), bytes, column, cache);
        return true;
    }
    SQL_TIMESTAMP_STRUCT fixed{};   // room for the largest fixed-size value
    if (!SQL_SUCCEEDED(SQLGetData(statement, number, ctype.type, &fixed, sizeof fixed, &bytes)))
        return false;
    appendValue(reading, &fixed, bytes, column, cache);
    return true;
}

// Rows fetched a block at a time into arrays bound to the columns: one driver
// call per block instead of one per cell. Only for results whose columns all
// have a bounded width, on a driver that can read a cell again on its own
// (a text longer than its column size says, such as an expression's).
class BlockFetch {
public:
    // The widest text column bound, in characters; wider ones are read a
    // cell at a time.
    static constexpr SQLULEN WidestText = 1024;

    static bool possible(SQLHDBC connection, const std::vector<ColumnInfo> &columns)
    {
        SQLUINTEGER extensions = 0;
        if (!SQL_SUCCEEDED(SQLGetInfo(connection, SQL_GETDATA_EXTENSIONS, &extensions,
                                      sizeof extensions, nullptr))
            || (extensions & (SQL_GD_BLOCK | SQL_GD_BOUND)) != (SQL_GD_BLOCK | SQL_GD_BOUND))
            return false;
        for (const ColumnInfo &column : columns)
            if (slotBytes(column) == 0)
                return false;
        return true;
    }

    BlockFetch(SQLHSTMT statement, const std::vector<ColumnInfo> &columns)
        : m_statement(statement), m_columns(columns)
    {
        size_t rowBytes = 0;
        for (const ColumnInfo &column : columns)
            rowBytes += slotBytes(column) + sizeof(SQLLEN);
        // About a megabyte of arrays.
        m_rows = std::clamp<size_t>((size_t(1) << 20) / rowBytes, 16, 512);
        m_bound.resize(columns.size());
        for (size_t c = 0; c < columns.size(); ++c) {
            m_bound[c].slot = slotBytes(columns[c]);
            m_bound[c].data.resize(m_rows * m_bound[c].slot);
            m_bound[c].lengths.resize(m_rows);
        }
        m_status.resize(m_rows);
    }

    // Binds the arrays; false when the driver refused.
    bool bind()
    {
        // ODBC passes integer attributes in the pointer argument.
        if (!SQL_SUCCEEDED(SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_BIND_TYPE,
                                          SQLPOINTER(SQL_BIND_BY_COLUMN), 0))
            || !SQL_SUCCEEDED(SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_ARRAY_SIZE,
                                             // NOLINTNEXTLINE(performance-no-int-to-ptr)
                                             SQLPOINTER(SQLULEN(m_rows)), 0))
            || !SQL_SUCCEEDED(SQLSetStmtAttr(m_statement, SQL_ATTR_ROWS_FETCHED_PTR,
                                             &m_fetched, 0))
            || !SQL_SUCCEEDED(SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_STATUS_PTR,
                                             m_status.data(), 0)))
            return false;
        for (size_t c = 0; c < m_columns.size(); ++c) {
            Bound &b = m_bound[c];
            if (!SQL_SUCCEEDED(SQLBindCol(m_statement, SQLUSMALLINT(c + 1),
                                          cTypeOf(m_columns[c].reading).type, b.data.data(),
                                          SQLLEN(b.slot), b.lengths.data())))
                return false;
        }
        return true;
    }

    // Fetches every block into `rows`; false when the driver refused.
    bool fetch(ColumnStore &rows, std::vector<TextCache> &caches, CellReader &reader)
    {
        SQLRETURN fetched = SQL_SUCCESS;
        while (SQL_SUCCEEDED(fetched = SQLFetch(m_statement))) {
            const size_t count = m_fetched;
            for (size_t row = 0; row < count; ++row)
                if (m_status[row] == SQL_ROW_ERROR)
                    return false;
            for (size_t c = 0; c < m_columns.size(); ++c)
                if (!appendColumn(int(c), count, rows.column(int(c)), caches[c], reader))
                    return false;
            rows.endRows(count);
        }
        return fetched == SQL_NO_DATA;
    }

private:
    struct Bound {
        size_t slot = 0;   // bytes per row
        std::vector<char> data;
        std::vector<SQLLEN> lengths;
    };

    // Bytes a row's value takes in its array; 0 when the column cannot be bound.
    static size_t slotBytes(const ColumnInfo &column)
    {
        const CType ctype = cTypeOf(column.reading);
        if (ctype.size != 0)
            return ctype.size;
        if (ctype.type != SQL_C_WCHAR || column.size == 0 || column.size > WidestText)
            return 0;
        // A character outside the basic plane takes two UTF-16 units; a
        // decimal's sign and point come on top of its digits; and a terminator.
        return (2 * size_t(column.size) + 3) * sizeof(SQLWCHAR);
    }

    bool appendColumn(int c, size_t count, Column &column, TextCache &cache, CellReader &reader)
    {
        const Bound &b = m_bound[size_t(c)];
        const Reading reading = m_columns[size_t(c)].reading;
        const bool text = cTypeOf(reading).size == 0;
        for (size_t row = 0; row < count; ++row) {
            const SQLLEN length = b.lengths[row];
            const bool cut = text && length != SQL_NULL_DATA
                             && (length == SQL_NO_TOTAL
                                 || size_t(length) + sizeof(SQLWCHAR) > b.slot);
            if (!cut) {
                appendValue(reading, b.data.data() + row * b.slot, length, column, cache);
                continue;
            }
            // Longer than the column's size said: the row is read again.
            if (!SQL_SUCCEEDED(SQLSetPos(m_statement, SQLSETPOSIROW(row + 1), SQL_POSITION,
                                         SQL_LOCK_NO_CHANGE))
                || !readCell(m_statement, c, reading, column, cache, reader))
                return false;
        }
        return true;
    }

    SQLHSTMT m_statement;
    std::vector<ColumnInfo> m_columns;
    size_t m_rows = 0;
    std::vector<Bound> m_bound;
    std::vector<SQLUSMALLINT> m_status;
    SQLULEN m_fetched = 0;
};

// Fetches the rows a cell at a time.
bool fetchCells(SQLHSTMT statement, const std::vector<ColumnInfo> &columns, ColumnStore &rows,
                std::vector<TextCache> &caches, CellReader &reader)
{
    SQLRETURN fetched = SQL_SUCCESS;
    while (SQL_SUCCEEDED(fetched = SQLFetch(statement))) {
        for (size_t c = 0; c < columns.size(); ++c)
            if (!readCell(statement, int(c), columns[c].reading, rows.column(int(c)), caches[c],
                          reader))
                return false;
        rows.endRow();
    }
    return fetched == SQL_NO_DATA;
}

} // namespace

bool fetchOdbcRows(SQLHDBC connection, SQLHSTMT statement, const std::vector<ColumnInfo> &columns,
                   ColumnStore &rows)
{
    std::vector<TextCache> caches(columns.size());
    CellReader reader(statement);
    if (!BlockFetch::possible(connection, columns))
        return fetchCells(statement, columns, rows, caches, reader);
    BlockFetch block(statement, columns);
    return block.bind() && block.fetch(rows, caches, reader);
}

} // namespace dbkit

#endif
