#include "OwnLoginRights.h"

#include "suite/dbkit/DbLogin.h"

namespace services {

OwnLoginRights::OwnLoginRights(const Account &account) : m_url(account.login().url()) {}

OwnLoginRights::~OwnLoginRights() = default;

std::vector<JoinedRight> OwnLoginRights::rightsOfNode(NodeKind node, const QString &code,
                                                      const std::function<bool()> &wanted)
{
    if (!m_login)
        m_login = dbkit::DbLogin::open(m_url);
    return RightsQueries(*m_login).rightsOfNode(node, code, wanted);
}

void OwnLoginRights::close()
{
    m_login.reset();
}

} // namespace services
