#pragma once

#include "services/Account.h"
#include "services/ChangeFeed.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

// What the changes of one batch (or of several kept while the window was
// busy) touched that a window of rights shows: rights by Auto_id, and
// warehouses by code, whose names show beside their rights.
struct TouchedRights {
    QSet<long long> rights;
    QSet<QString> warehouses;

    bool empty() const { return rights.isEmpty() && warehouses.isEmpty(); }
    void add(const TouchedRights &more);
};

// A rights window's following of the change feed, from its load to its
// unload. Each batch of changes (another seat's, or another window's of this
// seat) is handed to `apply` as what it touched; while the window is busy
// (a dialog over it, a read going on) the batches are kept and handed on
// together once it is free. `apply` re-reads what was touched and shows it as
// it is now, so a change handed on twice changes nothing. It hands back what
// it left for later (a row the user is editing, or everything when the
// re-read failed), which is offered again a moment later.
class RightsFollower : public QObject {
public:
    using Busy = std::function<bool()>;
    using Apply = std::function<TouchedRights(const TouchedRights &)>;

    // Starts following; the window reads its rows after this.
    RightsFollower(const services::Account &account, Busy busy, Apply apply);
    ~RightsFollower() override;

    // The feed followed (tests ask it at once instead of waiting a second).
    services::ChangeFeed::Following &following() { return *m_following; }

private:
    void take(const services::ChangeFeed::Changes &changes);
    void applyWhenFree();

    Busy m_busy;
    Apply m_apply;
    TouchedRights m_pending;
    // While something is kept: offers it again a moment later.
    QTimer m_retry;
    std::unique_ptr<services::ChangeFeed::Following> m_following;
};
