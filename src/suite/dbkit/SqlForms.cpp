#include "SqlForms.h"

#include "DbLogin.h"
#include "SqlDialect.h"

#include <QSqlDriver>
#include <QSqlQuery>

namespace dbkit {

QString SqlForms::lengthFunction() const
{
    return m_login.dialect().lengthFunction();
}

QString SqlForms::substringFunction() const
{
    return m_login.dialect().substringFunction();
}

QString SqlForms::firstRows(const QString &select, int rows) const
{
    return m_login.dialect().firstRows(select, rows);
}

QString SqlForms::utcNow() const
{
    return m_login.dialect().utcNow();
}

QString SqlForms::timeAsText(const QString &column) const
{
    return m_login.dialect().timeAsText(column);
}

QString SqlForms::lockingReadSuffix() const
{
    return m_login.dialect().lockingReadSuffix();
}

void SqlForms::holdTransactionLock(const QVariantList &keys) const
{
    const QString statement = m_login.dialect().transactionLockStatement(int(keys.size()));
    if (!statement.isEmpty())
        m_login.executeBound(statement, keys);
}

bool SqlForms::decimalsAsDouble() const
{
    return m_login.dialect().decimalsAsDouble();
}

bool SqlForms::decimalsCompareExactly() const
{
    return m_login.dialect().decimalsCompareExactly();
}

bool SqlForms::timeFromClient() const
{
    return m_login.dialect().timeFromClient();
}

bool SqlForms::tableExists(const QString &table) const
{
    return m_login.dialect().tableInfo(m_login.database(), table).exists;
}

QStringList SqlForms::tableColumns(const QString &table) const
{
    return m_login.dialect().tableInfo(m_login.database(), table).columns;
}

QString SqlForms::textType(int width) const
{
    return m_login.dialect().textType(width);
}

QString SqlForms::timeType() const
{
    return m_login.dialect().timeType();
}

QString SqlForms::createTableIfMissing(const QString &table, const QString &columns) const
{
    return m_login.dialect().createTableIfMissing(table, columns);
}

QString SqlForms::addColumn(const QString &table, const QString &column,
                            const QString &type) const
{
    return m_login.dialect().addColumn(table, column, type);
}

QString SqlForms::schemaFolder() const
{
    return m_login.dialect().schemaFolder();
}

bool SqlForms::makesAccountSchema() const
{
    return m_login.dialect().makesAccountSchema();
}

void SqlForms::runScriptStatement(const QString &statement) const
{
    QSqlQuery query(m_login.database());
    if (!query.exec(statement))
        throw m_login.dialect().toError(query.lastError(), statement, false);
}

HolderCheck SqlForms::holderCheck() const
{
    return m_login.dialect().holderCheck();
}

QString SqlForms::lockHolderGone() const
{
    return m_login.dialect().lockHolderGone();
}

void SqlForms::refreshSessions() const
{
    const QString statement = m_login.dialect().refreshSessionsStatement();
    if (!statement.isEmpty())
        m_login.OpenDataSet(statement, OpenMode::ReadOnly);
}

const QObject *SqlForms::connectionObject() const
{
    return m_login.database().driver();
}

QString SqlForms::criteriaLiteral(const QString &text)
{
    return QLatin1Char('\'') + quoted(text) + QLatin1Char('\'');
}

} // namespace dbkit
