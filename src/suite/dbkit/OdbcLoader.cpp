#include "DirectLoad.h"

#include "ColumnStore.h"
#include "ExactNumbers.h"
#include "TextCache.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <algorithm>
#include <vector>

#ifdef DBKIT_HAVE_ODBC
#include <sql.h>
#include <sqlext.h>
#endif

namespace dbkit {

#ifdef DBKIT_HAVE_ODBC

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide text is UTF-16");

// How a column's values are read, by its ODBC SQL type, as Qt's driver reads
// them: integers and reals as numbers, exact numerics as their decimal text,
// dates and times as values, binary and unknown types as bytes, the rest as
// text.
enum class Reading { Integer, Real, Exact, Text, Date, Time, Timestamp, Bytes };

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

// The recordset data-type code the Qt driver's field type gives (see
// typeCode() in DbDataSet.cpp).
int typeCodeOf(SQLSMALLINT type)
{
    switch (type) {
    case SQL_SMALLINT: return 2;
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_INTEGER: return 3;
    case SQL_BIGINT: return 20;
    case SQL_REAL: return 4;
    case SQL_FLOAT:
    case SQL_DOUBLE: return 5;
    case SQL_NUMERIC:
    case SQL_DECIMAL: return 131;
    default: break;
    }
    switch (readingOf(type)) {
    case Reading::Text: return 202;
    case Reading::Date: return 7;
    case Reading::Time: return 134;
    case Reading::Timestamp: return 135;
    default: return 205;
    }
}

struct Statement {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    Statement() = default;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    ~Statement()
    {
        if (handle != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, handle);
    }
};

QString fromWide(const SQLWCHAR *text, qsizetype length)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(text), length);
}

// The handle's diagnostics as Qt's driver words them: the messages one after
// another, then the SQLSTATEs, and the native codes as the native code.
QSqlError engineError(SQLSMALLINT handleType, SQLHANDLE handle, const QString &what)
{
    QStringList messages;
    QStringList states;
    QStringList codes;
    std::vector<SQLWCHAR> message(SQL_MAX_MESSAGE_LENGTH + 1);
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        const SQLRETURN r = SQLGetDiagRecW(handleType, handle, record, state, &native,
                                           message.data(), SQLSMALLINT(message.size()), &length);
        if (!SQL_SUCCEEDED(r))
            break;
        if (size_t(length) >= message.size()) {
            // Cut short: read the same record again with room for all of it.
            message.resize(size_t(length) + 1);
            --record;
            continue;
        }
        messages.append(fromWide(message.data(), length));
        states.append(fromWide(state, SQL_SQLSTATE_SIZE));
        codes.append(QString::number(native));
    }
    const QString driverText = QStringLiteral("QODBC: ") + what;
    if (messages.isEmpty())
        return QSqlError(driverText, QStringLiteral("unknown error"), QSqlError::StatementError);
    return QSqlError(driverText,
                     messages.join(QLatin1Char(' ')) + QStringLiteral(", ")
                         + states.join(QLatin1Char(';')),
                     QSqlError::StatementError, codes.join(QLatin1Char(';')));
}

// The connection handle under Qt's ODBC driver; null for any other driver.
SQLHDBC connectionOf(QSqlDatabase &db)
{
    if (!db.driver() || !db.driverName().startsWith(QLatin1String("QODBC")))
        return SQL_NULL_HDBC;
    const QVariant handle = db.driver()->handle();
    const char *type = handle.typeName();
    if (!handle.isValid() || (qstrcmp(type, "void*") != 0 && qstrcmp(type, "SQLHANDLE") != 0))
        return SQL_NULL_HDBC;
    return *static_cast<const SQLHDBC *>(handle.constData());
}

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

template <class T>
bool readFixed(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT type, T &value, bool &null)
{
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(SQLGetData(statement, column, type, &value, sizeof value, &indicator)))
        return false;
    null = indicator == SQL_NULL_DATA;
    return true;
}

// Appends column `c` (from 0) of the current row to `column`; false when the
// driver refused.
bool readCell(SQLHSTMT statement, int c, Reading reading, Column &column, TextCache &cache,
              CellReader &reader)
{
    const auto number = SQLUSMALLINT(c + 1);
    bool null = false;
    bool read = true;
    switch (reading) {
    case Reading::Integer: {
        SQLBIGINT value = 0;
        read = readFixed(statement, number, SQL_C_SBIGINT, value, null);
        if (read && !null)
            column.appendInteger(qint64(value));
        break;
    }
    case Reading::Real: {
        SQLDOUBLE value = 0;
        read = readFixed(statement, number, SQL_C_DOUBLE, value, null);
        if (read && !null)
            column.appendReal(value);
        break;
    }
    case Reading::Date: {
        SQL_DATE_STRUCT value{};
        read = readFixed(statement, number, SQL_C_TYPE_DATE, value, null);
        if (read && !null)
            column.append(QVariant(QDate(value.year, value.month, value.day)));
        break;
    }
    case Reading::Time: {
        SQL_TIME_STRUCT value{};
        read = readFixed(statement, number, SQL_C_TYPE_TIME, value, null);
        if (read && !null)
            column.append(QVariant(QTime(value.hour, value.minute, value.second)));
        break;
    }
    case Reading::Timestamp: {
        SQL_TIMESTAMP_STRUCT value{};
        read = readFixed(statement, number, SQL_C_TYPE_TIMESTAMP, value, null);
        if (read && !null)
            column.append(QVariant(QDateTime(
                QDate(value.year, value.month, value.day),
                QTime(value.hour, value.minute, value.second, int(value.fraction / 1000000)))));
        break;
    }
    case Reading::Text:
    case Reading::Exact: {
        SQLLEN bytes = 0;
        read = reader.read(number, SQL_C_WCHAR, bytes);
        null = bytes == SQL_NULL_DATA;
        if (!read || null)
            break;
        size_t length = size_t(bytes) / sizeof(char16_t);
        // An exact numeric stays its decimal text, never a double.
        if (reading == Reading::Exact)
            length = decimalLength(reader.text(), length);
        column.appendUtf16(reader.text(), length, cache);
        break;
    }
    case Reading::Bytes: {
        SQLLEN bytes = 0;
        read = reader.read(number, SQL_C_BINARY, bytes);
        null = bytes == SQL_NULL_DATA;
        if (read && !null)
            column.append(QVariant(QByteArray(reader.bytes(), qsizetype(bytes))));
        break;
    }
    }
    if (read && null)
        column.appendNull();
    return read;
}

// A column attribute that is a text, such as the table a column comes from.
QString textAttribute(SQLHSTMT statement, SQLUSMALLINT column, SQLUSMALLINT field)
{
    SQLWCHAR text[256] = {};
    SQLSMALLINT bytes = 0;
    if (!SQL_SUCCEEDED(SQLColAttributeW(statement, column, field, text, SQLSMALLINT(sizeof text),
                                        &bytes, nullptr)))
        return QString();
    QString value = fromWide(text, std::min<qsizetype>(bytes / qsizetype(sizeof(SQLWCHAR)), 255));
    // Some drivers count the terminating NUL in.
    if (const qsizetype nul = value.indexOf(QChar(0)); nul >= 0)
        value.truncate(nul);
    return value;
}

DirectLoad failed(SQLSMALLINT handleType, SQLHANDLE handle, const char *what, QSqlError *error)
{
    *error = engineError(handleType, handle, QString::fromLatin1(what));
    return DirectLoad::Failed;
}

} // namespace

DirectLoad loadOdbcDirect(QSqlDatabase &db, const QString &statement, ColumnStore &rows,
                          LoadedShape &shape, QSqlError *error)
{
    const SQLHDBC connection = connectionOf(db);
    if (connection == SQL_NULL_HDBC)
        return DirectLoad::Unavailable;

    Statement st;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &st.handle)))
        return failed(SQL_HANDLE_DBC, connection, "Unable to allocate statement", error);
    // The API takes the statement as writable; it is only read.
    auto *sql = const_cast<SQLWCHAR *>(reinterpret_cast<const SQLWCHAR *>(statement.utf16()));
    const SQLRETURN executed = SQLExecDirectW(st.handle, sql, SQLINTEGER(statement.size()));
    // SQL_NO_DATA: a change that met no rows.
    if (!SQL_SUCCEEDED(executed) && executed != SQL_NO_DATA)
        return failed(SQL_HANDLE_STMT, st.handle, "Unable to execute statement", error);

    SQLSMALLINT columns = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(st.handle, &columns)))
        return failed(SQL_HANDLE_STMT, st.handle, "Unable to count the result's columns", error);
    shape = LoadedShape();
    std::vector<Reading> readings;
    for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(columns); ++c) {
        std::vector<SQLWCHAR> name(256);
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        for (;;) {
            if (!SQL_SUCCEEDED(SQLDescribeColW(st.handle, c, name.data(),
                                               SQLSMALLINT(name.size()), &nameLength, &type,
                                               &size, &digits, &nullable)))
                return failed(SQL_HANDLE_STMT, st.handle, "Unable to describe a column", error);
            if (size_t(nameLength) < name.size())
                break;
            name.resize(size_t(nameLength) + 1);
        }
        shape.names.append(fromWide(name.data(), nameLength));
        shape.tables.append(textAttribute(st.handle, c, SQL_DESC_BASE_TABLE_NAME));
        shape.types.push_back(typeCodeOf(type));
        readings.push_back(readingOf(type));
    }
    rows.reset(columns);
    if (columns == 0)
        return DirectLoad::Done;
    SQLLEN count = 0;
    if (SQL_SUCCEEDED(SQLRowCount(st.handle, &count)) && count > 0)
        rows.reserve(size_t(count));

    std::vector<TextCache> caches(static_cast<size_t>(columns));
    CellReader reader(st.handle);
    SQLRETURN fetched = SQL_SUCCESS;
    while (SQL_SUCCEEDED(fetched = SQLFetch(st.handle))) {
        for (int c = 0; c < columns; ++c)
            if (!readCell(st.handle, c, readings[size_t(c)], rows.column(c), caches[size_t(c)],
                          reader))
                return failed(SQL_HANDLE_STMT, st.handle, "Unable to read a value", error);
        rows.endRow();
    }
    if (fetched != SQL_NO_DATA)
        return failed(SQL_HANDLE_STMT, st.handle, "Unable to fetch next", error);
    return DirectLoad::Done;
}

#else

DirectLoad loadOdbcDirect(QSqlDatabase &, const QString &, ColumnStore &, LoadedShape &,
                          QSqlError *)
{
    return DirectLoad::Unavailable;
}

#endif

} // namespace dbkit
