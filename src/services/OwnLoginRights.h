#pragma once

#include "Account.h"
#include "NodeKind.h"
#include "RightsQueries.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace services {

// Reads the rights of operators and warehouses on a login of its own, to
// the database of an account, for a thread other than the account's. The
// reader is made on any thread (it only takes the account's URL); its login
// is opened by the first read and must then be read on and closed on that
// same thread.
class OwnLoginRights {
public:
    explicit OwnLoginRights(const Account &account);
    ~OwnLoginRights();
    OwnLoginRights(const OwnLoginRights &) = delete;
    OwnLoginRights &operator=(const OwnLoginRights &) = delete;

    // RightsQueries::rightsOfNode on the own login, opened first when it is
    // not open yet (again after a failed opening). Throws dbkit::DbError.
    std::vector<JoinedRight> rightsOfNode(NodeKind node, const QString &code,
                                          const std::function<bool()> &wanted);
    // Closes the login, if open.
    void close();

private:
    QString m_url;
    std::shared_ptr<dbkit::DbLogin> m_login;
};

} // namespace services
