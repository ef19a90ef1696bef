#include "DirectLoad.h"

#include "ColumnStore.h"
#include "DecodeThread.h"
#include "ExactNumbers.h"
#include "SqlQuoting.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QSqlDriver>
#include <QVariant>
#include <cstdlib>
#include <optional>

#ifdef DBKIT_HAVE_LIBPQ
#include <libpq-fe.h>
#endif

namespace dbkit {

int postgresTypeCode(unsigned int oid)
{
    switch (oid) {
    case 16: return 11;
    case 21: return 2;
    case 23: return 3;
    case 20: return 20;
    case 700: return 4;
    case 701: return 5;
    case 1700: return 131;
    case 1082: return 7;
    case 1083: return 134;
    case 1114:
    case 1184: return 135;
    case 17: return 205;
    case 18:
    case 19:
    case 25:
    case 1042:
    case 1043: return 202;
    default: return -1;
    }
}

#ifdef DBKIT_HAVE_LIBPQ

namespace {

struct Result {
    PGresult *handle = nullptr;
    ~Result() { PQclear(handle); }
};

// Names of the tables the columns come from, by oid, in one catalogue round
// trip; nullopt when the lookup failed (the connection broke, say), with the
// failed result in `failed`.
std::optional<QHash<Oid, QString>> tableNames(PGconn *conn, const PGresult *result, int columns,
                                              Result &failed)
{
    QHash<Oid, QString> names;
    QStringList oids;
    for (int c = 0; c < columns; ++c) {
        const Oid table = PQftable(result, c);
        if (table != InvalidOid && !names.contains(table)) {
            names.insert(table, QString());
            oids.append(QString::number(table));
        }
    }
    if (oids.isEmpty())
        return names;
    const QByteArray sql = "SELECT oid, relname FROM pg_class WHERE oid IN ("
                           + oids.join(',').toLatin1() + ")";
    Result r{PQexec(conn, sql.constData())};
    if (PQresultStatus(r.handle) != PGRES_TUPLES_OK) {
        std::swap(failed.handle, r.handle);
        return std::nullopt;
    }
    for (int i = 0; i < PQntuples(r.handle); ++i)
        names[Oid(std::strtoul(PQgetvalue(r.handle, i, 0), nullptr, 10))] =
            QString::fromUtf8(PQgetvalue(r.handle, i, 1));
    return names;
}

DirectLoad failedLoad(const PGresult *result, QSqlError *error)
{
    const char *state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    *error = QSqlError(QStringLiteral("Unable to create query"),
                       QString::fromUtf8(PQresultErrorMessage(result)).trimmed(),
                       QSqlError::StatementError, QString::fromLatin1(state ? state : ""));
    return DirectLoad::Failed;
}

// The libpq connection under Qt's driver; null when the driver is not QPSQL.
PGconn *connectionOf(QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // Qt names the handle type after libpq's struct.
    const char *type = handle.typeName();
    if (!handle.isValid() || (qstrcmp(type, "PGconn*") != 0 && qstrcmp(type, "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

// Results of more cells than this are converted on two threads.
constexpr size_t CellsWorthASecondThread = 20000;

bool isTextType(Oid type)
{
    switch (type) {
    case 20: case 21: case 23: case 700: case 701: case 16:
        return false;
    default:
        return true;
    }
}

// Appends column `c` of every row of `result` to `column`.
void convertColumn(const PGresult *result, int c, Oid type, int count, Column &column,
                   TextCache &cache)
{
    for (int i = 0; i < count; ++i) {
        if (PQgetisnull(result, i, c)) {
            column.appendNull();
            continue;
        }
        const char *value = PQgetvalue(result, i, c);
        const int length = PQgetlength(result, i, c);
        switch (type) {
        case 20:
        case 21:
        case 23:
            column.appendInteger(std::strtoll(value, nullptr, 10));
            break;
        case 700:
        case 701:
            column.appendReal(std::strtod(value, nullptr));
            break;
        case 1700:
            // numeric is exact: kept as its decimal text, never through a double.
            column.appendText(decimalText(QByteArrayView(value, length)));
            break;
        case 16:
            column.append(QVariant(value[0] == 't'));
            break;
        case 1082:
            column.append(QVariant(QDate::fromString(QString::fromLatin1(value), Qt::ISODate)));
            break;
        case 1114:
        case 1184:
            column.append(QVariant(QDateTime::fromString(QString::fromLatin1(value),
                                                         Qt::ISODateWithMs)));
            break;
        default:
            column.appendUtf8(value, length, cache);
            break;
        }
    }
}

// A bound value as libpq's text parameter, formatted as Qt's driver would
// write it; false for a value only a binary parameter could carry.
bool parameterText(const QVariant &value, QByteArray &text)
{
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        return false;
    case QMetaType::Bool:
        text = value.toBool() ? "true" : "false";
        return true;
    case QMetaType::Double:
    case QMetaType::Float:
        text = QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        return true;
    case QMetaType::QDate:
        text = value.toDate().toString(Qt::ISODate).toLatin1();
        return true;
    case QMetaType::QDateTime:
        text = value.toDateTime().toString(Qt::ISODateWithMs).toLatin1();
        return true;
    default:
        text = value.toString().toUtf8();
        return true;
    }
}

// The statement with its "?" placeholders numbered as libpq's "$1", "$2"...;
// quoted texts and comments are left alone.
QString numberedPlaceholders(const QString &statement)
{
    return rewriteOutsideQuotes(statement, [](const QString &sql) {
        QString out;
        out.reserve(sql.size() + 16);
        int number = 0;
        for (const QChar c : sql) {
            if (c == QLatin1Char('?'))
                out += QLatin1Char('$') + QString::number(++number);
            else
                out += c;
        }
        return out;
    });
}

// Bound values as libpq's text parameters, run as one unnamed statement.
struct BoundParameters {
    std::vector<QByteArray> texts;
    std::vector<const char *> pointers;

    // False for a value only a binary parameter could carry.
    bool take(const QVariantList &values)
    {
        texts.assign(size_t(values.size()), QByteArray());
        pointers.assign(size_t(values.size()), nullptr);
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (values[i].isNull())
                continue;
            if (!parameterText(values[i], texts[size_t(i)]))
                return false;
            pointers[size_t(i)] = texts[size_t(i)].constData();
        }
        return true;
    }
    PGresult *run(PGconn *conn, const QString &statement) const
    {
        const QByteArray sql = numberedPlaceholders(statement).toUtf8();
        return PQexecParams(conn, sql.constData(), int(pointers.size()), nullptr,
                            pointers.data(), nullptr, nullptr, 0);
    }
};

} // namespace

int postgresSocket(QSqlDatabase &db)
{
    PGconn *conn = connectionOf(db);
    return conn ? PQsocket(conn) : -1;
}

DirectLoad loadPostgresDirect(QSqlDatabase &db, const QString &statement, ColumnStore &rows,
                              LoadedShape &shape, QSqlError *error, bool withTables,
                              const QVariantList &values)
{
    PGconn *conn = connectionOf(db);
    if (!conn)
        return DirectLoad::Unavailable;

    Result r;
    if (values.isEmpty()) {
        r.handle = PQexec(conn, statement.toUtf8().constData());
    } else {
        BoundParameters bound;
        if (!bound.take(values))
            return DirectLoad::Unavailable;
        r.handle = bound.run(conn, statement);
    }
    const ExecStatusType status = PQresultStatus(r.handle);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        return failedLoad(r.handle, error);
    const int columns = PQnfields(r.handle);
    const int count = PQntuples(r.handle);
    // A load whose lookup failed is a failed load: the connection that broke
    // there must not pass for one that answered.
    Result lookup;
    const std::optional<QHash<Oid, QString>> tables =
        withTables ? tableNames(conn, r.handle, columns, lookup) : QHash<Oid, QString>();
    if (!tables)
        return failedLoad(lookup.handle, error);
    shape = LoadedShape();
    std::vector<Oid> types;
    for (int c = 0; c < columns; ++c) {
        shape.names.append(QString::fromUtf8(PQfname(r.handle, c)));
        shape.tables.append(tables->value(PQftable(r.handle, c)));
        types.push_back(PQftype(r.handle, c));
        const int code = postgresTypeCode(types.back());
        shape.types.push_back(code >= 0 ? code : 12);
    }
    rows.reset(columns);
    rows.reserve(size_t(count));
    std::vector<TextCache> caches(static_cast<size_t>(columns));
    const auto convert = [&](const std::vector<int> &which) {
        for (int c : which)
            convertColumn(r.handle, c, types[size_t(c)], count, rows.column(c),
                          caches[size_t(c)]);
    };
    std::vector<int> here;
    std::vector<int> there;
    DecoderLease decoder;
    if (decoder.held() && size_t(count) * size_t(columns) >= CellsWorthASecondThread) {
        // Texts cost the most: every other text column goes to the decoding
        // thread, everything else stays here.
        bool toDecoder = true;
        for (int c = 0; c < columns; ++c) {
            const bool text = isTextType(types[size_t(c)]);
            (text && toDecoder ? there : here).push_back(c);
            toDecoder ^= text;
        }
        decoder.start([&] { convert(there); });
    } else {
        for (int c = 0; c < columns; ++c)
            here.push_back(c);
    }
    convert(here);
    decoder.wait();
    rows.endRows(size_t(count));
    return DirectLoad::Done;
}

DirectLoad execPostgresBound(QSqlDatabase &db, const QString &statement,
                             const QVariantList &values, int *rowsAffected, QSqlError *error)
{
    PGconn *conn = connectionOf(db);
    if (!conn)
        return DirectLoad::Unavailable;
    BoundParameters bound;
    if (!bound.take(values))
        return DirectLoad::Unavailable;
    Result r{bound.run(conn, statement)};
    const ExecStatusType status = PQresultStatus(r.handle);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        return failedLoad(r.handle, error);
    *rowsAffected = std::atoi(PQcmdTuples(r.handle));
    return DirectLoad::Done;
}

#else

int postgresSocket(QSqlDatabase &)
{
    return -1;
}

DirectLoad loadPostgresDirect(QSqlDatabase &, const QString &, ColumnStore &, LoadedShape &,
                              QSqlError *, bool, const QVariantList &)
{
    return DirectLoad::Unavailable;
}

DirectLoad execPostgresBound(QSqlDatabase &, const QString &, const QVariantList &, int *,
                             QSqlError *)
{
    return DirectLoad::Unavailable;
}

#endif

} // namespace dbkit
