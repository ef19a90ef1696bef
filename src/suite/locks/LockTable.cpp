#include "suite/locks/LockTable.h"

#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlDialect.h"
#include "suite/dbkit/StatementWatchdog.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace locks {

using dbkit::Engine;

namespace {

// One definition per engine; the account schema uses the same.
QString createStatement(Engine engine)
{
    switch (engine) {
    case Engine::SQLite:
        return QStringLiteral(
            "CREATE TABLE IF NOT EXISTS LockRecords (cKind TEXT NOT NULL, cCode TEXT NOT NULL, "
            "cSystem TEXT, cMode TEXT, cComputer TEXT, cOperator TEXT, "
            "cConnection TEXT NOT NULL, cSession TEXT, dLocked TEXT, UNIQUE (cKind, cCode))");
    case Engine::PostgreSQL:
        return QStringLiteral(
            "CREATE TABLE IF NOT EXISTS LockRecords (cKind varchar(10) NOT NULL, "
            "cCode varchar(60) NOT NULL, cSystem varchar(10), cMode varchar(10), "
            "cComputer varchar(60), cOperator varchar(60), cConnection varchar(120) NOT NULL, "
            "cSession varchar(64), dLocked timestamp, UNIQUE (cKind, cCode))");
    case Engine::ODBC:
        break;
    }
    return QStringLiteral(
        "IF OBJECT_ID('LockRecords', 'U') IS NULL CREATE TABLE LockRecords ("
        "cKind varchar(10) NOT NULL, cCode varchar(60) NOT NULL, cSystem varchar(10), "
        "cMode varchar(10), cComputer varchar(60), cOperator varchar(60), "
        "cConnection varchar(120) NOT NULL, cSession varchar(64), dLocked datetime, "
        "UNIQUE (cKind, cCode))");
}

// A lock table made before locks belonged to sessions gets the column.
QString addSessionStatement(Engine engine)
{
    switch (engine) {
    case Engine::SQLite:
        return QStringLiteral("ALTER TABLE LockRecords ADD COLUMN cSession TEXT");
    case Engine::PostgreSQL:
        return QStringLiteral(
            "ALTER TABLE LockRecords ADD COLUMN IF NOT EXISTS cSession varchar(64)");
    case Engine::ODBC:
        break;
    }
    return QStringLiteral("ALTER TABLE LockRecords ADD cSession varchar(64) NULL");
}

bool hasSessionColumn(const dbkit::TableInfo &table)
{
    return table.columns.contains(QStringLiteral("cSession"), Qt::CaseInsensitive);
}

// On PostgreSQL a lock lives while a backend of its holder's session does:
// every backend of a login names the session in its application_name, also
// after the login reconnects. A row without a session names its backend
// ("pg:PID"): a pid taken again by a later backend does not keep that lock
// alive, since that backend started after the lock was taken. The sessions
// are read through pg_stat_get_activity, the function under the view
// pg_stat_activity: the same rows, without the view's joins to plan anew for
// every lock taken.
QString holderGoneColumn(Engine engine)
{
    if (engine != Engine::PostgreSQL)
        return QStringLiteral("0");
    return QStringLiteral(
               "CASE WHEN LockRecords.cSession IS NOT NULL THEN "
               "CASE WHEN EXISTS (SELECT 1 FROM pg_stat_get_activity(NULL) a "
               "WHERE a.application_name = '")
           + dbkit::quoted(dbkit::DbLogin::sessionApplicationName(QString()))
           + QStringLiteral(
               "' || LockRecords.cSession) THEN 0 ELSE 1 END "
               "WHEN EXISTS (SELECT 1 FROM pg_stat_get_activity(NULL) a "
               "WHERE 'pg:' || CAST(a.pid AS varchar) = LockRecords.cConnection "
               "AND (LockRecords.dLocked IS NULL "
               "OR a.backend_start AT TIME ZONE 'UTC' <= LockRecords.dLocked)) "
               "THEN 0 ELSE 1 END");
}

QDateTime toUtc(const QVariant &value)
{
    if (value.isNull())
        return {};
    QDateTime time = value.typeId() == QMetaType::QString
                         ? QDateTime::fromString(value.toString(), Qt::ISODate)
                         : value.toDateTime();
    // Stored times are UTC whatever the driver assumes.
    if (time.isValid() && time.timeSpec() != Qt::UTC)
        time = QDateTime(time.date(), time.time(), Qt::UTC);
    return time;
}

QMutex tablesMutex;
QSet<QString> tablesReady;

} // namespace

LockTable::LockTable(dbkit::DbLogin &login) : m_login(login)
{
    ensureTable();
}

void LockTable::ensureTable()
{
    const QString key = m_login.url();
    {
        QMutexLocker lock(&tablesMutex);
        if (tablesReady.contains(key))
            return;
    }
    const auto lockTable = [this] {
        return m_login.dialect().tableInfo(m_login.database(), QStringLiteral("LockRecords"));
    };
    const dbkit::TableInfo table = lockTable();
    if (!table.exists) {
        m_login.Execute(createStatement(m_login.engine()));
    } else if (!hasSessionColumn(table)) {
        try {
            m_login.Execute(addSessionStatement(m_login.engine()));
        } catch (const dbkit::DbError &) {
            // Another process may have added it meanwhile.
            if (!hasSessionColumn(lockTable()))
                throw;
        }
    }
    QMutexLocker lock(&tablesMutex);
    tablesReady.insert(key);
}

std::optional<LockRow> LockTable::read(const QString &kind, const QString &code,
                                       Liveness liveness)
{
    const bool judged = liveness == Liveness::Judged;
    // Codes are quoted: the kit's statement rewriting leaves quoted text alone.
    const QString sql = QStringLiteral("SELECT cComputer, cOperator, cConnection, cSession, "
                                       "dLocked, ")
                        + (judged ? holderGoneColumn(m_login.engine()) : QStringLiteral("0"))
                        + QStringLiteral(" FROM LockRecords WHERE cKind = '")
                        + dbkit::quoted(kind) + QStringLiteral("' AND cCode = '")
                        + dbkit::quoted(code) + QStringLiteral("'");
    // The server keeps one picture of its sessions per transaction; a
    // caller's long transaction must not judge holders by an old one.
    if (judged && m_login.engine() == Engine::PostgreSQL)
        m_login.OpenDataSet(QStringLiteral("SELECT pg_stat_clear_snapshot()"),
                            dbkit::OpenMode::ReadOnly);
    const dbkit::DbDataSetPtr found = m_login.OpenDataSet(sql, dbkit::OpenMode::ReadOnly);
    if (found->Eof())
        return std::nullopt;
    LockRow row;
    row.computer = found->Fields(0).toString();
    row.operatorName = found->Fields(1).toString();
    row.connection = found->Fields(2).toString();
    row.session = found->Fields(3).toString();
    row.locked = toUtc(found->Fields(4));
    row.holderGone = found->Fields(5).toInt() != 0;
    return row;
}

void LockTable::insert(const QString &kind, const QString &code, const QString &system,
                       const QString &mode, const QString &computer)
{
    QVariantList values{kind, code, system, mode, computer, m_login.operatorName(),
                        m_login.connectionId(), m_login.sessionToken()};
    QString lockedAt;
    switch (m_login.engine()) {
    case Engine::PostgreSQL:
        // The server's clock, comparable with its sessions' start times.
        lockedAt = QStringLiteral("CURRENT_TIMESTAMP AT TIME ZONE 'UTC'");
        break;
    case Engine::SQLite:
        lockedAt = QStringLiteral("?");
        values << QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
        break;
    case Engine::ODBC:
        lockedAt = QStringLiteral("GETUTCDATE()");
        break;
    }
    m_login.executeBound(
        QStringLiteral("INSERT INTO LockRecords (cKind, cCode, cSystem, cMode, cComputer, "
                       "cOperator, cConnection, cSession, dLocked) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ")
            + lockedAt + QStringLiteral(")"),
        values);
}

int LockTable::removeOwn(const QString &kind, const QString &code)
{
    return m_login.executeBound(
        QStringLiteral("DELETE FROM LockRecords WHERE cKind = ? AND cCode = ? AND cOperator = ? "
                       "AND (cSession = ? OR (cSession IS NULL AND cConnection = ?))"),
        {kind, code, m_login.operatorName(), m_login.sessionToken(), m_login.connectionId()});
}

int LockTable::removeHeldBy(const QString &kind, const QString &code, const LockRow &row)
{
    if (row.session.isEmpty())
        return m_login.executeBound(
            QStringLiteral("DELETE FROM LockRecords WHERE cKind = ? AND cCode = ? "
                           "AND cSession IS NULL AND cConnection = ?"),
            {kind, code, row.connection});
    return m_login.executeBound(
        QStringLiteral("DELETE FROM LockRecords WHERE cKind = ? AND cCode = ? AND cSession = ?"),
        {kind, code, row.session});
}

} // namespace locks
