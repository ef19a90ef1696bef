#include "DbLogin.h"

#include "DbError.h"
#include "SqlDialect.h"
#include "internal/Connection.h"
#include "internal/LoginAccess.h"

#include <QtGlobal>
#include <atomic>

namespace dbkit {

namespace {

// Savepoint names unique in the process, so nested guards never share one.
QString nextSavepointName()
{
    static std::atomic<unsigned> counter{0};
    return QStringLiteral("dbkit_guard_%1").arg(++counter);
}

// Runs a statement of the dialect's; an empty one means the engine has
// nothing to do there.
void runIfAny(DbLogin &login, const QString &statement)
{
    if (!statement.isEmpty())
        login.Execute(statement);
}

} // namespace

TransactionGuard::TransactionGuard(DbLogin &login) : m_login(login)
{
    if (m_login.inTransaction()) {
        m_savepoint = nextSavepointName();
        m_login.Execute(LoginAccess::dialect(m_login).savepointStatement(m_savepoint));
    } else {
        m_login.BeginTrans();
    }
}

TransactionGuard::~TransactionGuard()
{
    if (!m_open)
        return;
    try {
        rollback();
    } catch (const DbError &error) {
        // Nothing more can be undone here; the connection reports it next time.
        qWarning("transaction: rollback failed: %s", qPrintable(error.description()));
    } catch (...) {
    }
}

void TransactionGuard::commit()
{
    if (nested())
        runIfAny(m_login, LoginAccess::dialect(m_login).releaseSavepointStatement(m_savepoint));
    else
        m_login.CommitTrans();
    m_open = false;
}

void TransactionGuard::rollback()
{
    m_open = false;
    if (!nested()) {
        m_login.RollbackTrans();
        return;
    }
    // Back to the savepoint, which also clears an error state of the enclosing
    // transaction on PostgreSQL; then drop the savepoint itself.
    const SqlDialect &dialect = LoginAccess::dialect(m_login);
    m_login.Execute(dialect.rollbackToSavepointStatement(m_savepoint));
    LoginAccess::connection(m_login).freeFailed();
    runIfAny(m_login, dialect.releaseSavepointStatement(m_savepoint));
}

} // namespace dbkit
