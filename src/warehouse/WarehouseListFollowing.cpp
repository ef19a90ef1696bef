#include "WarehouseListFollowing.h"

#include "services/ChangeHistory.h"
#include "services/DatabaseFailure.h"

void ChangedWarehouses::add(const services::ChangeFeed::Changes &changes)
{
    const services::HistoryTable &warehouses = services::warehouseHistory();
    for (const services::HistoryEntry &change : changes) {
        // Rights do not change the list.
        if (change.table != warehouses.name)
            continue;
        addCode(change.key);
        // A warehouse whose code changed is kept under its new code; the
        // row before names the old one, which the list may still show.
        if (!change.before)
            continue;
        const QString old = change.before->value(warehouses.keyColumn).toString();
        if (!old.isEmpty() && old != change.key) {
            addCode(old);
            renames.emplace_back(old, change.key);
        }
    }
}

void ChangedWarehouses::merge(const ChangedWarehouses &later)
{
    for (const QString &code : later.codes)
        addCode(code);
    renames.insert(renames.end(), later.renames.begin(), later.renames.end());
}

void ChangedWarehouses::addCode(const QString &code)
{
    if (!m_named.contains(code)) {
        m_named.insert(code);
        codes << code;
    }
}

void WarehouseListFollowing::start(const services::Account &account)
{
    if (m_following || !account)
        return;
    services::guarded(
        [&] {
            m_following = services::ChangeFeed::follow(
                account, [this](const services::ChangeFeed::Changes &changes) { take(changes); });
        },
        // A list that cannot follow still shows what it read; 刷新 reads again.
        [](const services::DatabaseFailure &) {});
}

void WarehouseListFollowing::stop()
{
    m_following.reset();
    m_kept = {};
}

void WarehouseListFollowing::take(const services::ChangeFeed::Changes &changes)
{
    m_kept.add(changes);
    showWhenFree();
}

void WarehouseListFollowing::showWhenFree()
{
    if (m_kept.empty() || !m_following || m_calls.busy())
        return;
    ChangedWarehouses changed = std::exchange(m_kept, {});
    if (!m_calls.show(changed)) {
        changed.merge(m_kept);
        m_kept = std::move(changed);
    }
}
