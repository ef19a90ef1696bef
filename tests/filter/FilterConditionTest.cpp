// The condition and value-list statements the filter dialog builds.
#include "filter/FilterColumns.h"

#include <gtest/gtest.h>

using filtercolumns::buildCondition;
using filtercolumns::Positions;

namespace {

using Texts = std::array<QString, filtercolumns::Count>;

Texts texts(std::initializer_list<std::pair<int, QString>> set)
{
    Texts t;
    for (const auto &[row, text] : set)
        t.at(size_t(row)) = text;
    return t;
}

TEST(FilterCondition, PositionPartFollowsTheBoxAndTheLeadingAndIsDropped)
{
    EXPECT_EQ(buildCondition(Texts{}, Positions::Any), "");
    EXPECT_EQ(buildCondition(Texts{}, Positions::NotManaged), "(bWHPos=0 Or bWHPos Is Null)");
    EXPECT_EQ(buildCondition(texts({{0, "01"}, {1, "Main store"}}), Positions::NotManaged),
              "cWHCode='01' And cWHName='Main store' And (bWHPos=0 Or bWHPos Is Null)");
    // Every row in table order, the department compared by name.
    EXPECT_EQ(buildCondition(texts({{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "e"},
                                    {5, "7"}, {6, "f"}, {7, "g"}, {8, "h"}}),
                             Positions::Managed),
              "cWHCode='a' And cWHName='b' And cDepName='c' And cWHPerson='d' And "
              "cWHPhone='e' And round(iWHFundQuota,1) =7 And cWHValueStyle='f' And "
              "cWHAddress='g' And cWHMemo='h' And bWHPos=1");
}

TEST(FilterCondition, QuotaIsRoundedToTheDigitsTypedAfterThePoint)
{
    EXPECT_EQ(buildCondition(texts({{5, "12.5"}}), Positions::Any),
              "round(iWHFundQuota,1) =12.5");
    // No point: the whole length counts as decimals.
    EXPECT_EQ(buildCondition(texts({{5, "100"}}), Positions::Any),
              "round(iWHFundQuota,3) =100");
    EXPECT_EQ(filtercolumns::quotaDecimals("3.14159"), 5);
    EXPECT_EQ(filtercolumns::quotaDecimals("1.2.3"), 3);
    EXPECT_EQ(filtercolumns::quotaDecimals("5."), 0);
}

TEST(FilterCondition, TextsAreUsedAsTypedWithTheirQuotesDoubled)
{
    EXPECT_EQ(buildCondition(texts({{8, "   "}}), Positions::Any), "cWHMemo='   '");
    EXPECT_EQ(buildCondition(texts({{1, "x' Or 'a'='a"}}), Positions::Any),
              "cWHName='x'' Or ''a''=''a'");
    EXPECT_EQ(buildCondition(texts({{1, "A|B "}}), Positions::Any), "cWHName='A|B '");
    // A quota that is not a number (only possible by bypassing the box) is
    // compared as a text and cannot add to the statement.
    EXPECT_EQ(buildCondition(texts({{5, "1 Or 1=1"}}), Positions::Any),
              "round(iWHFundQuota,8) ='1 Or 1=1'");
}

TEST(FilterCondition, ValueListStatementsJoinTheDepartmentName)
{
    // Selected column and order column of each value button, top to bottom.
    const std::array<std::pair<const char *, const char *>, filtercolumns::Count> rows{{
        {"cWHCode", "cWhCode"},         {"cWHName", "cWhName"},
        {"cDepCode", "cDepCode"},       {"cWHPerson", "cWhPerson"},
        {"cWHPhone", "cWhPhone"},       {"iWHFundQuota", "iWHFundQuota"},
        {"cWHValueStyle", "cWHValueStyle"}, {"cWHAddress", "cWHAddress"},
        {"cWHMemo", "cWHMemo"},
    }};
    for (int row = 0; row < filtercolumns::Count; ++row) {
        const auto &[column, order] = rows.at(size_t(row));
        EXPECT_EQ(filtercolumns::valueListStatement(row),
                  QStringLiteral("SELECT Distinct Warehouse.%1,Department.cDepName FROM "
                                 "Department RIGHT JOIN Warehouse ON Department.cDepCode = "
                                 "Warehouse.cDepCode Order By Warehouse.%2")
                      .arg(QLatin1String(column), QLatin1String(order)))
            << row;
    }
    // The department's button lists names, not the codes it selects.
    EXPECT_STREQ(filtercolumns::columns().at(2).listField, "cDepName");
}

} // namespace
