#pragma once

#include "DbError.h"
#include "DbLogin.h"
#include "SqlForms.h"

#include <QSqlError>
#include <QString>
#include <QStringList>
#include <memory>

class QSqlDatabase;

namespace dbkit {

// What the kit knows of a table it writes to.
struct TableInfo {
    QString name;                // as the catalogue spells it
    QStringList columns;         // every column, catalogue spelling
    QStringList primaryKey;      // key columns (empty: the table has none)
    QString identityColumn;      // a column the database numbers itself, or empty
    bool exists = false;
};

// The differences between engines: how the component's statements (written in
// the suite server's dialect) are adapted, how native failures map onto the
// kit's error numbers, and how the catalogue is read.
class SqlDialect {
public:
    virtual ~SqlDialect() = default;
    static std::unique_ptr<SqlDialect> create(Engine engine);

    virtual Engine engine() const = 0;
    // The statement as this engine must run it. Only SQL outside quoted
    // literals, quoted names and comments is ever changed.
    QString rewrite(const QString &sql) const;
    // The statement that reads the last identity value of this connection.
    virtual QString lastIdentityStatement() const = 0;
    // Statements that set up a new session: lock and statement time limits
    // (milliseconds; 0 means none).
    virtual QStringList sessionSetup(int statementTimeout) const;
    // The statement that reads this session's id on the server; empty when none.
    virtual QString sessionIdStatement() const { return QString(); }
    // The kit's error number for a native failure. `reading` tells a query
    // that only reads (a lock timeout then means "table held exclusively").
    virtual int errorNumber(const QSqlError &error, bool reading) const = 0;
    DbError toError(const QSqlError &error, const QString &statement, bool reading) const;

    // Columns, primary key and identity column of a table (empty when unknown).
    virtual TableInfo tableInfo(QSqlDatabase &db, const QString &table) const = 0;
    // Whether INSERT ... RETURNING can hand back the identity.
    virtual bool supportsReturning() const { return false; }
    // A name as it may stand in a statement.
    virtual QString quoteName(const QString &name) const;

    // Savepoints inside a transaction. An engine without a release has
    // nothing to run there (empty statement).
    virtual QString savepointStatement(const QString &name) const;
    virtual QString releaseSavepointStatement(const QString &name) const;
    virtual QString rollbackToSavepointStatement(const QString &name) const;

    // The engine's answers that SqlForms hands to the component; each is
    // described there.
    virtual QString lengthFunction() const { return QStringLiteral("length"); }
    virtual QString substringFunction() const { return QStringLiteral("substr"); }
    virtual QString firstRows(const QString &select, int rows) const;
    virtual QString utcNow() const = 0;
    virtual QString timeAsText(const QString &column) const = 0;
    virtual QString lockingReadSuffix() const { return QString(); }
    virtual bool decimalsAsDouble() const { return false; }
    virtual bool decimalsCompareExactly() const { return false; }
    virtual bool timeFromClient() const { return false; }
    virtual QString textType(int width) const;
    virtual QString timeType() const = 0;
    virtual QString createTableIfMissing(const QString &table, const QString &columns) const;
    virtual QString addColumn(const QString &table, const QString &column,
                              const QString &type) const = 0;
    virtual QString schemaFolder() const = 0;
    virtual bool makesAccountSchema() const { return true; }
    virtual HolderCheck holderCheck() const { return HolderCheck::Lease; }
    virtual QString lockHolderGone() const { return QStringLiteral("0"); }
    virtual QString serverTimeAfter() const { return QString(); }
    virtual QString skippingLockedSuffix() const { return QString(); }
    // A reading statement whose "?" keys (one or two) name a lock the
    // transaction holds until it ends; empty when the engine has none.
    virtual QString transactionLockStatement(int keys) const;

protected:
    // Adapts a statement whose quoted parts are masked (see SqlQuoting.h).
    virtual QString adapt(const QString &masked) const;
};

// True when the statement only reads (SELECT / WITH / VALUES / PRAGMA) and
// takes no row locks (no FOR UPDATE / FOR SHARE).
bool isReadingStatement(const QString &sql);

} // namespace dbkit
