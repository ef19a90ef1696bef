// The reads of the warehouse-rights windows on a demo account: the authority
// list's filter and the look-ups of a typed operator, warehouse or item.
#include "services/RightsQueries.h"

#include "data/DataHelpers.h"
#include "support/DemoAccount.h"

#include <gtest/gtest.h>

using namespace services;
using testsupport::TestEngine;

namespace {

class RightsQueriesTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override { m_login = testsupport::openDemoAccount(GetParam(), m_db); }

    // Operator code and warehouse code of every listed right, in list order.
    static QStringList rightsOf(dbkit::DbDataSet &rights)
    {
        QStringList rows;
        if (!(rights.BOF() && rights.Eof()))
            rights.MoveFirst();
        for (; !rights.Eof(); rights.MoveNext())
            rows << depotbase::NullToEmpty(rights.Fields(QStringLiteral("Id"))) + "|"
                        + depotbase::NullToEmpty(rights.Fields(QStringLiteral("cWhCode")));
        return rows;
    }

    QStringList filtered(const QString &operatorCode, const QString &warehouseCode)
    {
        RightsFilter filter;
        filter.operatorCode = operatorCode;
        filter.warehouseCode = warehouseCode;
        return rightsOf(*RightsQueries(*m_login).filteredRights(filter));
    }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
};

} // namespace

TEST_P(RightsQueriesTest, FilterNarrowsByEveryCodeGivenAndTakesQuotesAsText)
{
    // An operator whose code holds a quote, with a right of his own.
    m_login->Execute("insert into lxsystem..qd_user (cuser_id, cuser_name, iAdmin, nState) "
                     "values ('0''9', '郑''一', 0, 0)");
    m_login->Execute("INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney) "
                     "VALUES ('0''9', '郑''一', '02', 0)");

    EXPECT_EQ(filtered("0'9", ""), QStringList({"0'9|02"}));
    // Inactive 004 and the administrator hold rights on 01 and 02 too.
    EXPECT_EQ(filtered("", "01"), QStringList({"001|01", "002|01", "07|01"}));
    EXPECT_EQ(filtered("001", "02"), QStringList({"001|02"}));
    EXPECT_EQ(filtered("0' or '1'='1", ""), QStringList());
    // No code lists what the whole list lists.
    RightsQueries queries(*m_login);
    EXPECT_EQ(filtered("", ""), rightsOf(*queries.rightsList()));
}

TEST_P(RightsQueriesTest, TypedCodeOrNameFindsItsRowAndNothingElse)
{
    RightsQueries queries(*m_login);
    // An operator's right names a warehouse, a warehouse's right an operator.
    EXPECT_EQ(queries.otherSideCode(NodeKind::Operator, "成品库"), "02");
    EXPECT_EQ(queries.otherSideCode(NodeKind::Operator, "07"), "07");
    EXPECT_EQ(queries.otherSideCode(NodeKind::Warehouse, "李娜"), "002");
    EXPECT_EQ(queries.otherSideCode(NodeKind::Warehouse, "x' or '1'='1"), std::nullopt);

    const std::optional<ItemNames> resin = queries.typedItem("环氧树脂");
    ASSERT_TRUE(resin);
    EXPECT_EQ(resin->code, "010201");
    EXPECT_EQ(resin->model, "E-44");
    // Service items are found by typing; an item without model reads "".
    const std::optional<ItemNames> service = queries.typedItem("0301");
    ASSERT_TRUE(service);
    EXPECT_EQ(service->name, "安装调试费");
    EXPECT_EQ(service->model, "");
    EXPECT_FALSE(queries.typedItem("nope"));
}

INSTANTIATE_TEST_SUITE_P(Engines, RightsQueriesTest,
                         ::testing::ValuesIn(testsupport::kitEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });
