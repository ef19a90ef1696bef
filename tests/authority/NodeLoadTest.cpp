// A node's rights are read off the window's thread: the node chosen last is
// the one shown, and a load that fails leaves the window usable.
#include "AuthorityFixture.h"

#include <QSignalSpy>

using namespace authtest;

class NodeLoad : public AuthorityFixture {};

TEST_P(NodeLoad, ASecondClickDuringALoadShowsTheSecondNodeOnly)
{
    runEditor([](FrmAuthority &e) {
        QSignalSpy ended(&e, &FrmAuthority::nodeLoadEnded);
        // Both clicks come before the window's thread takes any result.
        e.NodeClick(e.node("c001"));
        EXPECT_TRUE(e.nodeLoading());
        EXPECT_FALSE(e.toolbarButton("addbut")->isEnabled()) << "no rows to check a new one";
        e.NodeClick(e.node("c005"));
        e.waitForNode();
        EXPECT_EQ(ended.count(), 1) << "001's rights were never shown";
        EXPECT_EQ(e.rows().node.code, "005");
        ASSERT_EQ(e.authGrid()->Rows(), 3);
        EXPECT_EQ(e.authGrid()->TextMatrix(1, 0), "05");
        EXPECT_EQ(e.rows().lastSavedRow, 2);
        EXPECT_TRUE(e.toolbarButton("addbut")->isEnabled());
    });
}

TEST_P(NodeLoad, AFailedLoadIsToldAndTheWindowStaysUsable)
{
    runEditor([this](FrmAuthority &e) {
        m_login->Execute("ALTER TABLE WarehAuth RENAME TO WarehAuthAway");
        expectStop("");
        clickNode(e, "c001");
        ASSERT_FALSE(m_seam->shownMessages().isEmpty());
        EXPECT_TRUE(m_seam->shownMessages().last().startsWith(
            "仓库权限未能读取或保存，请稍后重试；如仍不成功，请与系统管理员联系。"));
        EXPECT_FALSE(e.nodeLoading());
        EXPECT_EQ(e.authGrid()->Rows(), 1);
        EXPECT_FALSE(e.toolbarButton("addbut")->isEnabled());

        m_login->Execute("ALTER TABLE WarehAuthAway RENAME TO WarehAuth");
        clickNode(e, "c001");
        EXPECT_EQ(e.authGrid()->Rows(), 3);
        EXPECT_TRUE(e.toolbarButton("addbut")->isEnabled());
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, NodeLoad, ::testing::ValuesIn(testsupport::windowEngines()),
                         engineLabel);
