#pragma once

#include "suite/dbkit/DbLogin.h"

// Rolls the login's transaction back unless commit() was reached, so a failure
// half-way leaves nothing behind.
class TransactionGuard {
public:
    explicit TransactionGuard(dbkit::DbLogin &login) : m_login(login) { m_login.BeginTrans(); }
    ~TransactionGuard()
    {
        if (m_open) {
            try {
                m_login.RollbackTrans();
            } catch (...) {
                // The failure that brought us here is the one worth reporting.
            }
        }
    }
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;

    void commit()
    {
        m_login.CommitTrans();
        m_open = false;
    }

private:
    dbkit::DbLogin &m_login;
    bool m_open = true;
};
