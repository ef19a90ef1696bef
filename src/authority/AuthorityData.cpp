#include "AuthorityData.h"

#include "AuthorityTree.h"

void AuthorityData::open()
{
    // The rights are read per node when one is clicked.
    m_operators = m_queries.operators();
    m_warehouses = m_queries.warehouses();
    m_classes = m_queries.classes();
}

void AuthorityData::close()
{
    m_rights.clear();
    m_operators.clear();
    m_warehouses.clear();
    m_classes.clear();
}

void AuthorityData::loadNode(const QString &nodeKey)
{
    m_rights.clear();
    if (nodeKey.size() > 1)
        m_rights = m_queries.rightsOfNode(authoritytree::kindOfKey(nodeKey), nodeKey.mid(1));
}
