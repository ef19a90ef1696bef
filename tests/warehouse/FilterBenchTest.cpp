// Filter and find on 100,000 warehouses beside the raw time of the same SQL
// through the same connection. Prints its figures; asserts only the results,
// never the times.
#include "WarehouseFixture.h"

#include "filter/frmFilter.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>

using namespace whtest;

namespace {

constexpr int Warehouses = 100000;
constexpr int Runs = 3;

class FilterBench : public WarehouseFixture {
protected:
    void TearDown() override
    {
        // The dialog keeps the login it was given; let the account go.
        frmFilter::shared().dbs.reset();
        WarehouseFixture::TearDown();
    }

    // Confirms the dialog of a list command with a code typed (or nothing)
    // and returns the milliseconds from the confirm click to the command's end.
    double confirmCommand(const QString &key, const QString &code)
    {
        QElapsedTimer timer;
        m_seam->expectWindow(QStringLiteral("frmFilter"), [&](QDialog *w) {
            if (!code.isEmpty())
                typeText(control<QComboBox>(w, "cboWHCode"), code);
            timer.start();
            QTest::mouseClick(control<QPushButton>(w, "cmdYes"), Qt::LeftButton);
        });
        list().OnToolbarCommand(key);
        const double ms = timer.nsecsElapsed() / 1e6;
        EXPECT_TRUE(m_seam->verifyDone());
        return ms;
    }
};

TEST_P(FilterBench, PrintsFigures)
{
    GenerateWarehouses(*m_login, Warehouses, 100);
    openListDataSet(false);
    const QString filtered = frmWHBrowse::filteredListStatement(QStringLiteral("bWHPos=0"));
    const QString whole = frmWHBrowse::listStatement();
    runList([&](frmWHBrowse &l) {
        double filterMs = 1e9, rawFilterMs = 1e9, findMs = 1e9, rawListMs = 1e9;
        long filteredRows = 0, listRows = 0;
        for (int run = 0; run < Runs; ++run) {
            filterMs = std::min(filterMs, confirmCommand("TlbFilter", QString()));
            rawFilterMs = std::min(rawFilterMs, rawQueryMs(filtered, filteredRows));
            // A code near the end: the longest walk over the grid.
            findMs = std::min(findMs, confirmCommand("TlbFind", "100089"));
            rawListMs = std::min(rawListMs, rawQueryMs(whole, listRows));
        }
        EXPECT_EQ(grid().Rows() - 1, filteredRows);
        EXPECT_EQ(NullToEmpty(l.mRecObject->Fields("cWhCode")), "100089");
        std::printf("filter  %ld of %ld warehouses, confirm to grid refilled: %.1f ms; "
                    "raw filtered query: %.1f ms; ratio %.2f (target <= 2)\n",
                    filteredRows, listRows, filterMs, rawFilterMs, filterMs / rawFilterMs);
        std::printf("find    last-but-ten of %ld warehouses, confirm to row selected: %.1f ms; "
                    "raw list query: %.1f ms; ratio %.2f (target <= 1.5)\n",
                    listRows, findMs, rawListMs, findMs / rawListMs);
        l.OnToolbarCommand("TlbExit");
    });
}

INSTANTIATE_TEST_SUITE_P(SQLite, FilterBench,
                         ::testing::Values(testsupport::TestEngine::SQLite), engineLabel);

} // namespace
