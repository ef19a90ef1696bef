#include "data/DataTestSupport.h"

#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "forms/ListDataSet.h"
#include "suite/dbkit/internal/LoginAccess.h"
#include "support/SeamScript.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace depotbase;

using datatest::DemoAccount;
using testsupport::TestEngine;

namespace {

const QString listSql = QStringLiteral(
    "SELECT Department.cDepName, Warehouse.* FROM Department RIGHT JOIN Warehouse ON "
    "Department.cDepCode = Warehouse.cDepCode Order By Warehouse.cWhCode");

// Another operator takes the warehouse table for itself until rolled back.
void holdWarehouseExclusively(dbkit::DbLogin &other, TestEngine engine)
{
    QSqlQuery q(dbkit::LoginAccess::database(other));
    const QStringList steps = engine == TestEngine::SQLite
        ? QStringList{QStringLiteral("BEGIN EXCLUSIVE")}
        : QStringList{QStringLiteral("BEGIN"),
                      QStringLiteral("LOCK TABLE Warehouse IN ACCESS EXCLUSIVE MODE")};
    for (const QString &step : steps)
        ASSERT_TRUE(q.exec(step)) << q.lastError().text().toStdString();
}

} // namespace

class OpenListDataSetTest : public DemoAccount {};

TEST_P(OpenListDataSetTest, ReadOnlyFlagChoosesTheOpenMode)
{
    testsupport::SeamScript seam;
    dbkit::DbDataSetPtr readOnly = OpenListDataSet(*m_login, listSql, true, LoadResString(51));
    ASSERT_NE(readOnly, nullptr);
    EXPECT_EQ(readOnly->openMode(), 4);
    EXPECT_EQ(readOnly->RecordCount(), 12);
    // Read-only means the snapshot refuses writes.
    EXPECT_THROW(readOnly->Edit(), dbkit::DbError);

    dbkit::DbDataSetPtr writable = OpenListDataSet(*m_login, listSql, false, LoadResString(51));
    ASSERT_NE(writable, nullptr);
    EXPECT_EQ(writable->openMode(), 2);
    EXPECT_EQ(NullToEmpty(writable->Fields("cWhCode")), QStringLiteral("01"));
    EXPECT_TRUE(seam->verifyDone());
}

TEST_P(OpenListDataSetTest, OtherFailuresGiveNothingAndSayNothing)
{
    testsupport::SeamScript seam;  // any message box fails the test
    EXPECT_EQ(OpenListDataSet(*m_login, QStringLiteral("SELECT * FROM NoSuchTable"), false,
                              LoadResString(51)),
              nullptr);
    EXPECT_EQ(OpenListDataSet(*m_login, QStringLiteral("SELEC cWhCode FROM Warehouse"), true,
                              LoadResString(51)),
              nullptr);
    EXPECT_TRUE(seam->verifyDone());
}

TEST_P(OpenListDataSetTest, TableHeldExclusivelyIsToldWithTheTableName)
{
    dbkit::DbLoginPtr other = m_db->connect(QStringLiteral("other"), QStringLiteral("PC2"));
    holdWarehouseExclusively(*other, GetParam());

    testsupport::SeamScript seam;
    seam->expectMessage(QStringLiteral("别的用户以独占方式打开数据库，不能打开表！仓库"),
                        modal::Icon::Critical, modal::Buttons::Ok, QStringLiteral("提示信息"),
                        modal::Answer::Ok);
    EXPECT_EQ(OpenListDataSet(*m_login, listSql, false, LoadResString(51)), nullptr);
    EXPECT_TRUE(seam->verifyDone());

    QSqlQuery(dbkit::LoginAccess::database(*other)).exec(QStringLiteral("ROLLBACK"));
    EXPECT_NE(OpenListDataSet(*m_login, listSql, false, LoadResString(51)), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Engines, OpenListDataSetTest,
                         ::testing::ValuesIn(testsupport::allEngines()), datatest::engineLabel);
