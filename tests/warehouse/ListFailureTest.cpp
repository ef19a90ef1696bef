// The list when the database cannot serve it for a while: a lock release
// that fails is retried, and a refresh that fails or runs out of time is told
// while the grid keeps its rows.
#include "WarehouseFixture.h"

using namespace whtest;

class ListFailureTest : public WarehouseFixture {
protected:
    bool postgres() const { return testsupport::isServerEngine(GetParam()); }

    // Another operator holds what the lock release needs: on SQLite the
    // database's write lock, on PostgreSQL the lock rows.
    void blockLockRelease(dbkit::DbLogin &other)
    {
        other.BeginTrans();
        other.Execute(postgres() ? "SELECT cCode FROM LockRecords FOR UPDATE"
                                 : "UPDATE Warehouse SET cWhMemo=cWhMemo WHERE cWhCode='01'");
    }

    void expectReleaseFailure()
    {
        m_seam->expectMessage(QString(), modal::Icon::Exclamation, modal::Buttons::Ok, caption(),
                              modal::Answer::Ok);
    }
};

// A release the database refuses is told, kept, and tried again by the next
// command and by the closing of the list.
TEST_P(ListFailureTest, FailedLockReleaseIsRetried)
{
    dbkit::DbLoginPtr other = m_db->connect("other", "OTHERPC");
    runList([&](frmWHBrowse &l) {
        editCode("12", [&](QDialog *card) {
            EXPECT_EQ(locksHeld(), 1);
            blockLockRelease(*other);
            expectReleaseFailure();
            pressKey(card, Qt::Key_Escape);
        });
        EXPECT_TRUE(m_seam->verifyDone());
        EXPECT_TRUE(m_seam->shownMessages().last().startsWith("仓库档案的锁定暂时未能解除"));
        EXPECT_EQ(locksHeld(), 1);
        // Still busy: the next command tries and keeps it.
        click("TlbRefresh");
        other->RollbackTrans();
        EXPECT_EQ(locksHeld(), 1);
        click("TlbRefresh");
        EXPECT_EQ(locksHeld(), 0);

        // Failed again; the closing list releases it.
        editCode("11", [&](QDialog *card) {
            blockLockRelease(*other);
            expectReleaseFailure();
            pressKey(card, Qt::Key_Escape);
        });
        other->RollbackTrans();
        EXPECT_EQ(locksHeld(), 1);
        l.OnToolbarCommand("TlbExit");
    });
    EXPECT_EQ(locksHeld(), 0);
}

// Reading the list meets another operator holding the whole table; on
// PostgreSQL the statement's time limit ends the wait. The user is told, the
// rows stay, and once the table is free the refresh works again.
TEST_P(ListFailureTest, RefreshThatFailsIsToldAndTheRowsStay)
{
    dbkit::DbLoginPtr other = m_db->connect("other", "OTHERPC");
    if (postgres())
        m_login->Execute("SET statement_timeout = '300ms'");
    runList([&](frmWHBrowse &l) {
        const int rows = grid().Rows();
        other->Execute("INSERT INTO Warehouse (cWhCode, cWhName, bWhPos) VALUES ('13', '新', 0)");
        if (postgres()) {
            other->BeginTrans();
            other->Execute("LOCK TABLE Warehouse IN ACCESS EXCLUSIVE MODE");
        } else {
            other->Execute("BEGIN EXCLUSIVE");
        }
        m_seam->expectMessage(QString(), modal::Icon::Critical, modal::Buttons::Ok, caption(),
                              modal::Answer::Ok);
        click("TlbRefresh");
        EXPECT_TRUE(m_seam->verifyDone());
        EXPECT_TRUE(m_seam->shownMessages().last().startsWith("“刷新”未能完成，"));
        EXPECT_EQ(grid().Rows(), rows);
        EXPECT_EQ(grid().TextMatrix(1, 0), "01");
        if (postgres())
            other->RollbackTrans();
        else
            other->Execute("COMMIT");
        click("TlbRefresh");
        EXPECT_EQ(grid().Rows(), rows + 1);
        l.OnToolbarCommand("TlbExit");
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, ListFailureTest,
                         ::testing::ValuesIn(testsupport::windowEngines()), engineLabel);
