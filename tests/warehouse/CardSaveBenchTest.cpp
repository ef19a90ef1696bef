// Saving one warehouse on an account of 100,000, adding and changing, from
// F6 to the grid updated, beside one raw run of the list statement through
// the same connection. Prints its figures; asserts only the results.
#include "WarehouseFixture.h"

#include <algorithm>
#include <cstdio>

using namespace whtest;

namespace {

constexpr int Warehouses = 100000;
constexpr int Runs = 3;

} // namespace

class CardSaveBench : public WarehouseFixture {};

TEST_P(CardSaveBench, PrintsFigures)
{
    GenerateWarehouses(*m_login, Warehouses, 100);
    openListDataSet(false);
    double addMs = 1e9, editMs = 1e9, rawMs = 1e9, requeryMs = 1e9;
    long rows = 0;
    runList([&](frmWHBrowse &l) {
        const int listed = grid().Rows();
        for (int run = 0; run < Runs; ++run) {
            expectCard([&](QDialog *card) {
                retype(card, "EdtcWhCode", QStringLiteral("B%1").arg(run));
                retype(card, "EdtcWhName", "测速新库");
                QElapsedTimer timer;
                timer.start();
                pressKey(card, Qt::Key_F6);
                addMs = std::min(addMs, timer.nsecsElapsed() / 1e6);
                pressKey(card, Qt::Key_Escape);
            });
            click("TlbAdd");
            EXPECT_EQ(grid().Rows(), listed + run + 1);

            select(50000 + run);
            const QString code = grid().TextMatrix(50000 + run, 0);
            expectCard([&](QDialog *card) {
                retype(card, "EdtcWhName", QStringLiteral("改名%1").arg(run));
                QElapsedTimer timer;
                timer.start();
                pressKey(card, Qt::Key_F6);
                editMs = std::min(editMs, timer.nsecsElapsed() / 1e6);
                pressKey(card, Qt::Key_Escape);
            });
            click("TlbEdit");
            EXPECT_EQ(grid().TextMatrix(50000 + run, 1), QStringLiteral("改名%1").arg(run));
            EXPECT_EQ(warehouseField(code, "cWhName"), QStringLiteral("改名%1").arg(run));

            rawMs = std::min(rawMs, rawQueryMs(frmWHBrowse::listStatement(), rows));
            QElapsedTimer timer;
            timer.start();
            l.mRecObject->Requery(-1);
            requeryMs = std::min(requeryMs, timer.nsecsElapsed() / 1e6);
        }
    });
    const std::string engine = testsupport::engineName(GetParam());
    std::printf("[bench %s] card save, add (F6 to grid row added): %.1f ms\n", engine.c_str(),
                addMs);
    std::printf("[bench %s] card save, edit (F6 to grid row rewritten): %.1f ms\n",
                engine.c_str(), editMs);
    std::printf("[bench %s] list data set Requery: %.1f ms\n", engine.c_str(), requeryMs);
    std::printf("[bench %s] raw list statement, %ld rows read: %.1f ms\n", engine.c_str(), rows,
                rawMs);
}

INSTANTIATE_TEST_SUITE_P(Engines, CardSaveBench, ::testing::ValuesIn(testsupport::allEngines()),
                         engineLabel);
