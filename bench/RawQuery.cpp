#include "RawQuery.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <stdexcept>

namespace bench {

long rawSqliteQuery(const QString &path, const QString &sql)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr)
        != SQLITE_OK)
        throw std::runtime_error("cannot open " + path.toStdString());
    // The operators' system database beside the account, as the kit attaches it.
    const QString system = QFileInfo(path).absoluteDir().filePath(QStringLiteral("lxsystem.db"));
    if (QFileInfo::exists(system)) {
        const QByteArray attach = "ATTACH DATABASE '" + system.toUtf8() + "' AS lxsystem";
        sqlite3_exec(db, attach.constData(), nullptr, nullptr, nullptr);
    }
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        const std::string why = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(why);
    }
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
    sqlite3_close(db);
    return bytes > 0 ? rows : rows;
}

long rawPostgresQuery(const QString &url, const QString &sql)
{
    const QUrl u(url);
    const QString conninfo = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                                 .arg(u.host())
                                 .arg(u.port(5432))
                                 .arg(u.userName(), u.path().mid(1));
    PGconn *conn = PQconnectdb(conninfo.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        const std::string why = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error(why);
    }
    PGresult *res = PQexec(conn, sql.toUtf8().constData());
    if (PQresultStatus(res) != PGRES_TUPLES_OK) {
        const std::string why = PQresultErrorMessage(res);
        PQclear(res);
        PQfinish(conn);
        throw std::runtime_error(why);
    }
    const long rows = PQntuples(res);
    const int cols = PQnfields(res);
    size_t bytes = 0;
    for (long r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            bytes += PQgetlength(res, int(r), c);
    PQclear(res);
    PQfinish(conn);
    return bytes > 0 ? rows : rows;
}

} // namespace bench
