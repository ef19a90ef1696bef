// The C entry points of the rights check, as a C host calls them: by account
// URL, with plain C types, and every failure a status, never a denial.
#include "component/OperatorRights.h"

#include "support/DemoAccount.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

using testsupport::TestEngine;

namespace {

class RightsEntryPointsTest : public ::testing::TestWithParam<TestEngine> {};

void collect(const char *warehouse, int shown, const char *scope, void *context)
{
    *static_cast<std::string *>(context) += std::string(warehouse) + (shown ? " 1 " : " 0 ")
                                            + scope + "\n";
}

} // namespace

TEST_P(RightsEntryPointsTest, AnswersByAccountUrl)
{
    std::unique_ptr<testsupport::TempDatabase> db;
    testsupport::openDemoAccount(GetParam(), db);
    depotbase_rights *rights = depotbase_rights_open(db->url().toUtf8().constData());
    ASSERT_NE(rights, nullptr);

    int shown = -1;
    EXPECT_EQ(depotbase_check_right(rights, "002", "01", "01010101", &shown),
              DEPOTBASE_RIGHT_ALLOWED);
    EXPECT_EQ(shown, 1);
    EXPECT_STREQ(depotbase_rights_message(rights), "allowed amounts-shown");
    EXPECT_EQ(depotbase_check_right(rights, "002", "01", nullptr, &shown),
              DEPOTBASE_RIGHT_ALLOWED);
    EXPECT_EQ(shown, 0) << "only a class of 01: its amounts as a whole stay hidden";
    EXPECT_EQ(depotbase_check_right(rights, "004", "01", "", &shown), DEPOTBASE_RIGHT_DENIED);
    EXPECT_EQ(shown, 0);
    EXPECT_STREQ(depotbase_rights_message(rights), "denied inactive-operator");

    std::string listed;
    EXPECT_EQ(depotbase_usable_warehouses(rights, "001", collect, &listed),
              DEPOTBASE_RIGHT_ALLOWED);
    EXPECT_EQ(listed, "01 1 whole-warehouse\n02 0 part-of-warehouse\n");
    EXPECT_EQ(depotbase_usable_warehouses(rights, "nobody", collect, &listed),
              DEPOTBASE_RIGHT_DENIED);
    EXPECT_STREQ(depotbase_rights_message(rights), "denied unknown-operator");
    depotbase_rights_close(rights);
}

INSTANTIATE_TEST_SUITE_P(Engines, RightsEntryPointsTest,
                         ::testing::ValuesIn(testsupport::allEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });

// An account that cannot be opened, or one without the tables, is an error
// with its reason, never a denial.
TEST(RightsEntryPoints, FailuresAreErrorsWithTheirReason)
{
    EXPECT_EQ(depotbase_rights_open(nullptr), nullptr);
    depotbase_rights *unreachable = depotbase_rights_open("postgresql://nobody@127.0.0.1:1/x");
    int shown = -1;
    EXPECT_EQ(depotbase_check_right(unreachable, "001", "01", nullptr, &shown),
              DEPOTBASE_RIGHT_ERROR);
    EXPECT_EQ(shown, 0);
    EXPECT_STRNE(depotbase_rights_message(unreachable), "");
    depotbase_rights_close(unreachable);

    QTemporaryDir folder;
    const QByteArray url = ("sqlite:" + folder.filePath("empty.db")).toUtf8();
    depotbase_rights *empty = depotbase_rights_open(url.constData());
    EXPECT_EQ(depotbase_check_right(empty, "001", "01", "010101", &shown),
              DEPOTBASE_RIGHT_ERROR);
    EXPECT_NE(std::string(depotbase_rights_message(empty)).find("qd_user"), std::string::npos)
        << depotbase_rights_message(empty);
    EXPECT_EQ(depotbase_usable_warehouses(empty, "001", nullptr, nullptr), DEPOTBASE_RIGHT_ERROR);
    depotbase_rights_close(empty);
}
