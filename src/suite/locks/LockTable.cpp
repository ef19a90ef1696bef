#include "suite/locks/LockTable.h"

#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"
#include "suite/dbkit/StatementWatchdog.h"
#include "suite/locks/SessionLease.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace locks {

namespace {

// The lock table's columns; the account schema defines the same.
QString lockColumns(const dbkit::SqlForms &forms)
{
    return QStringLiteral("cKind %1 NOT NULL, cCode %2 NOT NULL, cSystem %1, cMode %1, "
                          "cComputer %2, cOperator %2, cConnection %3 NOT NULL, cSession %4, "
                          "dLocked %5, UNIQUE (cKind, cCode)")
        .arg(forms.textType(10), forms.textType(60), forms.textType(120), forms.textType(64),
             forms.timeType());
}

bool hasSessionColumn(const QStringList &columns)
{
    return columns.contains(QStringLiteral("cSession"), Qt::CaseInsensitive);
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
    ensureTables();
}

void LockTable::ensureTables()
{
    const QString key = dbkit::DbLogin::databaseUrl(m_login.url());
    {
        QMutexLocker lock(&tablesMutex);
        if (tablesReady.contains(key))
            return;
    }
    const dbkit::SqlForms forms(m_login);
    const QString table = QStringLiteral("LockRecords");
    const QStringList columns = forms.tableColumns(table);
    if (columns.isEmpty()) {
        forms.createMissingTable(table, [&] {
            m_login.Execute(forms.createTableIfMissing(table, lockColumns(forms)));
        });
    } else if (!hasSessionColumn(columns)) {
        // A lock table made before locks belonged to sessions gets the column.
        try {
            m_login.Execute(
                forms.addColumn(table, QStringLiteral("cSession"), forms.textType(64)));
        } catch (const dbkit::DbError &) {
            // Another process may have added it meanwhile.
            if (!hasSessionColumn(forms.tableColumns(table)))
                throw;
        }
    }
    ensureLeaseTable(m_login);
    QMutexLocker lock(&tablesMutex);
    tablesReady.insert(key);
}

std::optional<LockRow> LockTable::read(const QString &kind, const QString &code,
                                       Liveness liveness)
{
    const bool judged = liveness == Liveness::Judged;
    const dbkit::SqlForms forms(m_login);
    // Whether the holder's lease ran out, where the server keeps leases.
    const QString sql = QStringLiteral("SELECT cComputer, cOperator, cConnection, cSession, "
                                       "dLocked, ")
                        + (judged ? forms.lockHolderGone() : QStringLiteral("0"))
                        + QStringLiteral(" FROM LockRecords WHERE cKind = ? AND cCode = ?");
    const dbkit::DbDataSetPtr found =
        m_login.OpenDataSet(sql, {kind, code}, dbkit::OpenMode::ReadOnly);
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
    // A server's clock; else this machine's, to the millisecond.
    const dbkit::SqlForms forms(m_login);
    QString lockedAt = forms.utcNow();
    if (forms.timeFromClient()) {
        lockedAt = QStringLiteral("?");
        values << QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
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
