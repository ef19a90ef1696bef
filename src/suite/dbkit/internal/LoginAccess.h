#pragma once

// Internal: the kit's own parts (data sets, bound reads, the statement
// deadline) reach a login's connection, error mapping and catalogue through
// here; DbLogin's public face does not offer them.

#include "../DbLogin.h"

#include <QString>

namespace dbkit {

class CatalogueCache;
class Connection;
class ErrorMapping;

class LoginAccess {
public:
    static Connection &connection(DbLogin &login);
    static ErrorMapping &errors(DbLogin &login);
    // The login's dialect and its connection, for statements the kit runs itself.
    static const SqlDialect &dialect(const DbLogin &login);
    static QSqlDatabase &database(DbLogin &login);
    // Columns, primary key and identity column of `table`, read once per login.
    static const TableInfo &tableInfo(DbLogin &login, const QString &table);
};

} // namespace dbkit
