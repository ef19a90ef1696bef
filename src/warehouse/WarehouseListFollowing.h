#pragma once

// Other seats' changes to the warehouses, followed while the list is open so
// that it shows them without 刷新 (see services/ChangeFeed.h). The codes a
// batch names are kept until the window can take them: not while a command
// of the list runs (a dialog may be open over it), nor while the full read
// is under way; then the window reads those rows again and shows them as
// they are now. A code already shown that comes again changes nothing.

#include "services/Account.h"
#include "services/ChangeFeed.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

// The warehouses a run of changes names, each once, and the codes changed
// (old, new) so that a renamed warehouse keeps its row.
struct ChangedWarehouses {
    QStringList codes;
    std::vector<std::pair<QString, QString>> renames;

    bool empty() const { return codes.isEmpty(); }
    void add(const services::ChangeFeed::Changes &changes);
    // Adds what `later` names after what this names.
    void merge(const ChangedWarehouses &later);

private:
    void addCode(const QString &code);
    QSet<QString> m_named;
};

class WarehouseListFollowing {
public:
    // `busy`: the window cannot take changes now. `show`: shows the changed
    // warehouses; false when they could not be read (they are kept and
    // read again with the next changes).
    struct Calls {
        std::function<bool()> busy;
        std::function<bool(const ChangedWarehouses &)> show;
    };
    explicit WarehouseListFollowing(Calls calls) : m_calls(std::move(calls)) {}

    // Follows the account's changes from now on, unless it already does.
    // A window calls it before it reads its rows, so none is missed.
    void start(const services::Account &account);
    // Stops following and forgets what was kept (the window closes).
    void stop();
    // The following, for a test to ask at once; null while not following.
    services::ChangeFeed::Following *following() const { return m_following.get(); }
    // Shows what was kept, unless the window is still busy.
    void showWhenFree();

private:
    void take(const services::ChangeFeed::Changes &changes);

    Calls m_calls;
    std::unique_ptr<services::ChangeFeed::Following> m_following;
    ChangedWarehouses m_kept;
};
