#pragma once

#include "export/DepotbaseExport.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

class QObject;

namespace dbkit {

class DbLogin;

// How a record lock's holder is known to be gone.
enum class HolderCheck {
    ServerLease,     // holders renew a lease on the server's clock
    LocalProcesses,  // holders are processes of the hosts sharing the file
    Lease,           // only the lock's age tells
};

// What the component's statements need to know of the engine behind a login,
// beyond the suite server's dialect the kit rewrites on its own: how the
// engine spells a few things, what it can do, and what its catalogue holds.
// Every answer comes from the login's dialect; no caller asks which engine
// it is.
class DEPOTBASE_EXPORT SqlForms {
public:
    explicit SqlForms(DbLogin &login) : m_login(login) {}

    // The string functions: a text's length, and the part of a text from a
    // position (from 1) of a length.
    QString lengthFunction() const;
    QString substringFunction() const;
    // A statement "SELECT ..." that hands back its first `rows` rows only.
    QString firstRows(const QString &select, int rows) const;
    // The server's time now, in UTC, as an expression.
    QString utcNow() const;
    // A time column as text: 'YYYY-MM-DD HH:MM:SS' with an optional fraction.
    QString timeAsText(const QString &column) const;
    // Appended to a read that must lock the rows it reads until the
    // transaction ends; empty where the engine serialises writes anyway.
    QString lockingReadSuffix() const;

    // Waits for a lock named by `keys` (one or two texts) that the current
    // transaction then holds until it ends, so two transactions naming the
    // same keys run one after the other. Nothing where the engine lets one
    // writer in at a time anyway or has no such lock.
    void holdTransactionLock(const QVariantList &keys) const;

    // Whether decimal columns are kept as doubles (at most 15 significant
    // digits survive).
    bool decimalsAsDouble() const;
    // Whether a decimal read as text and bound again compares equal to the
    // stored value exactly.
    bool decimalsCompareExactly() const;
    // Whether times are written by this client, to the millisecond, rather
    // than taken from a server's clock.
    bool timeFromClient() const;

    // The catalogue as it is now (never cached): whether a table exists, and
    // its columns (empty when it does not).
    bool tableExists(const QString &table) const;
    QStringList tableColumns(const QString &table) const;
    // Table definitions: a text column of a width, a time column, a table
    // made unless it exists, and a nullable column added to a table.
    QString textType(int width) const;
    QString timeType() const;
    QString createTableIfMissing(const QString &table, const QString &columns) const;
    QString addColumn(const QString &table, const QString &column, const QString &type) const;

    // The folder of the account's schema scripts for this engine, and
    // whether the kit makes an account's tables there (else the server's
    // administrators do, all but the change history).
    QString schemaFolder() const;
    bool makesAccountSchema() const;
    // Runs one statement of a schema script as it is written: not prepared
    // (DDL cannot be on every engine) and not rewritten. Throws DbError.
    void runScriptStatement(const QString &statement) const;
    // Makes a missing `table` by running `create` as one unit (a savepoint
    // in a caller's transaction, which goes on). When that fails and the
    // table is still missing (a login without the right to create tables),
    // raises a DbError that asks for the account to be set up, the engine's
    // text below; a lost connection or a busy database is raised as it is.
    void createMissingTable(const QString &table, const std::function<void()> &create) const;

    HolderCheck holderCheck() const;
    // An expression over a LockRecords row: 1 when its holder's lease in
    // LockSessions ran out or it has none, else 0 (always 0 unless holders
    // keep leases on the server).
    QString lockHolderGone() const;
    // The server's time (UTC) a number of milliseconds from now, bound to
    // the expression's one "?"; empty unless holders keep leases.
    QString serverTimeAfter() const;
    // Appended to a read that locks the rows it reads until the transaction
    // ends, passing over rows another transaction holds instead of waiting.
    QString skippingLockedSuffix() const;
    // An object destroyed with the login's present connection (a reconnect
    // makes a new one).
    const QObject *connectionObject() const;

    // A text as a literal of a FindFirst criterion (quotes doubled). For the
    // criteria the kit evaluates on a data set's rows only: a value in a
    // statement sent to a server is bound instead.
    static QString criteriaLiteral(const QString &text);

private:
    DbLogin &m_login;
};

} // namespace dbkit
