#pragma once

#include "services/Account.h"
#include "services/RightsQueries.h"

#include <QString>
#include <vector>

// What the authority editor shows from the database: the operators,
// warehouses and classes its tree and drop-downs offer, and the rights of
// the selected node, all read through the rights queries.
class AuthorityData {
public:
    explicit AuthorityData(const services::Account &account) : m_queries(account.login()) {}

    void open();
    void close();
    // Reads the rights of the node with this tree key (a root has none of
    // its own).
    void loadNode(const QString &nodeKey);
    // The selected node's rights; none for a root.
    const std::vector<services::JoinedRight> &nodeRights() const { return m_rights; }

    const std::vector<services::CodeAndName> &operators() const { return m_operators; }
    const std::vector<services::CodeAndName> &warehouses() const { return m_warehouses; }
    const std::vector<services::CodeAndName> &classes() const { return m_classes; }

private:
    services::RightsQueries m_queries;
    std::vector<services::JoinedRight> m_rights;
    std::vector<services::CodeAndName> m_operators;
    std::vector<services::CodeAndName> m_warehouses;
    std::vector<services::CodeAndName> m_classes;
};
