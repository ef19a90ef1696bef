// A long list: its window shows the first screen at once while the rest is
// read on a login of its own; commands that need every row wait for it.
#include "OtherSeat.h"
#include "WarehouseFixture.h"

#include "services/ChangeFeed.h"
#include "services/WarehouseListRead.h"
#include "suite/dbkit/BackgroundRead.h"

#include <QHeaderView>
#include <QTableView>

using namespace whtest;
namespace list_read = services::warehouse_list;

namespace {

constexpr int Generated = 20000;
constexpr int DemoWarehouses = 12;

class ListFullReadTest : public WarehouseFixture {
protected:
    void SetUp() override
    {
        WarehouseFixture::SetUp();
        GenerateWarehouses(*m_login, Generated, 100);
        openAsInitDoes();
    }

    // What the component's Init does with a long list.
    void openAsInitDoes()
    {
        frmWHBrowse &l = list();
        const QString statement = services::WarehouseQueries::listStatement();
        l.mRecObject = OpenListDataSet(
            *m_login, list_read::firstScreenStatement(*m_login, statement), false,
            LoadResString(51));
        ASSERT_NE(l.mRecObject, nullptr);
        l.followFullRead(list_read::readRest(*m_login, *l.mRecObject, statement));
    }

    int shownRows() { return grid().Rows() - 1; }
};

// Closing the window cancels a read still under way: here one that only a
// cancel ends, so a close that did not cancel it would wait for ever.
TEST_P(ListFullReadTest, ClosingWhileReadingCancelsTheRead)
{
    list().followFullRead(std::make_unique<list_read::FullRead>(
        std::make_unique<dbkit::BackgroundRead>(
            m_db->url(), "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                         "WHERE i < 2000000000) SELECT i FROM n")));
    runList([&](frmWHBrowse &l) {
        EXPECT_EQ(shownRows(), list_read::firstScreenRows);
        EXPECT_TRUE(l.windowTitle().startsWith(QStringLiteral("仓库档案（正在读取… ")));
        l.OnToolbarCommand("TlbExit");
    });
    // The list opens again, and reads again.
    openAsInitDoes();
    runList([&](frmWHBrowse &l) {
        ASSERT_TRUE(l.FLast());
        EXPECT_EQ(shownRows(), Generated + DemoWarehouses);
        l.OnToolbarCommand("TlbExit");
    });
}

// A title click sorts every row, not the first screen: the read ends first,
// and the current row stays the warehouse it was.
TEST_P(ListFullReadTest, ASortWhileReadingSortsEveryRow)
{
    runList([&](frmWHBrowse &l) {
        select(3);
        const QString current = grid().TextMatrix(3, 0);
        QHeaderView *header = grid().findChild<QTableView *>()->horizontalHeader();
        const int x = header->sectionViewportPosition(0) + 5;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, 5));
        EXPECT_EQ(shownRows(), Generated + DemoWarehouses);
        EXPECT_EQ(grid().TextMatrix(grid().Row(), 0), current);
        EXPECT_EQ(grid().TextMatrix(shownRows(), 0), "020099");
        EXPECT_EQ(l.windowTitle(),
                  QStringLiteral("仓库档案（共 %1 个仓库）").arg(Generated + DemoWarehouses));
        l.OnToolbarCommand("TlbExit");
    });
}

// A refresh while reading waits for the read; a long list is then read again
// behind the rows it shows, and shows every row as the table holds them then.
TEST_P(ListFullReadTest, ARefreshWhileReadingShowsEveryRow)
{
    runList([&](frmWHBrowse &l) {
        m_login->Execute("DELETE FROM Warehouse WHERE cWhCode = '000100'");
        click(QStringLiteral("TlbRefresh"));
        EXPECT_TRUE(l.windowTitle().startsWith(QStringLiteral("仓库档案（正在读取… ")));
        ASSERT_TRUE(l.waitForEveryRow());
        EXPECT_EQ(shownRows(), Generated + DemoWarehouses - 1);
        EXPECT_EQ(rowOf("000100"), -1);
        l.OnToolbarCommand("TlbExit");
    });
}

// A read that fails (here: its login cannot reach the database) is told as
// the window takes it; the window goes on with the rows it shows, and
// reading again reads them all.
TEST_P(ListFullReadTest, AFailedReadIsToldAndTheWindowGoesOn)
{
    const QString unreachable = testsupport::isServerEngine(GetParam())
                                    ? "postgresql://postgres@127.0.0.1:1/none"
                                    : "sqlite:/no/such/folder/account.db";
    list().followFullRead(
        std::make_unique<list_read::FullRead>(std::make_unique<dbkit::BackgroundRead>(
            unreachable, services::WarehouseQueries::listStatement())));
    m_seam->expectWindow(QStringLiteral("frmWHBrowse"), [&](QDialog *) {
        frmWHBrowse &l = list();
        ASSERT_TRUE(l.waitForEveryRow());
        EXPECT_TRUE(m_seam->shownMessages().last().startsWith("仓库档案未能全部读取："));
        EXPECT_EQ(shownRows(), list_read::firstScreenRows);
        click(QStringLiteral("TlbRefresh"));
        ASSERT_TRUE(l.waitForEveryRow());
        EXPECT_EQ(shownRows(), Generated + DemoWarehouses);
        l.OnToolbarCommand("TlbExit");
    });
    m_seam->expectMessage(QString(), modal::Icon::Critical, modal::Buttons::Ok, caption(),
                          modal::Answer::Ok);
    list().ShowList();
    EXPECT_TRUE(m_seam->verifyDone());
}

// Changes another seat makes after the read has read its rows are kept until
// the window takes those rows, and shown then.
TEST_P(ListFullReadTest, ChangesMadeWhileReadingAreShownOnceTheRowsAreTaken)
{
    // As the component's Init does: the list follows before it reads.
    frmWHBrowse &l = list();
    l.mRecObject.reset();
    l.followChanges();
    const QString statement = services::WarehouseQueries::listStatement();
    l.mRecObject = OpenListDataSet(*m_login, list_read::firstScreenStatement(*m_login, statement),
                                   false, LoadResString(51));
    std::unique_ptr<list_read::FullRead> read =
        list_read::readRest(*m_login, *l.mRecObject, statement);
    ASSERT_TRUE(QTest::qWaitFor([&] { return read->finished(); }, 60000));
    l.followFullRead(std::move(read));

    // The test follows the list's feed too, and is told after the list.
    size_t told = 0;
    const auto following = services::ChangeFeed::follow(
        services::Account(m_login), [&](const services::ChangeFeed::Changes &changes) {
            told += changes.size();
        });
    OtherSeat other(*m_db);
    other.add("F1", QStringLiteral("跟随仓"));
    other.change("01", [](services::WarehouseRecord &w) { w.name = QStringLiteral("原材料库二"); });
    other.remove("09");
    following->askNow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return told >= 3; }, 10000));

    runList([&](frmWHBrowse &) {
        ASSERT_TRUE(l.waitForEveryRow());
        EXPECT_GT(rowOf("F1"), 0);
        EXPECT_EQ(grid().TextMatrix(rowOf("01"), 1), QStringLiteral("原材料库二"));
        EXPECT_EQ(rowOf("09"), -1);
        EXPECT_EQ(shownRows(), Generated + DemoWarehouses);
        l.OnToolbarCommand("TlbExit");
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, ListFullReadTest,
                         ::testing::ValuesIn(testsupport::allEngines()), engineLabel);

} // namespace
