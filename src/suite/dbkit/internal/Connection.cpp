#include "Connection.h"

#include "DirectLoad.h"
#include "SendableText.h"
#include "SessionIdentity.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSysInfo>
#include <QUrl>

namespace dbkit {

namespace {

QAtomicInt connectionCounter;

int nextConnectionNumber()
{
    return connectionCounter.fetchAndAddRelaxed(1) + 1;
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
                         .arg(nextConnectionNumber());
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

} // namespace

Connection::~Connection()
{
    if (m_db.isOpen() && m_inTransaction && !takeUnsentBegin())
        m_db.rollback();
    m_failedStatements.clear();
    m_db.close();
    m_db = QSqlDatabase();
    if (!m_name.isEmpty())
        QSqlDatabase::removeDatabase(m_name);
}

void Connection::open(const QString &url, const QString &applicationName)
{
    m_url = url;
    m_applicationName = applicationName;
    m_name = QStringLiteral("dbkit-%1-%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(nextConnectionNumber());
    const QString base = SessionIdentity::databaseUrl(url);
    if (base.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
        m_engine = Engine::SQLite;
        m_connectionId = openSqlite(m_db, m_name, base.mid(7), url);
    } else if (base.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
               || base.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive)) {
        m_engine = Engine::PostgreSQL;
        openPostgres(m_db, m_name, QUrl(base), url);
    } else if (base.startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive)) {
        // The driver reports the server behind it (SQLGetInfo SQL_DBMS_NAME);
        // the statements are adapted to that server.
        openOdbc(m_db, m_name, base.mid(5), url);
        m_throughOdbc = true;
        m_engine = m_db.driver()->dbmsType() == QSqlDriver::PostgreSQL ? Engine::PostgreSQL
                                                                       : Engine::ODBC;
    } else {
        failOpen(url, QStringLiteral("unknown kind of database URL"));
    }
    m_dialect = SqlDialect::create(m_engine);
    if (m_engine != Engine::SQLite)
        startSession();
}

void Connection::startSession()
{
    if (m_engine == Engine::PostgreSQL) {
        startPostgresSession();
        return;
    }
    for (const QString &sql : m_dialect->sessionSetup(m_statementTimeout))
        setUp(m_db, m_url, sql);
    QSqlQuery id(m_db);
    if (id.exec(m_dialect->sessionIdStatement()) && id.next())
        m_connectionId = QStringLiteral("odbc:") + id.value(0).toString();
    else
        m_connectionId = QStringLiteral("odbc:%1:%2").arg(QCoreApplication::applicationPid())
                                                     .arg(nextConnectionNumber());
}

// How long a statement waits for another operator's row lock, and for the
// server at all: for the session (set_config(..., false)) or only for the
// transaction under way (true). A pooler lends the server connection to other
// clients between transactions, so each transaction sets them again.
QStringList Connection::timeoutSettings(bool transactionOnly) const
{
    const QString scope = transactionOnly ? QStringLiteral("true") : QStringLiteral("false");
    return {QStringLiteral("set_config('lock_timeout', '2s', %1)").arg(scope),
            QStringLiteral("set_config('statement_timeout', '%1', %2)")
                .arg(m_statementTimeout)
                .arg(scope)};
}

QString Connection::transactionSettings() const
{
    return QStringLiteral("SELECT ") + timeoutSettings(true).join(QStringLiteral(", "));
}

void Connection::beginWithFirstStatement()
{
    m_beginWaiting = true;
    m_inTransaction = true;
}

QSqlDatabase &Connection::database()
{
    if (m_beginWaiting) {
        m_beginWaiting = false;
        QSqlError error;
        const QString script = QStringLiteral("BEGIN; ") + transactionSettings();
        if (execPostgresScript(m_db, script, &error) != DirectLoad::Done) {
            // Only a broken connection refuses these.
            lose();
            throw DbError(ErrorNumber::ConnectionFailed,
                          QStringLiteral("与账套数据库的连接已断开，事务已撤销，请重新操作。"),
                          error.nativeErrorCode(), script);
        }
    }
    return m_db;
}

QStringList Connection::prelude(const QString &statement)
{
    if (m_beginWaiting) {
        m_beginWaiting = false;
        return {QStringLiteral("BEGIN"), transactionSettings()};
    }
    if (m_engine != Engine::PostgreSQL || m_throughOdbc || m_inTransaction)
        return {};
    // A few commands refuse to run inside any transaction, an implicit one
    // included; they run alone, as an administrator's commands.
    static const QRegularExpression alone(
        QStringLiteral(R"(^\s*((CREATE|DROP|ALTER)\s+DATABASE|VACUUM|CLUSTER|REINDEX|ALTER\s+SYSTEM)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    if (alone.match(statement).hasMatch())
        return {};
    return {transactionSettings()};
}

// The session's settings, its backend and whether the system schema is there
// in one round trip: a reconnect on a busy server waits its turn for each.
void Connection::startPostgresSession()
{
    QStringList settings;
    // No statement waits for ever: neither on another operator's row lock
    // nor on a server that does not answer. On libpq each transaction and
    // each statement outside one sets them for itself (a pooler lends the
    // server connection to other clients between transactions); through
    // ODBC they hold for the session.
    if (m_throughOdbc)
        settings << timeoutSettings(false);
    else
        settings << QStringLiteral("set_config('client_encoding', 'UTF8', false)");
    // Every backend of this login names the login's session, so an
    // administrator can tell a login's backends (locks judge their holders
    // by leases, not by it).
    settings << QStringLiteral("set_config('application_name', '") + quoted(m_applicationName)
                    + QStringLiteral("', false)");
    QSqlQuery q(m_db);
    // A standby server refuses every write: it has the schema its primary has.
    if (!q.exec(QStringLiteral("SELECT ") + settings.join(QStringLiteral(", "))
                + QStringLiteral(", pg_backend_pid(), EXISTS (SELECT 1 FROM pg_namespace "
                                 "WHERE nspname = 'lxsystem') OR pg_is_in_recovery()"))
        || !q.next())
        failOpen(m_url, q.lastError().text());
    m_connectionId = QStringLiteral("pg:") + q.value(int(settings.size())).toString();
    // System tables live in schema lxsystem; make sure it is there.
    if (!q.value(int(settings.size()) + 1).toBool())
        setUp(m_db, m_url, QStringLiteral("CREATE SCHEMA IF NOT EXISTS lxsystem"));
}

void Connection::ready(const QString &statement)
{
    refuseUnsendable(statement, ErrorNumber::General);
    // A deadline that passed after its statement was answered still broke the connection.
    if (m_watchDepth == 0 && deadlinePassed())
        lose();
    if (m_lost) {
        m_failedStatements.clear();
        m_db.close();
        if (!m_db.open())
            failOpen(m_url, m_db.lastError().text());
        startSession();
        m_lost = false;
    }
    // The server undid the transaction with the connection. A statement now
    // would run on its own and be kept, so only half of the transaction's
    // work would be stored: nothing runs until the caller ends it.
    if (m_transactionLost)
        throw DbError(ErrorNumber::ConnectionFailed,
                      QStringLiteral("与账套数据库的连接已断开，事务已撤销，请重新操作。"),
                      QString(), statement);
}

void Connection::lose()
{
    m_lost = true;
    m_transactionLost = m_inTransaction;
    m_inTransaction = false;
    m_beginWaiting = false;
}

bool Connection::deadlinePassed()
{
    return m_watchdog && m_watchdog->takeFired();
}

void Connection::beginWatch()
{
    if (m_watchDepth == 0) {
        ready(QString());
        if (m_engine == Engine::PostgreSQL && !m_throughOdbc && m_statementTimeout > 0) {
            if (!m_watchdog)
                m_watchdog = std::make_unique<StatementWatchdog>();
            // Past the server's own limit by a margin for the answer's way back:
            // a server that kept its limit has answered well within it. The
            // caller is told within the limit and half a second, reconnecting
            // and rolling back included.
            m_watchdog->arm(postgresSocket(m_db), m_statementTimeout + 300);
        }
    }
    ++m_watchDepth;
}

void Connection::endWatch()
{
    if (--m_watchDepth == 0 && m_watchdog)
        m_watchdog->disarm();
}

void Connection::keepFailed(QSqlQuery &&query)
{
    if (m_inTransaction)
        m_failedStatements.push_back(std::move(query));
}

} // namespace dbkit
