#include "RawQuery.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <memory>
#include <stdexcept>

namespace bench {

namespace {

// Every cell's length goes here, so the optimiser cannot drop the reads
// the benchmark times.
volatile size_t cellBytes = 0;

struct SqliteConnection {
    sqlite3 *db = nullptr;
    ~SqliteConnection() { sqlite3_close(db); }
};

struct PostgresConnection {
    PGconn *conn = nullptr;
    ~PostgresConnection() { PQfinish(conn); }
};

long readSqlite(sqlite3 *db, const QString &sql)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    long rows = 0;
    const int cols = sqlite3_column_count(stmt);
    size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < cols; ++c) {
            sqlite3_column_text(stmt, c);
            bytes += sqlite3_column_bytes(stmt, c);
        }
        ++rows;
    }
    sqlite3_finalize(stmt);
    cellBytes = bytes;
    return rows;
}

long readPostgres(PGconn *conn, const QString &sql)
{
    PGresult *res = PQexec(conn, sql.toUtf8().constData());
    if (PQresultStatus(res) != PGRES_TUPLES_OK) {
        const std::string why = PQresultErrorMessage(res);
        PQclear(res);
        throw std::runtime_error(why);
    }
    const long rows = PQntuples(res);
    const int cols = PQnfields(res);
    size_t bytes = 0;
    for (long r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            bytes += PQgetlength(res, int(r), c);
    PQclear(res);
    cellBytes = bytes;
    return rows;
}

} // namespace

RawQuery rawSqlite(const QString &path)
{
    auto connection = std::make_shared<SqliteConnection>();
    if (sqlite3_open_v2(path.toUtf8().constData(), &connection->db, SQLITE_OPEN_READONLY,
                        nullptr)
        != SQLITE_OK)
        throw std::runtime_error("cannot open " + path.toStdString());
    // The operators' system database beside the account, as the kit attaches it.
    const QString system = QFileInfo(path).absoluteDir().filePath(QStringLiteral("lxsystem.db"));
    if (QFileInfo::exists(system)) {
        const QByteArray attach = "ATTACH DATABASE '" + system.toUtf8() + "' AS lxsystem";
        sqlite3_exec(connection->db, attach.constData(), nullptr, nullptr, nullptr);
    }
    return [connection](const QString &sql) { return readSqlite(connection->db, sql); };
}

RawQuery rawPostgres(const QString &url)
{
    const QUrl u(url);
    const QString conninfo = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                                 .arg(u.host())
                                 .arg(u.port(5432))
                                 .arg(u.userName(), u.path().mid(1));
    auto connection = std::make_shared<PostgresConnection>();
    connection->conn = PQconnectdb(conninfo.toUtf8().constData());
    if (PQstatus(connection->conn) != CONNECTION_OK)
        throw std::runtime_error(PQerrorMessage(connection->conn));
    return [connection](const QString &sql) { return readPostgres(connection->conn, sql); };
}

} // namespace bench
