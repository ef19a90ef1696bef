// The warehouse list's rights button opens the authority list over it.
#include "WarehouseFixture.h"

#include "authority/FrmWHAuth.h"

using namespace whtest;

using ListAuthorityTest = WarehouseFixture;

TEST_P(ListAuthorityTest, RightsButtonOpensTheAuthorityListModallyOverTheList)
{
    runList([&](frmWHBrowse &l) {
        m_seam->expectWindow("FrmWHAuth", [&](QDialog *window) {
            EXPECT_EQ(window->parentWidget(), &l);
            auto *rights = control<SuperGrid>(window, "SpGrdWAuth");
            ASSERT_NE(rights, nullptr);
            EXPECT_EQ(rights->Rows(), 6);
            EXPECT_EQ(rights->TextMatrix(1, 0), "张伟");
        });
        click("TlbAuth");
        EXPECT_EQ(grid().Rows(), 13);  // the warehouse list is as it was
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, ListAuthorityTest,
                         ::testing::ValuesIn(testsupport::allEngines()), engineLabel);
