#include "DirectLoad.h"

#include "ColumnStore.h"
#include "DecodeThread.h"
#include "ExactNumbers.h"
#include "ReadProgress.h"
#include "SqlQuoting.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QSqlDriver>
#include <QVariant>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

#ifdef DBKIT_HAVE_LIBPQ
#include "PostgresResults.h"
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

std::optional<QHash<Oid, QString>> tableNames(PGconn *conn, const PGresult *result, int columns,
                                              PgResult &failed)
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
    PgResult r{PQexec(conn, sql.constData())};
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

PGconn *connectionOf(QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // Qt names the handle type after libpq's struct.
    const char *type = handle.typeName();
    if (!handle.isValid() || (qstrcmp(type, "PGconn*") != 0 && qstrcmp(type, "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

namespace {

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

// A bound value as libpq's parameter: text, formatted as Qt's driver would
// write it, or for bytes their raw binary form.
void parameterText(const QVariant &value, QByteArray &text, int &format)
{
    format = 0;
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        text = value.toByteArray();
        format = 1;
        return;
    case QMetaType::Bool:
        text = value.toBool() ? "true" : "false";
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        text = QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        return;
    case QMetaType::QDate:
        text = value.toDate().toString(Qt::ISODate).toLatin1();
        return;
    case QMetaType::QDateTime:
        text = value.toDateTime().toString(Qt::ISODateWithMs).toLatin1();
        return;
    default:
        text = value.toString().toUtf8();
        return;
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

// A call's statement and bound values in libpq's terms.
struct BoundStatement {
    QByteArray sql;
    std::vector<QByteArray> texts;
    std::vector<const char *> pointers;
    std::vector<int> lengths;
    std::vector<int> formats;

    explicit BoundStatement(const PostgresCall &call)
        : sql((call.values.isEmpty() ? call.statement : numberedPlaceholders(call.statement))
                  .toUtf8())
    {
        const auto count = size_t(call.values.size());
        texts.resize(count);
        pointers.assign(count, nullptr);
        lengths.assign(count, 0);
        formats.assign(count, 0);
        for (size_t i = 0; i < count; ++i) {
            const QVariant &value = call.values[qsizetype(i)];
            if (value.isNull())
                continue;
            parameterText(value, texts[i], formats[i]);
            pointers[i] = texts[i].constData();
            lengths[i] = int(texts[i].size());
        }
    }
    int count() const { return int(pointers.size()); }
    PGresult *run(PGconn *conn) const
    {
        return PQexecParams(conn, sql.constData(), count(), nullptr, pointers.data(),
                            lengths.data(), formats.data(), 0);
    }
    bool send(PGconn *conn) const
    {
        return PQsendQueryParams(conn, sql.constData(), count(), nullptr, pointers.data(),
                                 lengths.data(), formats.data(), 0)
               != 0;
    }
};

} // namespace

bool failed(const PGresult *result)
{
    const ExecStatusType status = PQresultStatus(result);
    return status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK
           && status != PGRES_SINGLE_TUPLE;
}

namespace {

// Reads a pipeline's results up to its sync and leaves pipeline mode. Returns
// the first failure, else the last query's result; a failure when the
// connection broke before the statement answered. libpq keeps the single-row
// mode Qt's driver set on an earlier query for the pipeline's first query:
// the settings may answer row by row, which is no failure.
PGresult *pipelineAnswer(PGconn *conn, int queries)
{
    PGresult *answer = nullptr;
    int ended = 0;  // queries whose results are read to their end
    for (;;) {
        PGresult *result = PQgetResult(conn);
        if (!result) {
            // A query's results end with a null; a broken connection gives
            // nulls for ever.
            if (++ended > queries || PQstatus(conn) == CONNECTION_BAD)
                break;
            continue;
        }
        if (PQresultStatus(result) == PGRES_PIPELINE_SYNC) {
            PQclear(result);
            break;
        }
        if (answer && failed(answer)) {
            PQclear(result);  // the queries after a failure were skipped
        } else {
            PQclear(answer);
            answer = result;
        }
    }
    PQexitPipelineMode(conn);
    if (!answer || (ended < queries && !failed(answer))) {
        PQclear(answer);
        answer = PQmakeEmptyPGresult(conn, PGRES_FATAL_ERROR);
    }
    return answer;
}

} // namespace

// Runs the call's statement and returns its result. With a prelude, it and
// the statement go as one pipeline ending in one sync: one round trip.
PGresult *runCall(PGconn *conn, const PostgresCall &call)
{
    const BoundStatement bound(call);
    if (call.prelude.isEmpty() || !PQenterPipelineMode(conn))
        return bound.run(conn);
    bool sent = true;
    for (const QString &statement : call.prelude) {
        const QByteArray sql = statement.toUtf8();
        sent = sent
               && PQsendQueryParams(conn, sql.constData(), 0, nullptr, nullptr, nullptr,
                                    nullptr, 0);
    }
    sent = sent && bound.send(conn) && PQpipelineSync(conn);
    return pipelineAnswer(conn, sent ? int(call.prelude.size()) + 1 : 0);
}

std::function<void()> cancelRequest(PGconn *conn)
{
    std::shared_ptr<PGcancel> request(PQgetCancel(conn), PQfreeCancel);
    if (!request)
        return {};
    return [request] {
        char why[256];
        PQcancel(request.get(), why, int(sizeof why));
    };
}

LoadedShape resultShape(const PGresult *result, const QHash<Oid, QString> &tables,
                        std::vector<Oid> &types)
{
    LoadedShape shape;
    types.clear();
    for (int c = 0; c < PQnfields(result); ++c) {
        shape.names.append(QString::fromUtf8(PQfname(result, c)));
        shape.tables.append(tables.value(PQftable(result, c)));
        types.push_back(PQftype(result, c));
        const int code = postgresTypeCode(types.back());
        shape.types.push_back(code >= 0 ? code : 12);
    }
    return shape;
}

void appendResult(const PGresult *result, const std::vector<Oid> &types, ColumnStore &rows,
                  std::vector<TextCache> &caches)
{
    const int columns = PQnfields(result);
    const int count = PQntuples(result);
    const auto convert = [&](const std::vector<int> &which) {
        for (int c : which)
            convertColumn(result, c, types[size_t(c)], count, rows.column(c),
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
}

int postgresSocket(QSqlDatabase &db)
{
    PGconn *conn = connectionOf(db);
    return conn ? PQsocket(conn) : -1;
}

DirectLoad loadPostgresDirect(QSqlDatabase &db, const PostgresCall &call, ColumnStore &rows,
                              LoadedShape &shape, QSqlError *error, bool withTables)
{
    PGconn *conn = connectionOf(db);
    if (!conn)
        return DirectLoad::Unavailable;
    // A read on a background thread goes a batch at a time, told and
    // cancellable as it goes.
    if (ReadProgress *progress = ReadProgress::ofThisThread())
        return loadPostgresInBatches(conn, call, rows, shape, error, withTables, *progress);
    const PgResult r{runCall(conn, call)};
    if (failed(r.handle))
        return failedLoad(r.handle, error);
    const int columns = PQnfields(r.handle);
    const int count = PQntuples(r.handle);
    // A load whose lookup failed is a failed load: the connection that broke
    // there must not pass for one that answered.
    PgResult lookup;
    const std::optional<QHash<Oid, QString>> tables =
        withTables ? tableNames(conn, r.handle, columns, lookup) : QHash<Oid, QString>();
    if (!tables)
        return failedLoad(lookup.handle, error);
    std::vector<Oid> types;
    shape = resultShape(r.handle, *tables, types);
    rows.reset(columns);
    rows.reserve(size_t(count));
    std::vector<TextCache> caches(static_cast<size_t>(columns));
    appendResult(r.handle, types, rows, caches);
    return DirectLoad::Done;
}

DirectLoad execPostgresBound(QSqlDatabase &db, const PostgresCall &call, int *rowsAffected,
                             QSqlError *error)
{
    PGconn *conn = connectionOf(db);
    if (!conn)
        return DirectLoad::Unavailable;
    const PgResult r{runCall(conn, call)};
    if (failed(r.handle))
        return failedLoad(r.handle, error);
    *rowsAffected = std::atoi(PQcmdTuples(r.handle));
    return DirectLoad::Done;
}

bool runScript(PGconn *conn, const QString &script, QSqlError *error)
{
    // libpq answers a script with its first failure, else its last result.
    const PgResult r{PQexec(conn, script.toUtf8().constData())};
    if (!failed(r.handle))
        return true;
    failedLoad(r.handle, error);
    return false;
}

DirectLoad execPostgresScript(QSqlDatabase &db, const QString &script, QSqlError *error)
{
    PGconn *conn = connectionOf(db);
    if (!conn)
        return DirectLoad::Unavailable;
    return runScript(conn, script, error) ? DirectLoad::Done : DirectLoad::Failed;
}

#else

int postgresSocket(QSqlDatabase &)
{
    return -1;
}

DirectLoad loadPostgresDirect(QSqlDatabase &, const PostgresCall &, ColumnStore &, LoadedShape &,
                              QSqlError *, bool)
{
    return DirectLoad::Unavailable;
}

DirectLoad execPostgresScript(QSqlDatabase &, const QString &, QSqlError *)
{
    return DirectLoad::Unavailable;
}

DirectLoad execPostgresBound(QSqlDatabase &, const PostgresCall &, int *, QSqlError *)
{
    return DirectLoad::Unavailable;
}

#endif

} // namespace dbkit
