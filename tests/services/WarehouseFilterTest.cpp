// The condition a warehouse filter turns into and the statements the list's
// reads run.
#include "services/WarehouseQueries.h"

#include <gtest/gtest.h>

using services::FilterPositions;
using services::WarehouseFilter;

namespace {

QString condition(std::initializer_list<std::pair<int, QString>> set,
                  FilterPositions positions = FilterPositions::Any)
{
    WarehouseFilter filter;
    for (const auto &[field, text] : set)
        filter.texts.at(size_t(field)) = text;
    filter.positions = positions;
    return services::filterCondition(filter);
}

TEST(WarehouseFilter, PositionPartFollowsTheBoxAndTheLeadingAndIsDropped)
{
    EXPECT_EQ(condition({}), "");
    EXPECT_EQ(condition({}, FilterPositions::NotManaged), "(bWHPos=0 Or bWHPos Is Null)");
    EXPECT_EQ(condition({{0, "01"}, {1, "Main store"}}, FilterPositions::NotManaged),
              "cWHCode='01' And cWHName='Main store' And (bWHPos=0 Or bWHPos Is Null)");
    // Every field in table order, the department compared by name.
    EXPECT_EQ(condition({{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "e"}, {5, "7"},
                         {6, "f"}, {7, "g"}, {8, "h"}},
                        FilterPositions::Managed),
              "cWHCode='a' And cWHName='b' And cDepName='c' And cWHPerson='d' And "
              "cWHPhone='e' And round(iWHFundQuota,1) =7 And cWHValueStyle='f' And "
              "cWHAddress='g' And cWHMemo='h' And bWHPos=1");
}

TEST(WarehouseFilter, QuotaIsRoundedToTheDigitsTypedAfterThePoint)
{
    EXPECT_EQ(condition({{5, "12.5"}}), "round(iWHFundQuota,1) =12.5");
    // No point: the whole length counts as decimals.
    EXPECT_EQ(condition({{5, "100"}}), "round(iWHFundQuota,3) =100");
    EXPECT_EQ(services::quotaDecimals("3.14159"), 5);
    EXPECT_EQ(services::quotaDecimals("1.2.3"), 3);
    EXPECT_EQ(services::quotaDecimals("5."), 0);
}

TEST(WarehouseFilter, TextsAreUsedAsTypedWithTheirQuotesDoubled)
{
    EXPECT_EQ(condition({{8, "   "}}), "cWHMemo='   '");
    EXPECT_EQ(condition({{1, "x' Or 'a'='a"}}), "cWHName='x'' Or ''a''=''a'");
    EXPECT_EQ(condition({{1, "A|B "}}), "cWHName='A|B '");
    // A quota that is not a number (only possible by bypassing the box) is
    // compared as a text and cannot add to the statement.
    EXPECT_EQ(condition({{5, "1 Or 1=1"}}), "round(iWHFundQuota,8) ='1 Or 1=1'");
}

TEST(WarehouseFilter, StatementsJoinTheDepartmentName)
{
    using services::WarehouseQueries;
    EXPECT_EQ(WarehouseQueries::listStatement(),
              "SELECT Department.cDepName, Warehouse.* FROM Department RIGHT JOIN Warehouse ON "
              "Department.cDepCode = Warehouse.cDepCode Order By Warehouse.cWhCode");
    // The filtered list: the join ends in two blanks, the condition follows
    // " where " with one blank after it; an empty filter adds no WHERE.
    QVariantList values;
    EXPECT_EQ(WarehouseQueries::filteredListStatement({}, values),
              "SELECT Department.cDepName, Warehouse.* FROM Department RIGHT JOIN Warehouse ON "
              "Department.cDepCode = Warehouse.cDepCode  Order By Warehouse.cWhCode");
    WarehouseFilter managed;
    managed.positions = FilterPositions::Managed;
    EXPECT_EQ(WarehouseQueries::filteredListStatement(managed, values),
              "SELECT Department.cDepName, Warehouse.* FROM Department RIGHT JOIN Warehouse ON "
              "Department.cDepCode = Warehouse.cDepCode   where bWHPos=1 Order By "
              "Warehouse.cWhCode");
    // Texts are bound; a quota that is a number stays written in.
    WarehouseFilter typed;
    typed.text(services::FilterField::Name) = "x' Or 'a'='a";
    typed.text(services::FilterField::FundQuota) = "12.5";
    EXPECT_EQ(services::filterCondition(typed, values),
              "cWHName=? And round(iWHFundQuota,1) =12.5");
    EXPECT_EQ(values, QVariantList{"x' Or 'a'='a"});
    EXPECT_EQ(WarehouseQueries::codeCriterion("O'1"), "cWhCode='O''1'");

    // Selected column and order column of each value button, top to bottom.
    const std::array<std::pair<const char *, const char *>, WarehouseFilter::FieldCount> rows{{
        {"cWHCode", "cWhCode"},         {"cWHName", "cWhName"},
        {"cDepCode", "cDepCode"},       {"cWHPerson", "cWhPerson"},
        {"cWHPhone", "cWhPhone"},       {"iWHFundQuota", "iWHFundQuota"},
        {"cWHValueStyle", "cWHValueStyle"}, {"cWHAddress", "cWHAddress"},
        {"cWHMemo", "cWHMemo"},
    }};
    for (int field = 0; field < WarehouseFilter::FieldCount; ++field) {
        const auto &[column, order] = rows.at(size_t(field));
        EXPECT_EQ(WarehouseQueries::valueListStatement(services::FilterField(field)),
                  QStringLiteral("SELECT Distinct Warehouse.%1,Department.cDepName FROM "
                                 "Department RIGHT JOIN Warehouse ON Department.cDepCode = "
                                 "Warehouse.cDepCode Order By Warehouse.%2")
                      .arg(QLatin1String(column), QLatin1String(order)))
            << field;
    }
}

} // namespace
