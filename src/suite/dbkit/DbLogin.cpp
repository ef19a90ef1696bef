#include "DbLogin.h"

#include "internal/DbDataSetImpl.h"
#include "internal/DbLoginImpl.h"
#include "internal/LoginAccess.h"
#include "internal/SendableText.h"

#include <atomic>

namespace dbkit {

namespace {

std::atomic<int> directLoadingState{-1};  // -1: not yet read from the environment

} // namespace

DbLogin::DbLogin() : d(std::make_unique<Impl>()) {}

DbLogin::~DbLogin()
{
    std::vector<std::function<void()>> closed = std::move(d->whenClosed);
    d.reset();
    for (const std::function<void()> &done : closed)
        done();
}

void DbLogin::whenClosed(std::function<void()> done)
{
    d->whenClosed.push_back(std::move(done));
}

std::shared_ptr<DbLogin> DbLogin::open(const QString &url)
{
    std::shared_ptr<DbLogin> login(new DbLogin);
    Impl &parts = *login->d;
    parts.identity = SessionIdentity::fromUrl(url);
    parts.connection.open(url, sessionApplicationName(parts.identity.sessionToken));
    return login;
}

void DbLogin::setStatementTimeout(int milliseconds)
{
    d->connection.setStatementTimeout(milliseconds);
    // On libpq every transaction and statement sets it for itself; through
    // ODBC it holds for the session.
    if (d->connection.engine() == Engine::PostgreSQL && d->connection.throughOdbc())
        Execute(QStringLiteral("SET statement_timeout = %1").arg(milliseconds));
}

void DbLogin::setDirectLoading(bool enabled)
{
    directLoadingState = enabled ? 1 : 0;
}

bool DbLogin::directLoading()
{
    if (directLoadingState < 0)
        directLoadingState = qEnvironmentVariable("DEPOTBASE_KIT_QT_DRIVER") == "1" ? 0 : 1;
    return directLoadingState == 1;
}

DbDataSetPtr DbLogin::OpenDataSet(const QString &sql, int mode)
{
    return OpenDataSet(sql, QVariantList(), mode);
}

DbDataSetPtr DbLogin::OpenDataSet(const QString &sql, const QVariantList &values, int mode)
{
    refuseUnsendableValues(values, sql);
    auto impl = std::make_unique<DbDataSet::Impl>(*this, sql, mode);
    impl->values = values;
    impl->keepAlive = shared_from_this();
    DbDataSetPtr set(new DbDataSet(std::move(impl)));
    set->Requery();
    return set;
}

void DbLogin::Execute(const QString &sql) { d->statements.execute(sql); }

int DbLogin::executeBound(const QString &sql, const QVariantList &values)
{
    return d->statements.executeBound(sql, values);
}

void DbLogin::BeginTrans() { d->statements.begin(); }
void DbLogin::RollbackTrans() { d->statements.rollback(); }
void DbLogin::CommitTrans() { d->statements.commit(); }
bool DbLogin::inTransaction() const { return d->connection.inTransaction(); }
Engine DbLogin::engine() const { return d->connection.engine(); }
bool DbLogin::throughOdbc() const { return d->connection.throughOdbc(); }
QString DbLogin::connectionId() const { return d->connection.connectionId(); }

QString DbLogin::url() const { return d->identity.url; }
QString DbLogin::operatorName() const { return d->identity.operatorName; }
QString DbLogin::computerName() const { return d->identity.computerName; }
QString DbLogin::sessionToken() const { return d->identity.sessionToken; }

QString DbLogin::databaseUrl(const QString &url)
{
    return SessionIdentity::databaseUrl(url);
}

QString DbLogin::withOperator(const QString &url, const QString &name)
{
    return SessionIdentity::withOperator(url, name);
}

QString DbLogin::sessionApplicationName(const QString &token)
{
    return SessionIdentity::applicationName(token);
}

Connection &LoginAccess::connection(DbLogin &login) { return login.d->connection; }
ErrorMapping &LoginAccess::errors(DbLogin &login) { return login.d->errors; }
const SqlDialect &LoginAccess::dialect(const DbLogin &login)
{
    return login.d->connection.dialect();
}
QSqlDatabase &LoginAccess::database(DbLogin &login) { return login.d->connection.database(); }

const TableInfo &LoginAccess::tableInfo(DbLogin &login, const QString &table)
{
    return login.d->catalogue.tableInfo(login.d->connection, table);
}

QString quoted(const QString &value)
{
    return QString(value).replace('\'', QLatin1String("''"));
}

} // namespace dbkit
