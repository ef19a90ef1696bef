#include "suite/locks/SessionLease.h"

#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"

#include <atomic>

namespace locks {

namespace {

std::atomic<std::chrono::milliseconds::rep> leaseInForce{sessionLease.count()};

// A crashed holder's row is kept a day after its lease ran out: no lock
// depends on it any more, it only tells an administrator who it was.
constexpr std::chrono::milliseconds keptAfterExpiry = std::chrono::hours(24);

bool keepsLeases(const dbkit::SqlForms &forms)
{
    return forms.holderCheck() == dbkit::HolderCheck::ServerLease;
}

QVariant leaseMilliseconds()
{
    return QVariant::fromValue(int(currentSessionLease().count()));
}

// "?, ?, ..." for each session, and the sessions as bound values after `first`.
QString placeholders(const QStringList &sessions)
{
    return QStringList(sessions.size(), QStringLiteral("?")).join(QStringLiteral(", "));
}

QVariantList boundAfter(const QVariant &first, const QStringList &sessions)
{
    QVariantList values;
    if (first.isValid())
        values << first;
    for (const QString &session : sessions)
        values << session;
    return values;
}

} // namespace

std::chrono::milliseconds currentSessionLease()
{
    return std::chrono::milliseconds(leaseInForce.load());
}

void setSessionLease(std::chrono::milliseconds lease)
{
    leaseInForce = lease.count();
}

void ensureLeaseTable(dbkit::DbLogin &login)
{
    const dbkit::SqlForms forms(login);
    const QString table = QStringLiteral("LockSessions");
    if (!keepsLeases(forms) || forms.tableExists(table))
        return;
    // The account schema defines the same columns.
    const QString columns =
        QStringLiteral("cSession %1 NOT NULL PRIMARY KEY, cOperator %1, cComputer %1, "
                       "dExpires %2 NOT NULL")
            .arg(forms.textType(64), forms.timeType());
    forms.createMissingTable(table, [&] {
        login.Execute(forms.createTableIfMissing(table, columns));
    });
}

void renewOwnLease(dbkit::DbLogin &login)
{
    const dbkit::SqlForms forms(login);
    if (!keepsLeases(forms))
        return;
    const QString expires = forms.serverTimeAfter();
    if (login.executeBound(QStringLiteral("UPDATE LockSessions SET dExpires = ") + expires
                               + QStringLiteral(" WHERE cSession = ?"),
                           {leaseMilliseconds(), login.sessionToken()})
        == 1)
        return;
    login.executeBound(QStringLiteral("INSERT INTO LockSessions (cSession, cOperator, cComputer, "
                                      "dExpires) VALUES (?, ?, ?, ")
                           + expires + QStringLiteral(")"),
                       {login.sessionToken(), login.operatorName(), login.computerName(),
                        leaseMilliseconds()});
}

void renewLeases(dbkit::DbLogin &login, const QStringList &sessions)
{
    const dbkit::SqlForms forms(login);
    login.executeBound(QStringLiteral("UPDATE LockSessions SET dExpires = ")
                           + forms.serverTimeAfter()
                           + QStringLiteral(" WHERE cSession IN (SELECT cSession FROM "
                                            "LockSessions WHERE cSession IN (")
                           + placeholders(sessions) + QStringLiteral(")")
                           + forms.skippingLockedSuffix() + QStringLiteral(")"),
                       boundAfter(leaseMilliseconds(), sessions));
}

void endLeases(dbkit::DbLogin &login, const QStringList &sessions)
{
    login.executeBound(QStringLiteral("DELETE FROM LockSessions WHERE cSession IN (")
                           + placeholders(sessions) + QStringLiteral(")"),
                       boundAfter(QVariant(), sessions));
}

void clearLongExpiredLeases(dbkit::DbLogin &login)
{
    const dbkit::SqlForms forms(login);
    login.executeBound(QStringLiteral("DELETE FROM LockSessions WHERE cSession IN (SELECT "
                                      "cSession FROM LockSessions WHERE dExpires < ")
                           + forms.serverTimeAfter() + forms.skippingLockedSuffix()
                           + QStringLiteral(")"),
                       {QVariant::fromValue(-int(keptAfterExpiry.count()))});
}

} // namespace locks
