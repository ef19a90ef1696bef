#pragma once

// Internal: runs a login's statements that return no rows (plain or with
// bound values) and its transaction commands, on its connection, under its
// deadline, with its errors mapped.

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <optional>

namespace dbkit {

class Connection;
class ErrorMapping;

// Prepares `statement` (the dialect's rewrite of `sql`) on `q`, binds its "?"
// placeholders to `values` in order and runs it; a failure throws the DbError
// `errors` maps it to, naming `sql`.
void execBound(ErrorMapping &errors, QSqlQuery &q, const QString &statement, const QString &sql,
               const QVariantList &values, bool reading);

class StatementRunner {
public:
    StatementRunner(Connection &connection, ErrorMapping &errors)
        : m_connection(connection), m_errors(errors)
    {
    }

    void execute(const QString &sql);
    // Returns the rows affected.
    int executeBound(const QString &sql, const QVariantList &values);

    void begin();
    void rollback();
    void commit();

private:
    std::optional<int> runOnPostgres(const QString &statement, const QString &sql,
                                     const QVariantList &values);

    Connection &m_connection;
    ErrorMapping &m_errors;
};

} // namespace dbkit
