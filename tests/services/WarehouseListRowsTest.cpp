// The warehouse list's data set as the list's services move it: from the
// grid's warehouse, to either end, and read again first.
#include "services/WarehouseListRows.h"

#include "data/DataHelpers.h"
#include "services/WarehouseQueries.h"
#include "support/DemoAccount.h"
#include "suite/dbkit/DbDataSet.h"

#include <gtest/gtest.h>

using services::warehouse_list::Move;
using testsupport::TestEngine;

namespace {

class WarehouseListRowsTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override { m_login = testsupport::openDemoAccount(GetParam(), m_db); }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
};

TEST_P(WarehouseListRowsTest, MovesFromTheGridsWarehouseAndStopsAtEitherEnd)
{
    const dbkit::DbDataSetPtr list =
        m_login->OpenDataSet(services::WarehouseQueries::listStatement());
    const auto move = [&](Move to, const QString &gridCode) {
        const services::warehouse_list::Position reached =
            services::warehouse_list::position(*list, to, gridCode);
        return (reached.found ? QStringLiteral("found ") : QStringLiteral("none "))
               + depotbase::NullToEmpty(list->Fields("cWhCode")) + QLatin1Char('/')
               + reached.movedTo;
    };
    EXPECT_FALSE(services::warehouse_list::isReadOnly(*list));
    // Only a move to a neighbour names where it went, for the grid to follow.
    EXPECT_EQ(move(Move::Next, "05"), "found 06/06");
    EXPECT_EQ(move(Move::Previous, "06"), "found 05/05");
    EXPECT_EQ(move(Move::Current, "07"), "found 07/");
    EXPECT_EQ(move(Move::Last, "07"), "found 12/");
    EXPECT_EQ(move(Move::First, "07"), "found 01/");
    // Past either end: the data set stays on that end.
    EXPECT_EQ(move(Move::Next, "12"), "none 12/");
    EXPECT_EQ(move(Move::Previous, "01"), "none 01/");

    // Each move reads the list again: a warehouse another operator deleted
    // is gone.
    const long long listed = services::warehouse_list::requery(*list);
    m_db->connect("other", "PC-2")->Execute("DELETE FROM Warehouse WHERE cWhCode='12'");
    EXPECT_FALSE(services::warehouse_list::position(*list, Move::Current, "12").found);
    EXPECT_EQ(services::warehouse_list::moveToFirst(*list), listed - 1);
    EXPECT_EQ(depotbase::NullToEmpty(list->Fields("cWhCode")), "01");
}

INSTANTIATE_TEST_SUITE_P(Engines, WarehouseListRowsTest,
                         ::testing::ValuesIn(testsupport::serviceEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });

} // namespace
