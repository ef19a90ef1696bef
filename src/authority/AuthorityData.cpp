#include "AuthorityData.h"

void AuthorityData::open()
{
    // The rights are read per node when one is clicked.
    m_operators = m_queries.operators();
    m_warehouses = m_queries.warehouses();
    m_classes = m_queries.classes();
}

void AuthorityData::close()
{
    m_operators.clear();
    m_warehouses.clear();
    m_classes.clear();
}
