#pragma once

#include <memory>
#include <utility>

namespace dbkit {
class DbLogin;
}

namespace services {

// The host's login as a window keeps it: the window hands it to the services
// it uses and never reaches the database through it itself. A window sees
// only this handle; the login's operations belong to the services.
class Account {
public:
    Account() = default;
    // Not explicit: the host's login is the account, wherever one is set.
    Account(std::shared_ptr<dbkit::DbLogin> login) : m_login(std::move(login)) {}

    // For the services a window makes on this account.
    dbkit::DbLogin &login() const { return *m_login; }
    const std::shared_ptr<dbkit::DbLogin> &shared() const { return m_login; }
    explicit operator bool() const { return bool(m_login); }
    bool operator==(const Account &other) const { return m_login == other.m_login; }

private:
    std::shared_ptr<dbkit::DbLogin> m_login;
};

} // namespace services
