#include "component/LXWareHouse.h"
#include "data/AccountSetup.h"
#include "data/ModuleState.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "support/SeamScript.h"
#include "support/TestDatabases.h"
#include "warehouse/WarehouseList.h"

#include <QCoreApplication>
#include <QDialog>
#include <gtest/gtest.h>

using namespace depotbase;

using testsupport::TempDatabase;
using testsupport::TestEngine;

namespace {

class ComponentTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        db = std::make_unique<TempDatabase>(GetParam());
        login = db->connect("demo", "PC-1");
        CreateAccountSchema(*login, true);
        blnBasicVersion = false;
    }
    void TearDown() override { blnBasicVersion = false; }

    // What the component's list showed when Show ran it; the user closes it.
    struct ShownList {
        int rows = -1;
        bool readOnly = false;
        dbkit::DbLoginPtr login;
    };

    ShownList show(LXWareHouse &component)
    {
        ShownList shown;
        testsupport::SeamScript seam;
        seam->expectWindow("frmWHBrowse", [&](QDialog *window) {
            auto *list = static_cast<frmWHBrowse *>(window);
            shown = {list->SpGrdWH()->Rows(), list->isReadOnly(), list->dbs.shared()};
            list->OnToolbarCommand("TlbExit");
            EXPECT_FALSE(window->isVisible());
        });
        component.Show();
        return shown;
    }

    // Show refuses: the user is told and no window opens.
    static void expectShowRefused(LXWareHouse &component)
    {
        testsupport::SeamScript seam;
        seam->expectMessage("仓库档案未能打开：请先用有效的账套登录初始化后再显示。",
                            modal::Icon::Critical, modal::Buttons::Ok, "提示信息",
                            modal::Answer::Ok);
        component.Show();
    }

    int warehouses()
    {
        return login->OpenDataSet("select count(*) from Warehouse")->Fields(0).toInt();
    }

    std::unique_ptr<TempDatabase> db;
    dbkit::DbLoginPtr login;
};

TEST_P(ComponentTest, InitOpensTheListReadWriteOrReadOnly)
{
    LXWareHouse component;
    ASSERT_TRUE(component.Init(login, false));
    EXPECT_EQ(component.mdbObject, login);
    EXPECT_FALSE(component.blnReadOnly);
    const ShownList writable = show(component);
    EXPECT_EQ(writable.login, login);
    EXPECT_FALSE(writable.readOnly);
    EXPECT_GT(writable.rows, 6);

    ASSERT_TRUE(component.Init(login, true));
    EXPECT_TRUE(component.blnReadOnly);
    EXPECT_TRUE(show(component).readOnly);
}

TEST_P(ComponentTest, InitOnAnEmptyWarehouseTableStillSucceeds)
{
    login->Execute("DELETE FROM StockMove");
    login->Execute("DELETE FROM Position");
    login->Execute("DELETE FROM Warehouse");
    LXWareHouse component;
    EXPECT_TRUE(component.Init(login, false));
    EXPECT_EQ(show(component).rows, 1);
}

TEST_P(ComponentTest, InitWhileAnotherOperatorHoldsTheTableTellsOnceAndFails)
{
    auto other = db->connect("other", "PC-2");
    // An exclusive writer on SQLite blocks every reader of the file; on
    // PostgreSQL an ACCESS EXCLUSIVE table lock does.
    if (GetParam() == TestEngine::SQLite) {
        other->Execute("BEGIN EXCLUSIVE");
    } else {
        other->BeginTrans();
        other->Execute("LOCK TABLE Warehouse IN ACCESS EXCLUSIVE MODE");
    }
    LXWareHouse component;
    {
        testsupport::SeamScript seam;
        seam->expectMessage("别的用户以独占方式打开数据库，不能打开表！仓库",
                            modal::Icon::Critical, modal::Buttons::Ok, "提示信息",
                            modal::Answer::Ok);
        EXPECT_FALSE(component.Init(login, false));
    }
    expectShowRefused(component);
    if (GetParam() == TestEngine::SQLite)
        other->Execute("ROLLBACK");
    else
        other->RollbackTrans();
}

TEST_P(ComponentTest, ShowWithoutASuccessfulInitTellsTheUserAndShowsNoWindow)
{
    LXWareHouse component;
    expectShowRefused(component);
}

TEST_P(ComponentTest, ShowRunsTheListUntilItsExitCommandAndUnloadsIt)
{
    LXWareHouse component;
    ASSERT_TRUE(component.Init(login, false));
    EXPECT_EQ(show(component).rows, warehouses() + 1);
    // Unloading released the data set: a second Show needs a new Init.
    expectShowRefused(component);
}

// Each component has a list of its own: one's Init shows nothing in another.
TEST_P(ComponentTest, TwoComponentsEachOwnTheirList)
{
    LXWareHouse first;
    LXWareHouse second;
    ASSERT_TRUE(first.Init(login, true));
    expectShowRefused(second);
    ASSERT_TRUE(second.Init(login, false));
    EXPECT_TRUE(show(first).readOnly);
    EXPECT_FALSE(show(second).readOnly);
}

INSTANTIATE_TEST_SUITE_P(Engines, ComponentTest, ::testing::ValuesIn(testsupport::allEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });

// A host without a translator of its own gets Qt's dialogs in Chinese once the
// component starts: the page set-up's and the file dialog's texts.
TEST_P(ComponentTest, StartingTheComponentPutsQtsDialogsIntoChinese)
{
    LXWareHouse component;
    ASSERT_TRUE(component.Init(login, false));
    EXPECT_EQ(QCoreApplication::translate("QPageSetupWidget", "Paper"), QStringLiteral("纸张"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"),
              QStringLiteral("File &name:"));
}

TEST(ComponentBasicVersion, SetBasicVersionSetsTheModuleFlagAndReturnsEmpty)
{
    LXWareHouse component;
    EXPECT_FALSE(component.SetBasicVersion(true).isValid());
    EXPECT_TRUE(blnBasicVersion);
    EXPECT_FALSE(component.SetBasicVersion(false).isValid());
    EXPECT_FALSE(blnBasicVersion);
}

TEST(ComponentEntryPoints, CreateAndDestroyAnInstance)
{
    LXWareHouse *instance = depotbase_create_warehouse();
    ASSERT_NE(instance, nullptr);
    EXPECT_FALSE(instance->blnReadOnly);
    depotbase_destroy_warehouse(instance);
}

} // namespace
