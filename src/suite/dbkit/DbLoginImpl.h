#pragma once

// Internal: the state of a DbLogin, shared by the kit's own sources.

#include "DbLogin.h"
#include "SqlDialect.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <memory>

namespace dbkit {

struct DbLogin::Impl {
    Engine engine = Engine::SQLite;
    QString url;
    QString connectionName;
    QString operatorName;
    QString computerName;
    QString connectionId;
    std::unique_ptr<SqlDialect> dialect;
    QSqlDatabase db;
    bool inTransaction = false;
    QHash<QString, TableInfo> tables;  // catalogue facts by lower-case table name
};

} // namespace dbkit
