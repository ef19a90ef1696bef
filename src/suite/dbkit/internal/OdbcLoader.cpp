#include "DirectLoad.h"

#include "ColumnStore.h"
#include "OdbcFetch.h"

#include <QSqlDriver>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <vector>

namespace dbkit {

#ifdef DBKIT_HAVE_ODBC

namespace {

// The recordset data-type code the Qt driver's field type gives (see
// fieldTypeCode() in internal/FieldTypeCode.cpp).
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
    std::vector<ColumnInfo> described;
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
        described.push_back(ColumnInfo{readingOf(type), size});
    }
    rows.reset(columns);
    if (columns == 0)
        return DirectLoad::Done;
    SQLLEN count = 0;
    if (SQL_SUCCEEDED(SQLRowCount(st.handle, &count)) && count > 0)
        rows.reserve(size_t(count));

    if (!fetchOdbcRows(connection, st.handle, described, rows))
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
