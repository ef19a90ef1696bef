#pragma once

#include "suite/dbkit/DbLogin.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// The engines every multi-operator test runs on. ODBC is the test PostgreSQL
// server reached through QODBC and the psqlODBC driver ("PostgreSQL Unicode").
// PostgreSQLPooled is the same server reached through a pooler in transaction
// mode (DEPOTBASE_PG_POOLER_URL), which lends each client a server connection
// for one transaction at a time.
enum class TestEngine { SQLite, PostgreSQL, ODBC, PostgreSQLPooled };
std::string engineName(TestEngine engine);
std::vector<TestEngine> allEngines();
// allEngines(), ODBC and the pooler: for the tests of the data kit and what
// sits right on it.
std::vector<TestEngine> kitEngines();
// allEngines() and the pooler: for the services' tests.
std::vector<TestEngine> serviceEngines();
// The engines the window tests (warehouse and authority forms) run on: the
// kit's engines, so the windows are driven through ODBC as well.
std::vector<TestEngine> windowEngines();
// True for a PostgreSQL server, reached directly, through ODBC or a pooler.
bool isServerEngine(TestEngine engine);

// Base URL of the PostgreSQL server the test command started
// (DEPOTBASE_PG_URL, e.g. postgresql://postgres@127.0.0.1:55432/postgres).
// Empty when none was started: tests then fail, unless DEPOTBASE_SKIP_PG=1
// is set by hand for a quick local run.
QString pgServerUrl();

// URL of the pooler in front of that server (DEPOTBASE_PG_POOLER_URL), which
// the test command starts; the pooled tests fail without it.
QString pgPoolerUrl();

// Ends the server backend of `login` (a PostgreSQL login) through `admin`, as
// a dropped connection would, and waits until the server has let it go.
void terminateBackend(dbkit::DbLogin &admin, const dbkit::DbLogin &login);
// Base URL of the hot-standby replica of that server (DEPOTBASE_PG_REPLICA_URL),
// which the test command starts beside it; empty when none was started.
QString pgReplicaUrl();

// A fresh, empty database of its own for one test: a SQLite file (with its
// lxsystem.db sibling) in a temporary folder, or a new PostgreSQL database
// that is dropped again when the object goes.
class TempDatabase {
public:
    explicit TempDatabase(TestEngine engine);
    ~TempDatabase();
    TempDatabase(const TempDatabase &) = delete;
    TempDatabase &operator=(const TempDatabase &) = delete;

    TestEngine engine() const { return m_engine; }
    QString url() const { return m_url; }
    // A further connection on the same database: "another operator".
    dbkit::DbLoginPtr connect(const QString &operatorName = "demo",
                              const QString &computerName = "TESTPC") const;
    QString folder() const { return m_dir.path(); }

private:
    TestEngine m_engine;
    QTemporaryDir m_dir;
    QString m_url;
    QString m_pgName;
};

} // namespace testsupport
