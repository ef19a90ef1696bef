#include "RightsFollower.h"

#include "services/ChangeHistory.h"

#include <utility>

namespace {

// How long kept changes wait before they are offered again: as long as the
// feed waits between two questions.
constexpr int retryMs = services::ChangeFeed::pollInterval;

} // namespace

void TouchedRights::add(const TouchedRights &more)
{
    rights.unite(more.rights);
    warehouses.unite(more.warehouses);
}

RightsFollower::RightsFollower(const services::Account &account, Busy busy, Apply apply)
    : m_busy(std::move(busy)), m_apply(std::move(apply))
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(retryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { applyWhenFree(); });
    m_following = services::ChangeFeed::follow(
        account, [this](const services::ChangeFeed::Changes &changes) { take(changes); });
}

RightsFollower::~RightsFollower() = default;

void RightsFollower::take(const services::ChangeFeed::Changes &changes)
{
    const QString rights = services::rightHistory().name;
    const QString warehouses = services::warehouseHistory().name;
    for (const services::HistoryEntry &change : changes) {
        if (change.table == rights)
            m_pending.rights.insert(change.key.toLongLong());
        else if (change.table == warehouses)
            m_pending.warehouses.insert(change.key);
    }
    applyWhenFree();
}

void RightsFollower::applyWhenFree()
{
    if (m_pending.empty())
        return;
    if (m_busy()) {
        m_retry.start();
        return;
    }
    const TouchedRights kept = m_apply(std::exchange(m_pending, {}));
    if (!kept.empty()) {
        m_pending.add(kept);
        m_retry.start();
    }
}
