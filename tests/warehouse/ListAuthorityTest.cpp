// The warehouse list's rights button opens the authority list over it.
#include "WarehouseFixture.h"

#include "authority/AuthorityList.h"

#include <QDir>
#include <QPixmap>

using namespace depotbase;

using namespace whtest;

using ListAuthorityTest = WarehouseFixture;

TEST_P(ListAuthorityTest, RightsButtonOpensTheAuthorityListModallyOverTheList)
{
    runList([&](frmWHBrowse &l) {
        m_seam->expectWindow("FrmWHAuth", [&](QDialog *window) {
            EXPECT_EQ(window->parentWidget(), &l);
            auto *rights = control<SuperGrid>(window, "SpGrdWAuth");
            ASSERT_NE(rights, nullptr);
            EXPECT_EQ(rights->Rows(), 11);
            EXPECT_EQ(rights->TextMatrix(1, 0), "张伟");
        });
        click("TlbAuth");
        EXPECT_EQ(grid().Rows(), 13);  // the warehouse list is as it was
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, ListAuthorityTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);

// Run by hand:
//   DEPOTBASE_DOCS_DIR=docs xvfb-run -a test_warehouse -platform xcb
//     --gtest_also_run_disabled_tests
//     --gtest_filter='*AuthorityListPicture*'
// (one command line) writes the picture of the authority list on the demo
// account into docs/; run it on a display (xvfb-run and -platform xcb), as
// the list sizes itself to the screen.
using AuthorityListDocs = WarehouseFixture;

TEST_P(AuthorityListDocs, DISABLED_AuthorityListPicture)
{
    const QString docs = qEnvironmentVariable("DEPOTBASE_DOCS_DIR");
    if (docs.isEmpty())
        GTEST_SKIP() << "DEPOTBASE_DOCS_DIR names the folder to write into";
    QDir().mkpath(docs);
    runList([&](frmWHBrowse &) {
        m_seam->expectWindow("FrmWHAuth", [&](QDialog *window) {
            QApplication::processEvents();
            EXPECT_TRUE(window->grab().save(QDir(docs).absoluteFilePath("authority-list.png")));
        });
        click("TlbAuth");
    });
}

INSTANTIATE_TEST_SUITE_P(SQLite, AuthorityListDocs,
                         ::testing::Values(testsupport::TestEngine::SQLite), engineLabel);
