#pragma once

#include "services/Account.h"
#include "services/RightsQueries.h"

#include <QString>
#include <vector>

// What the authority editor shows from the database on the window's login:
// the operators, warehouses and classes its tree and drop-downs offer, read
// through the rights queries. A node's rights are read by NodeRightsLoader.
class AuthorityData {
public:
    explicit AuthorityData(const services::Account &account) : m_queries(account.login()) {}

    void open();
    void close();
    const std::vector<services::CodeAndName> &operators() const { return m_operators; }
    const std::vector<services::CodeAndName> &warehouses() const { return m_warehouses; }
    const std::vector<services::CodeAndName> &classes() const { return m_classes; }

private:
    services::RightsQueries m_queries;
    std::vector<services::CodeAndName> m_operators;
    std::vector<services::CodeAndName> m_warehouses;
    std::vector<services::CodeAndName> m_classes;
};
