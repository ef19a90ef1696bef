// The authority editor's node click: the node is shown at once, its rights
// when NodeRightsLoader hands them to the window's thread.
#include "AuthorityEditor.h"

#include "AuthorityTree.h"
#include "suite/controls/SuperGrid.h"

#include <QEventLoop>
#include <QScopeGuard>

void FrmAuthority::NodeClick(QTreeWidgetItem *clicked)
{
    // Whatever happens here, a caller waiting for the node learns when no
    // load follows.
    const auto settled = qScopeGuard([this] {
        if (!nodeLoading())
            emit nodeLoadEnded();
    });
    if (!clicked || !m_loaded)
        return;
    // A row that crosses a stored right keeps the previous node's grid.
    if (!trap([this] { return m_rows.fitsStored(m_rows.curRow); }))
        return;
    const QString key = authoritytree::keyOf(*clicked);
    const QString code = key.mid(1);
    m_rightToMakeCurrent.reset();
    endNodeLoad();
    enableCommand(QStringLiteral("delbut"), false);
    enableCommand(QStringLiteral("addbut"), false);
    // The grid shows the clicked node alone from now on, never a row of the
    // previous one; a root has no rights of its own.
    m_rows.showNode({authoritytree::kindOfKey(key), code, authoritytree::nameOf(*clicked, code)},
                    {});
    if (key.size() > 1) {
        m_nodeLoad = m_loader->load(m_rows.node.kind, code);
        m_widgets.grid->setCursor(Qt::BusyCursor);
    }
}

void FrmAuthority::showLoadedNode(const NodeRightsLoader::Result &loaded)
{
    if (!m_loaded || loaded.load != m_nodeLoad)
        return;
    endNodeLoad();
    if (loaded.failure) {
        // The node stays shown without rows and add stays disabled: a new
        // right could not be checked against rights never read. Another
        // click reads them again.
        tellFailure(*loaded.failure);
    } else {
        enableCommand(QStringLiteral("addbut"), true);
        m_rows.showNode(m_rows.node, loaded.rights);
        if (m_rightToMakeCurrent)
            m_rows.makeCurrent(*m_rightToMakeCurrent);
    }
    m_rightToMakeCurrent.reset();
    emit nodeLoadEnded();
}

void FrmAuthority::endNodeLoad()
{
    if (m_nodeLoad == 0)
        return;
    m_nodeLoad = 0;
    m_loader->cancel();
    m_widgets.grid->unsetCursor();
}

bool FrmAuthority::nodeLoading() const
{
    return m_nodeLoad != 0 || m_widgets.tree->choicePending();
}

void FrmAuthority::waitForNode()
{
    QEventLoop loop;
    connect(this, &FrmAuthority::nodeLoadEnded, &loop, &QEventLoop::quit);
    while (nodeLoading())
        loop.exec();
}
