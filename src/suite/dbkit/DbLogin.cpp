#include "DbLogin.h"

#include "DbDataSetImpl.h"
#include "DbLoginImpl.h"
#include "DirectLoad.h"
#include "TableCatalog.h"

#include <QAtomicInt>
#include <QSqlDriver>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>

#include <atomic>

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

// A URL split into the database it names and its identity items. Only a
// last "?" followed by such items starts them, so a file name holding "?" or
// "#" is taken whole.
struct SplitUrl {
    QString base;
    QUrlQuery items;
};

SplitUrl splitUrl(const QString &url)
{
    if (const int q = url.lastIndexOf('?'); q >= 0 && isIdentityQuery(url.mid(q + 1)))
        return {url.left(q), QUrlQuery(url.mid(q + 1))};
    return {url, QUrlQuery()};
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
    // Never wait for ever on another operator: a short busy timeout, then 3262 (3261 for a read).
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

void openPostgres(QSqlDatabase &db, const QString &name, const QUrl &parsed, const QString &url)
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(parsed.host());
    db.setPort(parsed.port(5432));
    db.setUserName(parsed.userName());
    db.setPassword(parsed.password());
    db.setDatabaseName(parsed.path().mid(1));
    // Keepalives tell a vanished server or network from a slow answer.
    db.setConnectOptions(QStringLiteral("connect_timeout=10;keepalives=1;keepalives_idle=30;"
                                        "keepalives_interval=10;keepalives_count=3"));
    if (!db.open())
        failOpen(url, db.lastError().text());
}

void openOdbc(QSqlDatabase &db, const QString &name, const QString &connection,
              const QString &url)
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    db.setDatabaseName(connection);
    if (!db.open())
        failOpen(url, db.lastError().text());
}

std::atomic<int> directLoadingState{-1};  // -1: not yet read from the environment

} // namespace

DbLogin::DbLogin() : d(std::make_unique<Impl>()) {}

DbLogin::~DbLogin()
{
    const QString name = d->connectionName;
    if (d->db.isOpen() && inTransaction())
        d->db.rollback();
    d->failedStatements.clear();
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
    d.sessionToken = QUuid::createUuid().toString(QUuid::WithoutBraces);
    d.connectionName = QStringLiteral("dbkit-%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(loginCounter.fetchAndAddRelaxed(1) + 1);

    // Identity items may follow any URL: ?operator=NAME&computer=NAME.
    const auto [base, items] = splitUrl(url);
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
        openPostgres(d.db, d.connectionName, QUrl(base), url);
    } else if (base.startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive)) {
        // The driver reports the server behind it (SQLGetInfo SQL_DBMS_NAME);
        // the statements are adapted to that server.
        openOdbc(d.db, d.connectionName, base.mid(5), url);
        d.throughOdbc = true;
        d.engine = d.db.driver()->dbmsType() == QSqlDriver::PostgreSQL ? Engine::PostgreSQL
                                                                       : Engine::ODBC;
    } else {
        failOpen(url, QStringLiteral("unknown kind of database URL"));
    }
    d.dialect = SqlDialect::create(d.engine);
    if (d.engine != Engine::SQLite)
        d.startSession();
    return login;
}

void DbLogin::Impl::startSession()
{
    if (engine == Engine::PostgreSQL) {
        startPostgresSession();
        return;
    }
    for (const QString &sql : dialect->sessionSetup(statementTimeout))
        setUp(db, url, sql);
    QSqlQuery id(db);
    if (id.exec(dialect->sessionIdStatement()) && id.next())
        connectionId = QStringLiteral("odbc:") + id.value(0).toString();
    else
        connectionId = QStringLiteral("odbc:%1:%2").arg(QCoreApplication::applicationPid())
                                                   .arg(loginCounter.fetchAndAddRelaxed(1) + 1);
}

// The session's settings, its backend and whether the system schema is there
// in one round trip: a reconnect on a busy server waits its turn for each.
void DbLogin::Impl::startPostgresSession()
{
    QStringList settings;
    if (!throughOdbc)
        settings << QStringLiteral("set_config('client_encoding', 'UTF8', false)");
    // No statement waits for ever: neither on another operator's row lock
    // nor on a server that does not answer.
    settings << QStringLiteral("set_config('lock_timeout', '2s', false)")
             << QStringLiteral("set_config('statement_timeout', '%1', false)")
                    .arg(statementTimeout)
             // Every backend of this login names the login's session, so
             // others can tell whether the session still lives after a
             // reconnect.
             << QStringLiteral("set_config('application_name', '")
                    + quoted(DbLogin::sessionApplicationName(sessionToken))
                    + QStringLiteral("', false)");
    QSqlQuery q(db);
    // A standby server refuses every write: it has the schema its primary has.
    if (!q.exec(QStringLiteral("SELECT ") + settings.join(QStringLiteral(", "))
                + QStringLiteral(", pg_backend_pid(), EXISTS (SELECT 1 FROM pg_namespace "
                                 "WHERE nspname = 'lxsystem') OR pg_is_in_recovery()"))
        || !q.next())
        failOpen(url, q.lastError().text());
    connectionId = QStringLiteral("pg:") + q.value(int(settings.size())).toString();
    // System tables live in schema lxsystem; make sure it is there.
    if (!q.value(int(settings.size()) + 1).toBool())
        setUp(db, url, QStringLiteral("CREATE SCHEMA IF NOT EXISTS lxsystem"));
}

void DbLogin::ready(const QString &statement)
{
    refuseUnsendable(statement, ErrorNumber::General);
    // A deadline that passed after its statement was answered still broke the connection.
    if (d->watchdog && d->watchDepth == 0 && d->watchdog->takeFired())
        d->connectionLost();
    if (d->lost) {
        d->failedStatements.clear();
        d->db.close();
        if (!d->db.open())
            failOpen(d->url, d->db.lastError().text());
        d->startSession();
        d->lost = false;
    }
    // The server undid the transaction with the connection. A statement now
    // would run on its own and be kept, so only half of the transaction's
    // work would be stored: nothing runs until the caller ends it.
    if (d->transactionLost)
        throw DbError(ErrorNumber::ConnectionFailed,
                      QStringLiteral("与账套数据库的连接已断开，事务已撤销，请重新操作。"),
                      QString(), statement);
}

void DbLogin::beginWatch()
{
    if (d->watchDepth == 0) {
        ready(QString());
        if (d->engine == Engine::PostgreSQL && !d->throughOdbc && d->statementTimeout > 0) {
            if (!d->watchdog)
                d->watchdog = std::make_unique<StatementWatchdog>();
            // Past the server's own limit by a margin for the answer's way back:
            // a server that kept its limit has answered well within it. The
            // caller is told within the limit and half a second, reconnecting
            // and rolling back included.
            d->watchdog->arm(postgresSocket(d->db), d->statementTimeout + 300);
        }
    }
    ++d->watchDepth;
}

void DbLogin::endWatch()
{
    if (--d->watchDepth == 0 && d->watchdog)
        d->watchdog->disarm();
}

void DbLogin::Impl::connectionLost()
{
    lost = true;
    transactionLost = inTransaction;
    inTransaction = false;
}

DbError DbLogin::failure(const QSqlError &error, const QString &statement, bool reading)
{
    if (d->watchdog && d->watchdog->takeFired()) {
        d->connectionLost();
        return DbError(ErrorNumber::TimedOut,
                       QStringLiteral("数据库服务器未能在规定时间内响应，连接已断开，"
                                      "下一次操作时重新连接。"),
                       QString(), statement);
    }
    DbError mapped = d->dialect->toError(error, statement, reading);
    if (d->engine == Engine::SQLite || mapped.number() != ErrorNumber::General)
        return mapped;
    // Tell a lost connection from a refused statement by asking the server;
    // inside a failed transaction it answers that the transaction is aborted.
    QSqlQuery probe(d->db);
    if (probe.exec(QStringLiteral("SELECT 1"))
        || probe.lastError().nativeErrorCode() == QLatin1String("25P02")
        || probe.lastError().databaseText().contains(QLatin1String("transaction is aborted")))
        return mapped;
    d->connectionLost();
    return DbError(ErrorNumber::ConnectionFailed,
                   QStringLiteral("与账套数据库的连接已断开，下一次操作时重新连接。%1")
                       .arg(mapped.description()),
                   mapped.nativeCode(), statement);
}

DbError DbLogin::failedStatement(QSqlQuery &query, const QString &statement, bool reading)
{
    DbError error = failure(query.lastError(), statement, reading);
    if (d->inTransaction)
        d->failedStatements.push_back(std::move(query));
    return error;
}

void DbLogin::freeFailedStatements()
{
    d->failedStatements.clear();
}

void DbLogin::setStatementTimeout(int milliseconds)
{
    d->statementTimeout = milliseconds;
    if (d->engine == Engine::PostgreSQL)
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

void DbLogin::Execute(const QString &sql)
{
    ready(sql);
    const StatementWatch watch(*this);
    const QString statement = d->dialect->rewrite(sql);
    QSqlQuery q(d->db);
    q.setForwardOnly(true);
    if (!q.exec(statement))
        throw failure(q.lastError(), sql, isReadingStatement(statement));
}

int DbLogin::executeBound(const QString &sql, const QVariantList &values)
{
    ready(sql);
    refuseUnsendableValues(values, sql);
    const StatementWatch watch(*this);
    const QString statement = d->dialect->rewrite(sql);
    if (d->engine == Engine::PostgreSQL && !d->throughOdbc) {
        int rows = 0;
        QSqlError error;
        switch (execPostgresBound(d->db, statement, values, &rows, &error)) {
        case DirectLoad::Done:
            return rows;
        case DirectLoad::Failed:
            throw failure(error, sql, isReadingStatement(statement));
        case DirectLoad::Unavailable:
            break;
        }
    }
    QSqlQuery q(d->db);
    q.setForwardOnly(true);
    if (!q.prepare(statement))
        throw failedStatement(q, sql, isReadingStatement(statement));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw failedStatement(q, sql, isReadingStatement(statement));
    return q.numRowsAffected();
}

void DbLogin::BeginTrans()
{
    const StatementWatch watch(*this);
    d->transactionLost = false;
    if (d->engine == Engine::SQLite) {
        // The kit's transactions write. One that read first and wrote later
        // could meet another such transaction in a deadlock that SQLite
        // settles by failing one of them at once, busy handler or not; taking
        // the write lock at the start makes the second wait its turn instead.
        QSqlQuery begin(d->db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw failure(begin.lastError(), QStringLiteral("BEGIN IMMEDIATE"), false);
    } else if (!d->db.transaction()) {
        throw failure(d->db.lastError(), QStringLiteral("BEGIN"), false);
    }
    d->inTransaction = true;
}

void DbLogin::RollbackTrans()
{
    d->inTransaction = false;
    // A transaction whose connection was lost was undone by the server.
    if (std::exchange(d->transactionLost, false)) {
        freeFailedStatements();
        return;
    }
    const StatementWatch watch(*this);
    if (!d->db.rollback())
        throw failure(d->db.lastError(), QStringLiteral("ROLLBACK"), false);
    freeFailedStatements();
}

void DbLogin::CommitTrans()
{
    if (std::exchange(d->transactionLost, false))
        throw DbError(ErrorNumber::ConnectionFailed,
                      QStringLiteral("与账套数据库的连接已断开，事务未能提交。"), QString(),
                      QStringLiteral("COMMIT"));
    const StatementWatch watch(*this);
    const bool committed = d->db.commit();
    // A commit of a failed transaction ends it too (as a rollback).
    freeFailedStatements();
    if (!committed)
        throw failure(d->db.lastError(), QStringLiteral("COMMIT"), false);
    d->inTransaction = false;
}

bool DbLogin::inTransaction() const
{
    return d->inTransaction;
}

Engine DbLogin::engine() const { return d->engine; }
bool DbLogin::throughOdbc() const { return d->throughOdbc; }
const SqlDialect &DbLogin::dialect() const { return *d->dialect; }
QString DbLogin::url() const { return d->url; }

QString DbLogin::databaseUrl(const QString &url)
{
    return splitUrl(url).base;
}

QString DbLogin::withOperator(const QString &url, const QString &name)
{
    auto [base, items] = splitUrl(url);
    items.removeAllQueryItems(QStringLiteral("operator"));
    // Encoded by hand: QUrlQuery would leave "&" and "=" in a name as they are.
    const QString item = QStringLiteral("operator=")
                         + QString::fromLatin1(QUrl::toPercentEncoding(name));
    const QString others = items.toString(QUrl::FullyEncoded);
    return base + u'?' + item + (others.isEmpty() ? QString() : u'&' + others);
}
QString DbLogin::operatorName() const { return d->operatorName; }
QString DbLogin::computerName() const { return d->computerName; }
QString DbLogin::connectionId() const { return d->connectionId; }
QString DbLogin::sessionToken() const { return d->sessionToken; }

QString DbLogin::sessionApplicationName(const QString &token)
{
    return QStringLiteral("depotbase ") + token;
}
QSqlDatabase &DbLogin::database() { return d->db; }

void refuseUnsendable(const QString &text, int number, const QString &within)
{
    const QString &statement = within.isNull() ? text : within;
    // A NUL would end the text early inside the engine's client library.
    if (text.contains(QChar(0)))
        throw DbError(number, QStringLiteral("语句中含有空字符（NUL），不能执行。"), QString(),
                      QString(statement).replace(QChar(0), QLatin1String("\\0")));
    // Half of a UTF-16 pair has no character to stand for: one engine would
    // store another character in its place, another refuse it.
    if (!text.isValidUtf16())
        throw DbError(number,
                      QStringLiteral("语句中含有不成对的 UTF-16 代理字符，不能执行。"),
                      QString(), statement);
}

void refuseUnsendableValues(const QVariantList &values, const QString &statement)
{
    for (const QVariant &v : values)
        if (v.typeId() == QMetaType::QString)
            refuseUnsendable(v.toString(), ErrorNumber::General, statement);
}

QString quoted(const QString &value)
{
    return QString(value).replace('\'', QLatin1String("''"));
}

} // namespace dbkit
