#include "DataTestSupport.h"

#include "data/DataHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

using datatest::DemoAccount;

class GenerateWarehousesTest : public DemoAccount {};

TEST_P(GenerateWarehousesTest, InsertsPaddedCodesWithLeafDepartments)
{
    GenerateWarehouses(*m_login, 260);  // several full batches and a short one
    EXPECT_EQ(scalar("select count(*) from Warehouse"), 272);
    EXPECT_EQ(value("select cWhName from Warehouse where cWhCode='000001'").toString(),
              QStringLiteral("成品仓1"));
    EXPECT_EQ(scalar("select count(*) from Warehouse where cWhCode='000260'"), 1);
    // Every ninth has no department; the others a leaf department.
    EXPECT_EQ(scalar("select count(*) from Warehouse where cWhCode like '000%' "
                     "and cDepCode is null"),
              28);
    EXPECT_EQ(scalar("select count(*) from Warehouse W inner join Department D "
                     "on W.cDepCode=D.cDepCode where W.cWhCode like '000%' and D.bDepEnd=1"),
              232);
    EXPECT_EQ(NullToEmpty(value("select iWhFundQuota from Warehouse where cWhCode='000004'")),
              QStringLiteral("1234.5678"));

    GenerateWarehouses(*m_login, 23, 261);
    EXPECT_EQ(scalar("select count(*) from Warehouse"), 295);
}

TEST_P(GenerateWarehousesTest, AClashLeavesNothingBehind)
{
    GenerateWarehouses(*m_login, 120);
    try {
        GenerateWarehouses(*m_login, 150, 100);  // 100..120 exist already
        ADD_FAILURE() << "duplicate codes were accepted";
    } catch (const dbkit::DbError &error) {
        EXPECT_EQ(error.number(), dbkit::ErrorNumber::DuplicateKey);
    }
    EXPECT_EQ(scalar("select count(*) from Warehouse"), 132);
    EXPECT_FALSE(m_login->inTransaction());
    EXPECT_THROW(GenerateWarehouses(*m_login, 2, -1), dbkit::DbError);
    // Codes may use all ten characters of the column.
    GenerateWarehouses(*m_login, 2, 1999999999);
    EXPECT_EQ(scalar("select count(*) from Warehouse where cWhCode='2000000000'"), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, GenerateWarehousesTest,
                         ::testing::ValuesIn(testsupport::allEngines()), datatest::engineLabel);

TEST(OpenOrCreateSqliteAccount, CreatesOnceThenOpens)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("新账套/account.db"));
    {
        dbkit::DbLoginPtr login = OpenOrCreateSqliteAccount(path, true);
        ASSERT_NE(login, nullptr);
        EXPECT_EQ(login->OpenDataSet("select count(*) from Warehouse")->Fields(0).toInt(), 12);
        login->Execute("insert into Warehouse (cWhCode, cWhName) values ('13', '新仓')");
    }
    EXPECT_TRUE(QFileInfo::exists(path));
    dbkit::DbLoginPtr again = OpenOrCreateSqliteAccount(path, true);
    EXPECT_EQ(again->OpenDataSet("select count(*) from Warehouse")->Fields(0).toInt(), 13);
    EXPECT_EQ(again->OpenDataSet("select count(*) from lxsystem..qd_user")->Fields(0).toInt(), 7);

    const QString empty = dir.filePath(QStringLiteral("新账套/empty.db"));
    dbkit::DbLoginPtr bare = OpenOrCreateSqliteAccount(empty, false);
    EXPECT_EQ(bare->OpenDataSet("select count(*) from Warehouse")->Fields(0).toInt(), 0);
    // A second account in the same folder shares the system database.
    EXPECT_EQ(bare->OpenDataSet("select count(*) from lxsystem..qd_user")->Fields(0).toInt(), 7);
}
