#include "DbLogin.h"

#include "DbDataSetImpl.h"
#include "DbLoginImpl.h"
#include "TableCatalog.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QUrl>
#include <QUrlQuery>

namespace dbkit {

namespace {

QAtomicInt loginCounter;

QString osUserName()
{
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("LOGNAME");
    return name.isEmpty() ? QStringLiteral("operator") : name;
}

bool isIdentityQuery(const QString &query)
{
    const QUrlQuery items(query);
    if (query.isEmpty() || items.isEmpty())
        return false;
    for (const auto &item : items.queryItems()) {
        if (item.first != QLatin1String("operator") && item.first != QLatin1String("computer"))
            return false;
    }
    return true;
}

[[noreturn]] void failOpen(const QString &url, const QString &why)
{
    throw DbError(ErrorNumber::ConnectionFailed,
                  QStringLiteral("cannot open the account database %1: %2").arg(url, why));
}

// Runs a set-up statement; a failure means the connection is unusable.
void setUp(QSqlDatabase &db, const QString &url, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        failOpen(url, q.lastError().text());
}

QString openSqlite(QSqlDatabase &db, const QString &name, const QString &path,
                   const QString &url)
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    // Never wait for ever on another operator: a short busy timeout, then 3260/3261.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!QFileInfo(path).absoluteDir().exists())
        failOpen(url, QStringLiteral("no folder for %1").arg(path));
    if (!db.open())
        failOpen(url, db.lastError().text());
    setUp(db, url, QStringLiteral("PRAGMA foreign_keys=ON"));
    // The suite's system database is a sibling file, attached (and created
    // on first use) under the name the statements use.
    const QString system = QFileInfo(path).absoluteDir().filePath(QStringLiteral("lxsystem.db"));
    QSqlQuery attach(db);
    attach.prepare(QStringLiteral("ATTACH DATABASE ? AS lxsystem"));
    attach.addBindValue(system);
    if (!attach.exec())
        failOpen(url, attach.lastError().text());
    return QStringLiteral("%1:%2:%3")
                         .arg(QSysInfo::machineHostName())
                         .arg(QCoreApplication::applicationPid())
                         .arg(loginCounter.fetchAndAddRelaxed(1) + 1);
}

QString openPostgres(QSqlDatabase &db, const QString &name, const QUrl &parsed,
                     const QString &url)
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(parsed.host());
    db.setPort(parsed.port(5432));
    db.setUserName(parsed.userName());
    db.setPassword(parsed.password());
    db.setDatabaseName(parsed.path().mid(1));
    db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    if (!db.open())
        failOpen(url, db.lastError().text());
    setUp(db, url, QStringLiteral("SET client_encoding = 'UTF8'"));
    setUp(db, url, QStringLiteral("SET lock_timeout = '2s'"));
    // System tables live in schema lxsystem; make sure it is there.
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT 1 FROM pg_namespace WHERE nspname = 'lxsystem'")) && !q.next())
        q.exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS lxsystem"));
    QSqlQuery pid(db);
    if (pid.exec(QStringLiteral("SELECT pg_backend_pid()")) && pid.next())
        return QStringLiteral("pg:%1").arg(pid.value(0).toString());
    failOpen(url, pid.lastError().text());
}

QString openOdbc(QSqlDatabase &db, const QString &name, const QString &connection,
                 const QString &url)
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    db.setDatabaseName(connection);
    if (!db.open())
        failOpen(url, db.lastError().text());
    // SQL Server: a lock wait ends after 2 s with error 1222.
    QSqlQuery q(db);
    q.exec(QStringLiteral("SET LOCK_TIMEOUT 2000"));
    QSqlQuery spid(db);
    if (spid.exec(QStringLiteral("SELECT @@SPID")) && spid.next())
        return QStringLiteral("odbc:%1").arg(spid.value(0).toString());
    return QStringLiteral("odbc:%1:%2").arg(QCoreApplication::applicationPid())
                             .arg(loginCounter.fetchAndAddRelaxed(1) + 1);
}

} // namespace

DbLogin::DbLogin() : d(std::make_unique<Impl>()) {}

DbLogin::~DbLogin()
{
    const QString name = d->connectionName;
    if (d->db.isOpen() && inTransaction())
        d->db.rollback();
    d->db.close();
    d->db = QSqlDatabase();
    if (!name.isEmpty())
        QSqlDatabase::removeDatabase(name);
}

std::shared_ptr<DbLogin> DbLogin::open(const QString &url)
{
    std::shared_ptr<DbLogin> login(new DbLogin);
    Impl &d = *login->d;
    d.url = url;
    d.connectionName = QStringLiteral("dbkit-%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(loginCounter.fetchAndAddRelaxed(1) + 1);

    // Identity items may follow any URL: ?operator=NAME&computer=NAME. Only
    // a last "?" followed by such items starts them, so a file name holding
    // "?" or "#" is taken whole.
    QString base = url;
    QUrlQuery items;
    if (const int q = url.lastIndexOf('?'); q >= 0 && isIdentityQuery(url.mid(q + 1))) {
        base = url.left(q);
        items = QUrlQuery(url.mid(q + 1));
    }
    d.operatorName = items.hasQueryItem(QStringLiteral("operator"))
                         ? items.queryItemValue(QStringLiteral("operator"), QUrl::FullyDecoded)
                         : osUserName();
    d.computerName = items.hasQueryItem(QStringLiteral("computer"))
                         ? items.queryItemValue(QStringLiteral("computer"), QUrl::FullyDecoded)
                         : QSysInfo::machineHostName();

    if (base.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
        d.engine = Engine::SQLite;
        d.connectionId = openSqlite(d.db, d.connectionName, base.mid(7), url);
    } else if (base.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
               || base.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive)) {
        d.engine = Engine::PostgreSQL;
        d.connectionId = openPostgres(d.db, d.connectionName, QUrl(base), url);
    } else if (base.startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive)) {
        // The connection string is taken whole: it may itself hold '?'.
        d.engine = Engine::ODBC;
        d.connectionId = openOdbc(d.db, d.connectionName, url.mid(5), url);
    } else {
        failOpen(url, QStringLiteral("unknown kind of database URL"));
    }
    d.dialect = SqlDialect::create(d.engine);
    return login;
}

DbDataSetPtr DbLogin::OpenDataSet(const QString &sql, int mode)
{
    auto impl = std::make_unique<DbDataSet::Impl>(*this, sql, mode);
    impl->keepAlive = shared_from_this();
    DbDataSetPtr set(new DbDataSet(std::move(impl)));
    set->Requery();
    return set;
}

void DbLogin::Execute(const QString &sql)
{
    const QString statement = d->dialect->rewrite(sql);
    QSqlQuery q(d->db);
    q.setForwardOnly(true);
    if (!q.exec(statement))
        throw d->dialect->toError(q.lastError(), sql, isReadingStatement(statement));
}

int DbLogin::executeBound(const QString &sql, const QVariantList &values)
{
    const QString statement = d->dialect->rewrite(sql);
    QSqlQuery q(d->db);
    q.setForwardOnly(true);
    if (!q.prepare(statement))
        throw d->dialect->toError(q.lastError(), sql, isReadingStatement(statement));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw d->dialect->toError(q.lastError(), sql, isReadingStatement(statement));
    return q.numRowsAffected();
}

void DbLogin::BeginTrans()
{
    if (!d->db.transaction())
        throw d->dialect->toError(d->db.lastError(), QStringLiteral("BEGIN"), false);
    d->inTransaction = true;
}

void DbLogin::RollbackTrans()
{
    d->inTransaction = false;
    if (!d->db.rollback())
        throw d->dialect->toError(d->db.lastError(), QStringLiteral("ROLLBACK"), false);
}

void DbLogin::CommitTrans()
{
    if (!d->db.commit())
        throw d->dialect->toError(d->db.lastError(), QStringLiteral("COMMIT"), false);
    d->inTransaction = false;
}

bool DbLogin::inTransaction() const
{
    return d->inTransaction;
}

Engine DbLogin::engine() const { return d->engine; }
const SqlDialect &DbLogin::dialect() const { return *d->dialect; }
QString DbLogin::url() const { return d->url; }
QString DbLogin::operatorName() const { return d->operatorName; }
QString DbLogin::computerName() const { return d->computerName; }
QString DbLogin::connectionId() const { return d->connectionId; }
QSqlDatabase &DbLogin::database() { return d->db; }

QString quoted(const QString &value)
{
    return QString(value).replace('\'', QLatin1String("''"));
}

} // namespace dbkit
