#pragma once

#include "support/TestDatabases.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// An engine, and whether data sets read through Qt's drivers instead of the
// engines' own client libraries (the ODBC API under QODBC for ODBC).
struct KitSetup {
    testsupport::TestEngine engine;
    bool qtDrivers = false;
};

// A temporary database per engine with two small tables shaped like the
// account's: Dept (code key, name) and Store (code key with a length limit,
// a department that must exist, a number, a 0/1 flag), plus Grant with an
// identity key.
class DbKitTest : public ::testing::TestWithParam<KitSetup> {
protected:
    void SetUp() override
    {
        dbkit::DbLogin::setDirectLoading(!GetParam().qtDrivers);
        m_db = std::make_unique<testsupport::TempDatabase>(GetParam().engine);
        m_login = m_db->connect("alice", "PC1");
        createTables();
    }
    void TearDown() override
    {
        m_login.reset();
        m_db.reset();
        dbkit::DbLogin::setDirectLoading(true);
    }

    bool isSqlite() const { return GetParam().engine == testsupport::TestEngine::SQLite; }
    dbkit::DbLogin &db() { return *m_login; }
    dbkit::DbLoginPtr other(const QString &name = "bob") { return m_db->connect(name, "PC2"); }
    testsupport::TempDatabase &temp() { return *m_db; }

    void createTables()
    {
        if (isSqlite()) {
            db().Execute("CREATE TABLE Dept (cDepCode varchar(12) PRIMARY KEY "
                         "CHECK(length(cDepCode)<=12), cDepName varchar(20))");
            db().Execute("CREATE TABLE Store (cWhCode varchar(10) PRIMARY KEY "
                         "CHECK(length(cWhCode)<=10), cWhName varchar(20) "
                         "CHECK(length(cWhName)<=20), cDepCode varchar(12) REFERENCES Dept(cDepCode), "
                         "iQuota numeric(18,4), bPos integer NOT NULL DEFAULT 0)");
            db().Execute("CREATE TABLE Grants (Auto_ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                         "cWhCode varchar(10) NOT NULL REFERENCES Store(cWhCode), "
                         "cUser varchar(20), bDispMoney integer DEFAULT 0)");
        } else {
            db().Execute("CREATE TABLE Dept (cDepCode varchar(12) PRIMARY KEY, cDepName varchar(20))");
            db().Execute("CREATE TABLE Store (cWhCode varchar(10) PRIMARY KEY, cWhName varchar(20), "
                         "cDepCode varchar(12) REFERENCES Dept(cDepCode), iQuota numeric(18,4), "
                         "bPos integer NOT NULL DEFAULT 0)");
            db().Execute("CREATE TABLE Grants (Auto_ID SERIAL PRIMARY KEY, "
                         "cWhCode varchar(10) NOT NULL REFERENCES Store(cWhCode), "
                         "cUser varchar(20), bDispMoney integer DEFAULT 0)");
        }
        db().Execute("INSERT INTO Dept VALUES ('D1', '采购部')");
        db().Execute("INSERT INTO Dept VALUES ('D2', 'Sales')");
        db().Execute("INSERT INTO Store VALUES ('01', 'Main store', 'D1', 12.45, 0)");
        db().Execute("INSERT INTO Store VALUES ('02', '二号库', 'D2', 3.14159, 1)");
        db().Execute("INSERT INTO Store VALUES ('03', 'O''Brien', NULL, 0, 0)");
        db().Execute("INSERT INTO Grants (cWhCode, cUser) VALUES ('01', 'alice')");
        db().Execute("INSERT INTO Grants (cWhCode, cUser) VALUES ('02', 'bob')");
    }

    static const char *listSql()
    {
        return "SELECT Dept.cDepName, Store.* FROM Dept RIGHT JOIN Store ON "
               "Dept.cDepCode = Store.cDepCode Order By Store.cWhCode";
    }

    // The kit's error number of a failing call, 0 when it succeeds.
    static int errorOf(const std::function<void()> &call)
    {
        try {
            call();
        } catch (const dbkit::DbError &e) {
            return e.number();
        }
        return 0;
    }

private:
    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
};

inline std::vector<KitSetup> kitSetups(bool bothLoadPaths)
{
    std::vector<KitSetup> setups;
    for (const testsupport::TestEngine engine : testsupport::kitEngines()) {
        setups.push_back({engine, false});
        // The path through Qt's drivers is kept to compare the loaders
        // with; the pooler adds nothing to that comparison.
        if (bothLoadPaths && engine != testsupport::TestEngine::PostgreSQLPooled)
            setups.push_back({engine, true});
    }
    return setups;
}

inline std::string kitSetupName(const ::testing::TestParamInfo<KitSetup> &info)
{
    return testsupport::engineName(info.param.engine) + (info.param.qtDrivers ? "_QtDriver" : "");
}

// Every engine (SQLite, PostgreSQL, PostgreSQL through ODBC) on the loading path
// the kit chooses; ..._AND_PATHS adds each of them through Qt's drivers.
#define DBKIT_ENGINES(Suite)                                                                      \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::ValuesIn(kitSetups(false)), kitSetupName)
#define DBKIT_ENGINES_AND_PATHS(Suite)                                                            \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::ValuesIn(kitSetups(true)), kitSetupName)
