#pragma once

#include "DbDataSet.h"

#include <QString>
#include <QSqlDatabase>
#include <QVariant>
#include <memory>

namespace dbkit {

class SqlDialect;

// Which engine a login talks to.
enum class Engine { SQLite, PostgreSQL, ODBC };

// One connection to an account database (and the suite's system database),
// opened from a URL:
//   sqlite:PATH                      the system database lxsystem.db beside PATH
//                                    is attached as "lxsystem"
//   postgresql://user@host:port/db   system tables live in schema "lxsystem"
//   odbc:CONNECTION-STRING           e.g. a SQL Server account through unixODBC
// Optional query items on any URL: ?operator=NAME&computer=NAME override the
// identity used for record locks.
class DbLogin {
public:
    // Throws DbError (ConnectionFailed) when the database cannot be opened.
    static std::shared_ptr<DbLogin> open(const QString &url);
    ~DbLogin();
    DbLogin(const DbLogin &) = delete;
    DbLogin &operator=(const DbLogin &) = delete;

    // The component's operations. SQL is written in the suite server's
    // dialect; the login's SqlDialect rewrites what its engine needs.
    DbDataSetPtr OpenDataSet(const QString &sql, int mode = OpenMode::Default);
    void Execute(const QString &sql);
    void BeginTrans();
    void RollbackTrans();
    void CommitTrans();
    bool inTransaction() const;

    Engine engine() const;
    const SqlDialect &dialect() const;
    QString url() const;
    // Identity of this login for callers that need one (record locks).
    QString operatorName() const;
    QString computerName() const;
    // An id of this connection that is unique among the live connections of
    // the database (PostgreSQL backend pid; on SQLite host + process + login).
    QString connectionId() const;

    // Direct access for the kit's own parts (data sets, locks, schema set-up).
    QSqlDatabase &database();
    // Runs one statement with bound values; returns rows affected.
    // Throws DbError with the mapped number.
    int executeBound(const QString &sql, const QVariantList &values);

private:
    DbLogin();
    struct Impl;
    std::unique_ptr<Impl> d;
    friend class DbDataSet;
};

using DbLoginPtr = std::shared_ptr<DbLogin>;

// Doubles single quotes so a value can stand between quotes in a statement.
QString quoted(const QString &value);

} // namespace dbkit
