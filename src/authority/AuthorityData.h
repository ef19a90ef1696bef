#pragma once

#include "services/RightsQueries.h"

#include <QString>

// What the authority editor shows from the database: the operators,
// warehouses and classes its tree and drop-downs offer, and the rights of
// the selected node, all read through the rights queries.
class AuthorityData {
public:
    explicit AuthorityData(dbkit::DbLogin &login) : m_queries(login) {}

    void open();
    void close();
    // Reads the rights of the node with this tree key (a root has none of
    // its own).
    void loadNode(const QString &nodeKey);
    // The selected node's rights; nullptr for a root.
    dbkit::DbDataSet *nodeRights() const { return m_rights.get(); }

    dbkit::DbDataSet &operators() const { return *m_operators; }
    dbkit::DbDataSet &warehouses() const { return *m_warehouses; }
    dbkit::DbDataSet &classes() const { return *m_classes; }

private:
    services::RightsQueries m_queries;
    dbkit::DbDataSetPtr m_rights;
    dbkit::DbDataSetPtr m_operators;
    dbkit::DbDataSetPtr m_warehouses;
    dbkit::DbDataSetPtr m_classes;
};
