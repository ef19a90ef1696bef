#include "AuthorityData.h"

#include "AuthorityStatements.h"

void AuthorityData::open()
{
    // The rights are read per node when one is clicked.
    m_operators = m_login.OpenDataSet(authority::operatorSetStatement());
    m_warehouses = m_login.OpenDataSet(authority::warehouseSetStatement());
    m_classes = m_login.OpenDataSet(authority::classSetStatement());
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
        m_rights = m_login.OpenDataSet(
            authority::rightsOfNodeStatement(nodeKey.startsWith('c') ? 0 : 1, nodeKey.mid(1)));
}
