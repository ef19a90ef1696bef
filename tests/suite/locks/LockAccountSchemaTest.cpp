// The locks on the table as the account schema defines it (primary key,
// length checks, timestamp column), not only on the one the locks create.
#include "LockTestSupport.h"
#include "data/AccountSetup.h"

using namespace depotbase;

using namespace lockstest;

namespace {

class LockAccountTest : public LockTest {};

TEST_P(LockAccountTest, LocksWorkOnTheAccountSchemaTable)
{
    CreateAccountSchema(*alice, false);
    ASSERT_TRUE(lock(*alice, {"01", "it's"}));
    EXPECT_FALSE(lock(*bob, {"it's"}));
    EXPECT_FALSE(unlock(*bob, {"01"}));
    EXPECT_TRUE(lock(*alice, {"01"}));
    alice.reset();
    EXPECT_TRUE(lockWithin(*bob, {"it's", "01"}));
    EXPECT_TRUE(unlock(*bob, {"it's", "01"}));
    EXPECT_EQ(rowsFor("01") + rowsFor("it's"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, LockAccountTest,
                         ::testing::ValuesIn(testsupport::allEngines()), engineLabel);

} // namespace
