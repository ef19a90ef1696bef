// The rights check on the demo account: which right covers an item, which
// one decides the money flag, and who may use nothing.
#include "services/RightsCheck.h"

#include "support/DemoAccount.h"

#include <gtest/gtest.h>

using namespace services;
using testsupport::TestEngine;

namespace {

struct Expected {
    const char *op, *warehouse, *item;
    RightVerdict verdict;
    bool shown;
    RightScope scope;
};

class RightsCheckTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override { m_login = testsupport::openDemoAccount(GetParam(), m_db); }

    // Rights stored as another program might have written them: the editor's
    // no-overlap rule does not hold between them.
    void addRight(const QString &op, const QString &warehouse, int money, const QString &cls,
                  const QString &item)
    {
        m_login->executeBound("insert into WarehAuth (Id, cWhCode, bDispMoney, cInvCCode, "
                              "cInvCode) values (?, ?, ?, ?, ?)",
                              {op, warehouse, money, cls, item});
    }

    void expectAnswers(const std::vector<Expected> &cases)
    {
        RightsCheck rights(*m_login);
        for (const Expected &e : cases) {
            const RightAnswer answer = rights.check(e.op, e.warehouse, e.item);
            const std::string what = std::string(e.op) + " " + e.warehouse + " " + e.item;
            EXPECT_EQ(answer.verdict, e.verdict) << what;
            EXPECT_EQ(answer.amountsShown, e.shown) << what;
            EXPECT_EQ(answer.decidedBy, e.scope) << what;
        }
    }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
};

std::vector<std::string> listed(const UsableWarehouses &usable)
{
    std::vector<std::string> lines;
    for (const UsableWarehouse &w : usable.warehouses)
        lines.push_back(w.warehouseCode.toStdString() + (w.amountsShown ? " shown " : " hidden ")
                        + RightsCheck::scopeWord(w.scope));
    return lines;
}

} // namespace

// The demo's rights: 001 holds all of 01 (money) and class 0201 of 02; 002
// holds class 0101 of 01 (money) and item 010201 of 03; 003 (state Null)
// all of 04; 004 is inactive; admin is an administrator holding 02.
TEST_P(RightsCheckTest, CoverageAndTheMostSpecificRight)
{
    using V = RightVerdict;
    using S = RightScope;
    // 005 holds class 010101 of 05 without money; beside it, as another
    // program may store them, the whole of 05 and class 0101 with money.
    addRight("005", "05", 1, {}, {});
    addRight("005", "05", 1, "0101", {});
    addRight("002", "06", 1, "", "");   // empty class and item: the whole warehouse
    addRight("005", "GONE", 1, {}, {}); // a warehouse deleted since
    expectAnswers({
        {"001", "01", "", V::Allowed, true, S::WholeWarehouse},
        {"001", "01", "010101", V::Allowed, true, S::WholeWarehouse},
        {"001", "01", "NOPE", V::Allowed, true, S::WholeWarehouse},
        {"002", "01", "010101", V::Allowed, true, S::ItemClass},
        {"002", "01", "01010101", V::Allowed, true, S::ItemClass},   // a subclass
        {"002", "01", "010201", V::NoRight, false, S::None},         // a sibling class
        {"002", "01", "NOPE", V::NoRight, false, S::None},
        {"002", "01", "", V::Allowed, false, S::PartOfWarehouse},
        {"002", "03", "010201", V::Allowed, false, S::Item},
        {"002", "03", "010202", V::NoRight, false, S::None},
        {"002", "02", "", V::NoRight, false, S::None},
        {"002", "06", "010101", V::Allowed, true, S::WholeWarehouse},
        {"003", "04", "010101", V::Allowed, true, S::WholeWarehouse},
        {"004", "01", "", V::InactiveOperator, false, S::None},
        {"004", "01", "010101", V::InactiveOperator, false, S::None},
        {"nobody", "01", "", V::UnknownOperator, false, S::None},
        {"0'01", "01", "", V::UnknownOperator, false, S::None},
        {"001", "ZZ", "", V::UnknownWarehouse, false, S::None},
        {"005", "GONE", "", V::UnknownWarehouse, false, S::None},
        {"admin", "05", "010101", V::Allowed, true, S::Administrator},
        {"admin", "ZZ", "", V::UnknownWarehouse, false, S::None},
        // The most specific covering right decides the money: class 0101
        // over the whole warehouse, the deeper 010101 over 0101.
        {"005", "05", "020101", V::Allowed, true, S::WholeWarehouse},
        {"005", "05", "010101", V::Allowed, true, S::ItemClass},
        {"005", "05", "01010201", V::Allowed, true, S::ItemClass},
        {"005", "05", "01010101", V::Allowed, false, S::ItemClass},
        {"005", "05", "", V::Allowed, true, S::WholeWarehouse},
    });
    // ... and an item right over every class.
    addRight("005", "05", 1, {}, "01010101");
    expectAnswers({{"005", "05", "01010101", V::Allowed, true, S::Item}});

    RightsCheck rights(*m_login);
    using Lines = std::vector<std::string>;
    EXPECT_EQ(listed(rights.usableWarehouses("001")),
              (Lines{"01 shown whole-warehouse", "02 hidden part-of-warehouse"}));
    EXPECT_EQ(listed(rights.usableWarehouses("005")),
              (Lines{"05 shown whole-warehouse", "07 hidden part-of-warehouse"}));
    const UsableWarehouses admin = rights.usableWarehouses("admin");
    EXPECT_EQ(admin.verdict, V::Allowed);
    ASSERT_EQ(admin.warehouses.size(), 12u);
    EXPECT_EQ(listed(admin).front(), "01 shown administrator");
    EXPECT_EQ(rights.usableWarehouses("004").verdict, V::InactiveOperator);
    EXPECT_TRUE(rights.usableWarehouses("004").warehouses.empty());
    EXPECT_EQ(rights.usableWarehouses("nobody").verdict, V::UnknownOperator);
    EXPECT_EQ(rights.usableWarehouses("05").verdict, V::UnknownOperator);
}

// An operator whose iAdmin is Null is left out of the editor's lists, as an
// administrator is, yet is not known as one: the rows nobody can see grant
// nothing, and the check agrees with the list of usable warehouses.
TEST_P(RightsCheckTest, OperatorWithoutAdministratorFlagMayUseNothing)
{
    // Our schema forbids the Null; a system database of another program may hold it.
    if (GetParam() == TestEngine::SQLite) {
        m_login->Execute("create table lxsystem.qd_copy as select * from lxsystem.qd_user");
        m_login->Execute("drop table lxsystem.qd_user");
        m_login->Execute("alter table lxsystem.qd_copy rename to qd_user");
    } else {
        m_login->Execute("alter table lxsystem.qd_user alter column iAdmin drop not null");
    }
    m_login->Execute("update lxsystem..qd_user set iAdmin = null where cuser_id = '005'");
    RightsCheck rights(*m_login);
    expectAnswers({{"005", "07", "", RightVerdict::NoRight, false, RightScope::None}});
    EXPECT_EQ(rights.usableWarehouses("005").verdict, RightVerdict::NoRight);
    EXPECT_TRUE(rights.usableWarehouses("005").warehouses.empty());
}

// The host's listing keeps three fields a line whatever a code holds.
TEST(RightsCheckListing, ControlCharactersInACodeAreEscaped)
{
    const UsableWarehouse odd{"A\tB\nC\r\\", "", true, RightScope::WholeWarehouse};
    EXPECT_EQ(RightsCheck::listingLine(odd), "A\\tB\\nC\\r\\\\\tamounts-shown\twhole-warehouse");
    const UsableWarehouse plain{"02", "", false, RightScope::PartOfWarehouse};
    EXPECT_EQ(RightsCheck::listingLine(plain), "02\tamounts-hidden\tpart-of-warehouse");
}

INSTANTIATE_TEST_SUITE_P(Engines, RightsCheckTest,
                         ::testing::ValuesIn(testsupport::kitEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });
