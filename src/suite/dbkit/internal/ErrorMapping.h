#pragma once

// Internal: turns a failed statement into the DbError the caller sees, and
// tells a connection that was lost from a statement the server refused.

#include "../DbError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QString>

namespace dbkit {

class Connection;

class ErrorMapping {
public:
    explicit ErrorMapping(Connection &connection) : m_connection(connection) {}

    // The DbError of a failed statement; notes a connection found lost.
    DbError failure(const QSqlError &error, const QString &statement, bool reading);
    // The same for a failed prepared statement, which is kept until its
    // transaction ends so that the server can free it then.
    DbError failedStatement(QSqlQuery &query, const QString &statement, bool reading);

private:
    Connection &m_connection;
};

} // namespace dbkit
