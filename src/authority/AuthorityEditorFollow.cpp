// The authority editor follows the rights other seats and windows change:
// the node's rights a batch of the change feed touched are read again and
// shown as they are stored now, once no cell is being edited.
#include "AuthorityEditor.h"

#include "services/DatabaseFailure.h"
#include "services/RightsQueries.h"
#include "suite/controls/SuperGrid.h"

#include <QApplication>

services::ChangeFeed::Following *FrmAuthority::following() const
{
    return m_follower ? &m_follower->following() : nullptr;
}

void FrmAuthority::startFollowing()
{
    m_follower = std::make_unique<RightsFollower>(
        m_account, [this] { return busyForChanges(); },
        [this](const TouchedRights &touched) { return showChanges(touched); });
}

bool FrmAuthority::busyForChanges() const
{
    const QWidget *modal = QApplication::activeModalWidget();
    return nodeLoading() || (modal && modal != this);
}

TouchedRights FrmAuthority::showChanges(const TouchedRights &touched)
{
    const RightsNode &shown = m_rows.node;
    // A root lists no rights.
    if (!m_loaded || shown.code.isEmpty())
        return {};
    TouchedRights kept;
    const bool read = services::guarded(
        [&] {
            QSet<long long> rights = touched.rights;
            for (const long long autoId : m_rows.rightsOnWarehouses(touched.warehouses))
                rights.insert(autoId);
            services::RightsFilter ofNode;
            if (shown.kind == services::NodeKind::Operator)
                ofNode.operatorCode = shown.code;
            else
                ofNode.warehouseCode = shown.code;
            services::RightsQueries queries(m_account.login());
            SuperGrid &grid = *m_widgets.grid;
            kept.rights = m_rows.takeStored(
                rights, queries.rightsByAutoIds({rights.begin(), rights.end()}, ofNode),
                grid.editor() ? grid.Row() : 0);
        },
        // The grid goes on with what it shows.
        [](const services::DatabaseFailure &) {});
    return read ? kept : touched;
}
