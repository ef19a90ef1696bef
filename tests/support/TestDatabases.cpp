#include "TestDatabases.h"

#include "suite/dbkit/DbDataSet.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace testsupport {

std::string engineName(TestEngine engine)
{
    switch (engine) {
    case TestEngine::SQLite: return "SQLite";
    case TestEngine::PostgreSQL: return "PostgreSQL";
    case TestEngine::PostgreSQLPooled: return "PostgreSQLPooled";
    case TestEngine::ODBC: break;
    }
    return "ODBC";
}

std::vector<TestEngine> allEngines()
{
    if (qEnvironmentVariable("DEPOTBASE_SKIP_PG") == "1")
        return {TestEngine::SQLite};
    return {TestEngine::SQLite, TestEngine::PostgreSQL};
}

std::vector<TestEngine> kitEngines()
{
    std::vector<TestEngine> engines = serviceEngines();
    if (engines.size() > 1)
        engines.push_back(TestEngine::ODBC);
    return engines;
}

std::vector<TestEngine> serviceEngines()
{
    std::vector<TestEngine> engines = allEngines();
    if (engines.size() > 1)
        engines.push_back(TestEngine::PostgreSQLPooled);
    return engines;
}

std::vector<TestEngine> windowEngines()
{
    return kitEngines();
}

bool isServerEngine(TestEngine engine)
{
    return engine != TestEngine::SQLite;
}

QString pgServerUrl()
{
    return qEnvironmentVariable("DEPOTBASE_PG_URL");
}

QString pgPoolerUrl()
{
    return qEnvironmentVariable("DEPOTBASE_PG_POOLER_URL");
}

QString pgReplicaUrl()
{
    return qEnvironmentVariable("DEPOTBASE_PG_REPLICA_URL");
}

namespace {

// Runs one statement on the server's maintenance database.
void runOnServer(const QString &statement)
{
    const QUrl url(pgServerUrl());
    const QString name = QStringLiteral("testsupport-admin");
    {
        QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                       : QSqlDatabase::addDatabase("QPSQL", name);
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setPassword(url.password());
        db.setDatabaseName(url.path().mid(1).isEmpty() ? "postgres" : url.path().mid(1));
        if (!db.isOpen() && !db.open())
            throw std::runtime_error("cannot reach the test PostgreSQL server: "
                                     + db.lastError().text().toStdString());
        QSqlQuery q(db);
        if (!q.exec(statement))
            throw std::runtime_error("test server statement failed: "
                                     + q.lastError().text().toStdString());
    }
}

QString uniqueName()
{
    static QAtomicInt counter;
    return QStringLiteral("dbt_%1_%2_%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch() % 100000000)
        .arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

TempDatabase::TempDatabase(TestEngine engine) : m_engine(engine)
{
    if (engine == TestEngine::SQLite) {
        m_url = QStringLiteral("sqlite:") + m_dir.filePath("account.db");
        return;
    }
    if (pgServerUrl().isEmpty())
        throw std::runtime_error("DEPOTBASE_PG_URL is not set: the test command starts the "
                                 "PostgreSQL server the tests need");
    m_pgName = uniqueName();
    runOnServer(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(m_pgName));
    QUrl url(pgServerUrl());
    if (engine == TestEngine::PostgreSQLPooled) {
        if (pgPoolerUrl().isEmpty())
            throw std::runtime_error("DEPOTBASE_PG_POOLER_URL is not set: the test command "
                                     "starts the pooler the pooled tests need");
        url = QUrl(pgPoolerUrl());
    }
    url.setPath("/" + m_pgName);
    m_url = url.toString();
    if (engine == TestEngine::ODBC)
        m_url = QStringLiteral("odbc:Driver={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;"
                               "Uid=%4;Pwd=%5;")
                    .arg(url.host())
                    .arg(url.port(5432))
                    .arg(m_pgName, url.userName(), url.password());
}

TempDatabase::~TempDatabase()
{
    if (m_pgName.isEmpty())
        return;
    try {
        runOnServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_pgName));
    } catch (const std::exception &) {
        // A database left behind on the throwaway test server is harmless.
    }
}

dbkit::DbLoginPtr TempDatabase::connect(const QString &operatorName,
                                        const QString &computerName) const
{
    QString withIdentity = m_url + (m_url.contains('?') ? "&" : "?")
                           + "operator=" + QUrl::toPercentEncoding(operatorName)
                           + "&computer=" + QUrl::toPercentEncoding(computerName);
    return dbkit::DbLogin::open(withIdentity);
}

void terminateBackend(dbkit::DbLogin &admin, const dbkit::DbLogin &login)
{
    const QString pid = login.connectionId().section(':', 1);
    admin.Execute("SELECT pg_terminate_backend(" + pid + ")");
    for (int i = 0; i < 200; ++i) {
        if (admin.OpenDataSet("SELECT COUNT(*) FROM pg_stat_activity WHERE pid = " + pid)
                ->Fields(0).toInt() == 0)
            return;
        QThread::msleep(20);
    }
    ADD_FAILURE() << "backend " << pid.toStdString() << " did not end";
}

} // namespace testsupport
