#include "DataTestSupport.h"

#include "data/DataHelpers.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace depotbase;

using datatest::DemoAccount;
using dbkit::quoted;
namespace err = dbkit::ErrorNumber;

class AccountSchema : public DemoAccount {};

TEST_P(AccountSchema, DemoCompanyLoads)
{
    EXPECT_EQ(scalar("select count(*) from Warehouse"), 12);
    EXPECT_EQ(scalar("select count(*) from Department"), 8);
    EXPECT_EQ(scalar("select count(*) from Department where bDepEnd=1"), 6);
    EXPECT_EQ(scalar("select count(*) from Position"), 5);
    EXPECT_EQ(scalar("select count(*) from StockMove"), 2);
    EXPECT_EQ(scalar("select count(*) from InventoryClass"), 8);
    EXPECT_EQ(scalar("select count(*) from Inventory where Not bService=1"), 9);
    EXPECT_EQ(scalar("select count(*) from WarehAuth"), 12);
    EXPECT_EQ(scalar("select count(*) from lxsystem..qd_user"), 7);
    // The selectable operators: neither administrators nor inactive ones.
    EXPECT_EQ(scalar("select count(*) from lxsystem..qd_user where iAdmin <> 1 and "
                     "(nState=0 or nState is null)"),
              5);
    EXPECT_EQ(value("select cValue from AccInformation where cSysID='AA' and "
                    "cName='cSysVersion'").toString(),
              QStringLiteral("工业"));
    EXPECT_EQ(value("select cValue from AccInformation where cSysID='IA' and "
                    "cName='cValueStyle'").toString(),
              QStringLiteral("按仓库核算"));
}

TEST_P(AccountSchema, ListJoinKeepsWarehousesWithoutDepartment)
{
    dbkit::DbDataSetPtr ds = m_login->OpenDataSet(
        "SELECT Department.cDepName, Warehouse.* FROM Department RIGHT JOIN Warehouse ON "
        "Department.cDepCode = Warehouse.cDepCode Order By Warehouse.cWhCode");
    QStringList seen;
    for (; !ds->Eof(); ds->MoveNext()) {
        seen << NullToEmpty(ds->Fields("cWhCode")) + ':' + NullToEmpty(ds->Fields("cDepName"))
                    + ':' + NullToEmpty(ds->Fields("iWhFundQuota"));
    }
    ASSERT_EQ(seen.size(), 12);
    EXPECT_EQ(seen[1], QStringLiteral("02:生产部:12"));
    EXPECT_EQ(seen[3], QStringLiteral("04:原料采购组:0"));
    EXPECT_EQ(seen[4], QStringLiteral("05:设备采购组:20000.5"));
    EXPECT_EQ(seen[5], QStringLiteral("06::8000"));   // no department at all
    EXPECT_EQ(seen[10], QStringLiteral("11::"));      // a department code without a row
    EXPECT_TRUE(value("select bWhPos from Warehouse where cWhCode='10'").isNull());
}

TEST_P(AccountSchema, DuplicateCodeIsRefused)
{
    EXPECT_EQ(errorOf("insert into Warehouse (cWhCode, cWhName) values ('01', '重复仓')"),
              err::DuplicateKey);
    EXPECT_EQ(errorOf("update Warehouse set cWhCode='02' where cWhCode='12'"), err::DuplicateKey);
    EXPECT_EQ(errorOf("insert into Warehouse (cWhCode, cWhName) values ('13', '新仓')"), 0);
    EXPECT_EQ(scalar("select count(*) from Warehouse"), 13);
}

TEST_P(AccountSchema, WarehouseInUseCannotBeDeletedOrRenamed)
{
    // 01 has positions, 03 stock records.
    EXPECT_EQ(errorOf("delete from Warehouse where cWhCode='01'"), err::RelatedRecords);
    EXPECT_EQ(errorOf("delete from Warehouse where cWhCode='03'"), err::RelatedRecords);
    EXPECT_EQ(errorOf("update Warehouse set cWhCode='31' where cWhCode='03'"),
              err::RelatedRecords);
    EXPECT_EQ(errorOf("insert into Position (cPosCode, cPosName, cWhCode) "
                      "values ('Z01', '无主货位', '77')"),
              err::RelatedRecords);
    // Other columns of a warehouse in use may change.
    EXPECT_EQ(errorOf("update Warehouse set cWhName='半成品中转库' where cWhCode='03'"), 0);
    // Rights and a department code refer without keys.
    EXPECT_EQ(errorOf("delete from Warehouse where cWhCode='04'"), 0);
    EXPECT_EQ(errorOf("delete from Warehouse where cWhCode='11'"), 0);
    EXPECT_EQ(scalar("select count(*) from Warehouse"), 10);
}

TEST_P(AccountSchema, TrialDeleteInATransactionLeavesNoTrace)
{
    // The in-use test: delete inside a transaction that is always rolled back.
    for (const char *code : {"03", "12"}) {
        SCOPED_TRACE(code);
        m_login->BeginTrans();
        const int error = errorOf(QStringLiteral("delete from Warehouse where cWhCode='%1'")
                                      .arg(QLatin1String(code)));
        m_login->RollbackTrans();
        EXPECT_EQ(error, QLatin1String(code) == "03" ? err::RelatedRecords : 0);
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from Warehouse where cWhCode='%1'")
                             .arg(QLatin1String(code))),
                  1);
    }
}

namespace {

struct TextColumn {
    const char *table;
    const char *column;
    int width;
    const char *where;  // picks one row of the demo data
};

const TextColumn textColumns[] = {
    {"Warehouse", "cWhCode", 10, "cWhCode='12'"},
    {"Warehouse", "cWhName", 20, "cWhCode='12'"},
    {"Warehouse", "cDepCode", 20, "cWhCode='12'"},
    {"Warehouse", "cWhAddress", 30, "cWhCode='12'"},
    {"Warehouse", "cWhPhone", 20, "cWhCode='12'"},
    {"Warehouse", "cWhPerson", 10, "cWhCode='12'"},
    {"Warehouse", "cWhValueStyle", 12, "cWhCode='12'"},
    {"Warehouse", "cWhMemo", 20, "cWhCode='12'"},
    {"WarehAuth", "Id", 20, "cWhCode='04'"},
    {"WarehAuth", "cuser_id", 20, "cWhCode='04'"},
    {"WarehAuth", "cInvCCode", 12, "cWhCode='04'"},
    {"WarehAuth", "cInvCode", 20, "cWhCode='04'"},
    {"Department", "cDepName", 30, "cDepCode='0101'"},
    {"lxsystem..qd_user", "cuser_name", 20, "cuser_id='005'"},
};

} // namespace

TEST_P(AccountSchema, TextLongerThanItsColumnIsRefused)
{
    for (const TextColumn &c : textColumns) {
        SCOPED_TRACE(std::string(c.table) + "." + c.column);
        // Chinese characters: widths count characters, not bytes.
        const QString fits(c.width, QChar(0x4ED3));
        const QString tooLong = fits + QChar(0x5E93);
        const QVariant before = value(QStringLiteral("select %1 from %2 where %3")
                                          .arg(QLatin1String(c.column), QLatin1String(c.table),
                                               QString::fromUtf8(c.where)));
        const QString update = QStringLiteral("update %1 set %2='%3' where %4")
                                   .arg(QLatin1String(c.table), QLatin1String(c.column));
        EXPECT_EQ(errorOf(update.arg(quoted(tooLong), QString::fromUtf8(c.where))),
                  err::ValueTooLong);
        EXPECT_EQ(errorOf(update.arg(quoted(fits), QString::fromUtf8(c.where))), 0);
        const QString where = QStringLiteral("%1='%2'").arg(QLatin1String(c.column), fits);
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1 where %2")
                             .arg(QLatin1String(c.table), where)),
                  1);
        // Put the demo value back so the next column finds its row.
        const QString restore = before.isNull() ? QStringLiteral("NULL")
                                                : "'" + quoted(before.toString()) + "'";
        EXPECT_EQ(errorOf(QStringLiteral("update %1 set %2=%3 where %4")
                              .arg(QLatin1String(c.table), QLatin1String(c.column), restore,
                                   where)),
                  0);
    }
}

TEST_P(AccountSchema, RightsAreNumberedByTheDatabase)
{
    dbkit::DbDataSetPtr rights = m_login->OpenDataSet(
        "select Auto_id,cuser_id,cwhcode,id,bDispMoney,cInvCCode,cInvCode from warehauth");
    rights->AddNew();
    rights->Collect("cuser_id", QStringLiteral("陈静"));
    rights->Collect("cWhCode", QStringLiteral("05"));
    rights->Collect("Id", QStringLiteral("005"));
    rights->Collect("bDispMoney", 1);
    rights->Collect("cInvCCode", QVariant());
    rights->Collect("cInvCode", QVariant());
    rights->Update();
    const long long first = rights->Fields("Auto_id").toLongLong();
    EXPECT_EQ(first, scalar("select max(Auto_id) from WarehAuth"));
    EXPECT_GT(first, 12);

    m_login->Execute("insert into WarehAuth (Id, cuser_id, cWhCode, bDispMoney) "
                     "values ('005', '陈静', '06', 0)");
    const long long second = value("SELECT @@identity").toLongLong();
    EXPECT_GT(second, first);
    EXPECT_EQ(scalar("select count(*) from WarehAuth where Auto_id=" + QString::number(second)
                     + " and cWhCode='06'"),
              1);
}

INSTANTIATE_TEST_SUITE_P(Engines, AccountSchema, ::testing::ValuesIn(testsupport::allEngines()),
                         datatest::engineLabel);

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
