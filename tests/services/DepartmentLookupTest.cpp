// The leaf departments the warehouse card looks a typed text up in.
#include "services/DepartmentLookup.h"

#include "support/DemoAccount.h"

#include <gtest/gtest.h>

using testsupport::TestEngine;

namespace {

class DepartmentLookupTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override { m_login = testsupport::openDemoAccount(GetParam(), m_db); }

    QString codeFound(services::DepartmentLookup &lookup, const QString &text)
    {
        const std::optional<services::Department> found = lookup.find(text);
        return found ? found->code + QLatin1Char('/') + found->name : QStringLiteral("<none>");
    }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
};

TEST_P(DepartmentLookupTest, FindsLeafDepartmentsByCodeBeforeNameAndAsTheyAreNow)
{
    services::DepartmentLookup lookup(*m_login);
    EXPECT_EQ(codeFound(lookup, "0202"), "0202/设备采购组");
    EXPECT_EQ(codeFound(lookup, "生产部"), "03/生产部");
    // A parent department is none, by code or by name; texts compare exactly.
    EXPECT_EQ(codeFound(lookup, "02"), "<none>");
    EXPECT_EQ(codeFound(lookup, "采购部"), "<none>");
    EXPECT_EQ(codeFound(lookup, "生产部 "), "<none>");
    EXPECT_EQ(codeFound(lookup, ""), "<none>");

    // Another operator adds a department named like a code, and one with a
    // quote: a typed code wins over the name, and a quote is only a letter.
    auto other = m_db->connect("other", "PC2");
    other->Execute("INSERT INTO Department (cDepCode, cDepName, cDepPerson, bDepEnd) "
                   "VALUES ('05', '0101', 'x', 1), ('06', 'O''Neil', 'y', 1)");
    EXPECT_EQ(codeFound(lookup, "0101"), "0101/行政科");
    EXPECT_EQ(codeFound(lookup, "O'Neil"), "06/O'Neil");
    EXPECT_EQ(lookup.rows()->RecordCount(), 8);
}

INSTANTIATE_TEST_SUITE_P(Engines, DepartmentLookupTest,
                         ::testing::ValuesIn(testsupport::serviceEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });

} // namespace
