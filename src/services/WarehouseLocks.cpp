#include "WarehouseLocks.h"

#include "suite/locks/LockVouchDLL.h"

#include <QVariantList>

namespace services {

namespace {

const QString LockKind = QStringLiteral("BJ");

} // namespace

WarehouseLocks::WarehouseLocks(dbkit::DbLogin &login, LockVouchDLL &locks,
                               const QString &computer)
    : m_login(login), m_locks(locks), m_computer(computer)
{
}

bool WarehouseLocks::lock(const QString &code)
{
    return m_locks.LockRecords(m_login, LockKind, QStringLiteral("AA"), QStringLiteral("a"),
                               m_computer, QVariantList{code});
}

void WarehouseLocks::unlock(const QString &code)
{
    if (!code.isEmpty())
        m_locks.UnlockRecords(m_login, LockKind, QVariantList{code});
}

bool WarehouseLocks::holds(const QString &code)
{
    return m_locks.HoldsRecords(m_login, LockKind, QVariantList{code});
}

bool WarehouseLocks::retryReleases()
{
    return m_locks.RetryReleases(m_login);
}

bool WarehouseLocks::hasPendingReleases() const
{
    return m_locks.HasPendingReleases();
}

std::optional<LockHolder> WarehouseLocks::holder(const QString &code)
{
    const std::optional<locks::LockRow> row = m_locks.Holder(m_login, LockKind, code);
    if (!row)
        return std::nullopt;
    return LockHolder{row->operatorName, row->computer};
}

} // namespace services
