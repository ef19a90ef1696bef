#include "AuthorityData.h"

void AuthorityData::open()
{
    // The rights are read per node when one is clicked.
    m_operators = m_queries.operatorSet();
    m_warehouses = m_queries.warehouseSet();
    m_classes = m_queries.classSet();
}

void AuthorityData::close()
{
    m_rights.reset();
    m_operators.reset();
    m_warehouses.reset();
    m_classes.reset();
}

void AuthorityData::loadNode(const QString &nodeKey)
{
    m_rights.reset();
    if (nodeKey.size() > 1)
        m_rights = m_queries.rightsOfNode(nodeKey.startsWith('c') ? 0 : 1, nodeKey.mid(1));
}
