// The rules between the rights of one operator on one warehouse, as values.
#include "services/RightRules.h"

#include <gtest/gtest.h>

using namespace services;
using namespace services::rightrules;

namespace {

NarrowedRight classRight(const QString &cls)
{
    return {0, cls, {}, {}};
}

NarrowedRight itemRight(const QString &item, const QString &itemClass)
{
    return {0, {}, item, itemClass};
}

const NarrowedRight whole{};

} // namespace

TEST(RightRules, ClassesAndItemsOfOnePairNeverCrossWhicheverCameFirst)
{
    EXPECT_TRUE(classWithin("0101", "01"));
    EXPECT_TRUE(classWithin("01", "01"));
    EXPECT_FALSE(classWithin("01", "0101"));
    EXPECT_FALSE(classWithin("02", "01"));
    EXPECT_FALSE(classWithin("", "01"));
    EXPECT_FALSE(classWithin("01", ""));

    // A class beside a class it nests with, both ways; siblings are fine.
    EXPECT_TRUE(crosses(classRight("0101"), classRight("01")));
    EXPECT_TRUE(crosses(classRight("01"), classRight("0101")));
    EXPECT_FALSE(crosses(classRight("0102"), classRight("0101")));
    // An item inside a class right's class or beneath it, both ways.
    EXPECT_TRUE(crosses(itemRight("010101", "0101"), classRight("0101")));
    EXPECT_TRUE(crosses(itemRight("01010101", "010101"), classRight("01")));
    EXPECT_TRUE(crosses(classRight("01"), itemRight("01010101", "010101")));
    EXPECT_FALSE(crosses(itemRight("010201", "0102"), classRight("0101")));
    EXPECT_FALSE(crosses(itemRight("X", ""), classRight("01")));
    EXPECT_FALSE(crosses(itemRight("010101", "0101"), itemRight("010102", "0101")));
    // A whole-warehouse right crosses every other; a narrowed right beside a
    // whole-warehouse one is allowed (the most specific right decides).
    EXPECT_TRUE(crosses(whole, classRight("02")));
    EXPECT_FALSE(crosses(classRight("02"), whole));
    EXPECT_FALSE(crosses(itemRight("010101", "0101"), whole));
}

TEST(RightRules, CheckTellsDuplicateBeforeOverlapWithTheFieldConcerned)
{
    const std::vector<NarrowedRight> stored{classRight("0101"), itemRight("020101", "0201")};

    ServiceResult result = check(itemRight("020101", "0201"), stored);
    EXPECT_EQ(result.refusal, Refusal::Duplicate);
    EXPECT_EQ(result.message, duplicateMessage());
    EXPECT_EQ(result.field, "cInvCode");

    result = check(classRight("02"), stored);
    EXPECT_EQ(result.refusal, Refusal::Overlap);
    EXPECT_EQ(result.message, overlapMessage());
    EXPECT_EQ(result.field, "cInvCCode");
    EXPECT_EQ(overlapMessage().count(QChar(13)), 3);

    // A whole warehouse beside narrowed rights says how to mend it.
    result = check(whole, stored);
    EXPECT_EQ(result.refusal, Refusal::WholeBesideNarrowed);
    EXPECT_EQ(result.message, wholeBesideNarrowedMessage());
    EXPECT_EQ(result.field, "cWhCode");
    EXPECT_EQ(check(whole, {whole, classRight("0101")}).message, duplicateMessage());

    EXPECT_TRUE(check(classRight("0102"), stored).done());
    EXPECT_TRUE(check(whole, {}).done());
}

// The editor's rows: the same other side, class and item twice is one right
// listed twice; a quote in a code is part of the code, not a separator.
TEST(RightRules, ListedOnceComparesSideClassAndItem)
{
    const std::vector<ListedRight> listed{
        {"01", "0101", ""}, {"01", "", "010101"}, {"01", "0101", ""}, {"a'", "b", ""},
        {"a", "'b", ""}};
    EXPECT_FALSE(listedOnce(listed, 0));
    EXPECT_FALSE(listedOnce(listed, 2));
    EXPECT_TRUE(listedOnce(listed, 1));
    EXPECT_TRUE(listedOnce(listed, 3));
    EXPECT_TRUE(listedOnce(listed, 5)) << "no right is listed there";
}
