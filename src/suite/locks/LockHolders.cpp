#include "suite/locks/LockHolders.h"

#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"
#include "suite/locks/LeaseRenewal.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSysInfo>

#include <cerrno>
#include <csignal>

namespace locks {

namespace {

// The SQLite logins of this process that took locks, by connection id. An
// entry goes when the login's connection is removed (its connection object destroyed).
QMutex registryMutex;
QHash<QString, const QObject *> liveLogins;

bool isLiveLoginOfThisProcess(const QString &connectionId)
{
    QMutexLocker lock(&registryMutex);
    return liveLogins.contains(connectionId);
}

// A process of this host is gone when it no longer exists, or when it has
// died and only waits to be reaped by its parent.
bool processGone(qint64 pid)
{
    if (pid <= 0)
        return true;
    if (::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH)
        return true;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    // "pid (name) state ...": the name may hold blanks and parentheses.
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && line.size() > close + 2 && line.at(close + 2) == 'Z';
}

bool leaseExpired(const LockRow &row, const QDateTime &nowUtc)
{
    // A lock without a time cannot prove it is still meant.
    if (!row.locked.isValid())
        return true;
    return row.locked.secsTo(nowUtc) > leaseSeconds;
}

bool sqliteHolderGone(const LockRow &row, const QDateTime &nowUtc)
{
    SqliteHolder holder;
    if (!parseSqliteConnection(row.connection, holder)
        || holder.host != QSysInfo::machineHostName())
        return leaseExpired(row, nowUtc);
    if (holder.pid == QCoreApplication::applicationPid())
        return !isLiveLoginOfThisProcess(row.connection);
    return processGone(holder.pid);
}

} // namespace

bool parseSqliteConnection(const QString &connectionId, SqliteHolder &holder)
{
    // host:pid:login (the host is split off from the right, as it is the
    // only part that could hold a colon).
    const qsizetype last = connectionId.lastIndexOf(':');
    if (last <= 0)
        return false;
    const qsizetype middle = connectionId.lastIndexOf(':', last - 1);
    if (middle <= 0)
        return false;
    bool pidOk = false;
    bool loginOk = false;
    const qint64 pid = connectionId.mid(middle + 1, last - middle - 1).toLongLong(&pidOk);
    connectionId.mid(last + 1).toLongLong(&loginOk);
    if (!pidOk || !loginOk)
        return false;
    holder.host = connectionId.left(middle);
    holder.pid = pid;
    return true;
}

void registerLogin(dbkit::DbLogin &login)
{
    const dbkit::SqlForms forms(login);
    if (forms.holderCheck() == dbkit::HolderCheck::ServerLease) {
        keepLeaseAlive(login);
        return;
    }
    if (forms.holderCheck() != dbkit::HolderCheck::LocalProcesses)
        return;
    const QObject *connection = forms.connectionObject();
    const QString id = login.connectionId();
    {
        QMutexLocker lock(&registryMutex);
        if (liveLogins.value(id) == connection)
            return;
        liveLogins.insert(id, connection);
    }
    QObject::connect(connection, &QObject::destroyed, [id, connection] {
        QMutexLocker lock(&registryMutex);
        if (liveLogins.value(id) == connection)
            liveLogins.remove(id);
    });
}

bool isOwnLock(dbkit::DbLogin &login, const LockRow &row)
{
    if (row.operatorName != login.operatorName())
        return false;
    if (!row.session.isEmpty())
        return row.session == login.sessionToken();
    return row.connection == login.connectionId();
}

bool isStale(dbkit::DbLogin &login, const LockRow &row, const QDateTime &nowUtc)
{
    switch (dbkit::SqlForms(login).holderCheck()) {
    case dbkit::HolderCheck::ServerLease:
        return row.holderGone;
    case dbkit::HolderCheck::LocalProcesses:
        return sqliteHolderGone(row, nowUtc);
    case dbkit::HolderCheck::Lease:
        break;
    }
    return leaseExpired(row, nowUtc);
}

} // namespace locks
