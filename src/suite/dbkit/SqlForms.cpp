#include "SqlForms.h"

#include "DbLogin.h"
#include "SqlDialect.h"
#include "internal/LoginAccess.h"

#include <QSqlDriver>
#include <QSqlQuery>

namespace dbkit {

QString SqlForms::lengthFunction() const
{
    return LoginAccess::dialect(m_login).lengthFunction();
}

QString SqlForms::substringFunction() const
{
    return LoginAccess::dialect(m_login).substringFunction();
}

QString SqlForms::firstRows(const QString &select, int rows) const
{
    return LoginAccess::dialect(m_login).firstRows(select, rows);
}

QString SqlForms::utcNow() const
{
    return LoginAccess::dialect(m_login).utcNow();
}

QString SqlForms::timeAsText(const QString &column) const
{
    return LoginAccess::dialect(m_login).timeAsText(column);
}

QString SqlForms::lockingReadSuffix() const
{
    return LoginAccess::dialect(m_login).lockingReadSuffix();
}

void SqlForms::holdTransactionLock(const QVariantList &keys) const
{
    const QString statement =
        LoginAccess::dialect(m_login).transactionLockStatement(int(keys.size()));
    if (!statement.isEmpty())
        m_login.executeBound(statement, keys);
}

bool SqlForms::decimalsAsDouble() const
{
    return LoginAccess::dialect(m_login).decimalsAsDouble();
}

bool SqlForms::decimalsCompareExactly() const
{
    return LoginAccess::dialect(m_login).decimalsCompareExactly();
}

bool SqlForms::timeFromClient() const
{
    return LoginAccess::dialect(m_login).timeFromClient();
}

bool SqlForms::tableExists(const QString &table) const
{
    return LoginAccess::dialect(m_login).tableInfo(LoginAccess::database(m_login), table).exists;
}

QStringList SqlForms::tableColumns(const QString &table) const
{
    return LoginAccess::dialect(m_login).tableInfo(LoginAccess::database(m_login), table).columns;
}

QString SqlForms::textType(int width) const
{
    return LoginAccess::dialect(m_login).textType(width);
}

QString SqlForms::timeType() const
{
    return LoginAccess::dialect(m_login).timeType();
}

QString SqlForms::createTableIfMissing(const QString &table, const QString &columns) const
{
    return LoginAccess::dialect(m_login).createTableIfMissing(table, columns);
}

QString SqlForms::addColumn(const QString &table, const QString &column, const QString &type) const
{
    return LoginAccess::dialect(m_login).addColumn(table, column, type);
}

QString SqlForms::schemaFolder() const
{
    return LoginAccess::dialect(m_login).schemaFolder();
}

bool SqlForms::makesAccountSchema() const
{
    return LoginAccess::dialect(m_login).makesAccountSchema();
}

void SqlForms::runScriptStatement(const QString &statement) const
{
    QSqlQuery query(LoginAccess::database(m_login));
    if (!query.exec(statement))
        throw LoginAccess::dialect(m_login).toError(query.lastError(), statement, false);
}

void SqlForms::createMissingTable(const QString &table, const std::function<void()> &create) const
{
    try {
        TransactionGuard unit(m_login);
        create();
        unit.commit();
    } catch (const DbError &error) {
        // Two logins may make it at once: the one that lost finds it made.
        if (tableExists(table))
            return;
        if (error.number() != ErrorNumber::General)
            throw;
        throw DbError(ErrorNumber::General,
                      QStringLiteral("账套缺少数据表 %1，请由系统管理员初始化账套。\n").arg(table)
                          + error.description(),
                      error.nativeCode(), error.statement());
    }
}

HolderCheck SqlForms::holderCheck() const
{
    return LoginAccess::dialect(m_login).holderCheck();
}

QString SqlForms::lockHolderGone() const
{
    return LoginAccess::dialect(m_login).lockHolderGone();
}

QString SqlForms::serverTimeAfter() const
{
    return LoginAccess::dialect(m_login).serverTimeAfter();
}

QString SqlForms::skippingLockedSuffix() const
{
    return LoginAccess::dialect(m_login).skippingLockedSuffix();
}

const QObject *SqlForms::connectionObject() const
{
    return LoginAccess::database(m_login).driver();
}

QString SqlForms::criteriaLiteral(const QString &text)
{
    return QLatin1Char('\'') + quoted(text) + QLatin1Char('\'');
}

} // namespace dbkit
