// depotbase-bench-live: an open list of 100,000 warehouses following another
// seat's changes. Prints (a) the window's time to show 1,000 changes (adds,
// changes and deletes mixed), the rows' read by key beside it, and (b) the
// time from another seat's commit to its change showing in the open list's
// grid, p50 and p99 over 100 changes, with the feed asking once a second.
//
//   depotbase-bench-live [--count N] [--runs R] [--pg postgresql://user@host:port/db]
#include "BenchSupport.h"
#include "GeneratedAccount.h"
#include "component/LXWareHouse.h"
#include "data/AccountSetup.h"
#include "services/ChangeFeed.h"
#include "services/WarehouseQueries.h"
#include "services/WarehouseService.h"
#include "suite/controls/SuperGrid.h"
#include "suite/locks/LockVouchDLL.h"
#include "suite/modal/ScriptedModalSeam.h"
#include "warehouse/WarehouseList.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace depotbase;

namespace {

constexpr int Adds = 400;
constexpr int Changes = 300;
constexpr int Deletes = 300;
constexpr int LatencyChanges = 100;

QString codeOf(int number)
{
    return QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'));
}

// Another operator's seat on the account, writing through the services.
class OtherSeat {
public:
    explicit OtherSeat(const QString &url)
        : m_login(dbkit::DbLogin::open(url + (url.contains('?') ? "&" : "?")
                                       + "operator=001&computer=PC-07")),
          m_warehouses(*m_login, m_locks, "PC-07")
    {
    }

    bool add(const QString &code)
    {
        services::WarehouseSave add;
        add.edited.code = code;
        add.edited.name = QStringLiteral("新增仓库") + code;
        add.edited.valueStyle = QStringLiteral("全月平均法");
        return m_warehouses.save(add).result.done();
    }

    bool rename(const QString &code, const QString &name)
    {
        if (!m_warehouses.locks().lock(code))
            return false;
        services::WarehouseSave change;
        change.adding = false;
        change.original = *m_warehouses.read(code);
        change.edited = change.original;
        change.edited.name = name;
        const bool done = m_warehouses.save(change).result.done();
        m_warehouses.locks().unlock(code);
        return done;
    }

    bool remove(const QString &code) { return m_warehouses.remove(code).done(); }

private:
    dbkit::DbLoginPtr m_login;
    LockVouchDLL m_locks;
    services::WarehouseService m_warehouses;
};

int rowOf(const SuperGrid &grid, const QString &code)
{
    for (int row = 1; row < grid.Rows(); ++row)
        if (grid.TextMatrix(row, 0) == code)
            return row;
    return -1;
}

// Lets the window's thread run until `done` holds; false after 30 s.
bool runUntil(const std::function<bool()> &done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 30000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::usleep(200);
    }
    return true;
}

// (a) 1,000 changes of another seat, kept while a modal window is over the
// list, then shown as the next command of the list ends.
void measureBatch(const char *engine, frmWHBrowse &list, OtherSeat &other, dbkit::DbLogin &login,
                  int count, int round)
{
    const int shown = list.SpGrdWH()->Rows() - 1;
    const int step = count / std::max(Changes, Deletes);
    QDialog over;
    over.setModal(true);
    over.show();
    QStringList codes;
    int failed = 0;
    for (int i = 0; i < Adds; ++i) {
        codes << codeOf(count + 1 + round * Adds + i);
        failed += other.add(codes.back()) ? 0 : 1;
    }
    for (int i = 0; i < Changes; ++i) {
        codes << codeOf(1 + i * step + 3 * round);
        failed += other.rename(codes.back(), QStringLiteral("改名仓库") + codes.back()) ? 0 : 1;
    }
    for (int i = 0; i < Deletes; ++i) {
        codes << codeOf(2 + i * step + 3 * round);
        failed += other.remove(codes.back()) ? 0 : 1;
    }
    // Every change read by the feed and kept by the list.
    const long long before = list.changeFollowing()->position();
    list.changeFollowing()->askNow();
    runUntil(
        [&] { return list.changeFollowing()->position() >= before + Adds + Changes + Deletes; });
    QCoreApplication::processEvents();
    over.hide();

    SuperGrid &grid = *list.SpGrdWH();
    const bool kept = grid.Rows() - 1 == shown;
    grid.setRow(count / 2);
    grid.setTopRow(count / 2 - 10);
    const QString current = grid.TextMatrix(grid.Row(), 0);
    const QString top = grid.TextMatrix(grid.TopRow(), 0);
    const double shownMs = bench::bestOf(1, [&] { list.OnToolbarCommand("None"); });
    const double emptyMs = bench::bestOf(1, [&] { list.OnToolbarCommand("None"); });
    const double readMs = bench::bestOf(3, [&] {
        services::WarehouseQueries(login).listedRows(services::WarehouseFilter{}, codes);
    });
    std::printf("%-10s %d changes (%d adds, %d changes, %d deletes) by another seat, %d refused\n",
                engine, Adds + Changes + Deletes, Adds, Changes, Deletes, failed);
    std::printf("%-10s %-52s %9.1f ms%s\n", engine, "shown in the open list (window's thread)",
                shownMs - emptyMs, kept ? "" : "  (NOT kept while busy: figure void)");
    std::printf("%-10s %-52s %9.1f ms\n", engine, "  of which the rows read again by key", readMs);
    std::printf("%-10s %-52s %9d (expected %d), current and top row kept: %s, %s\n", engine,
                "rows shown", grid.Rows() - 1, shown + Adds - Deletes,
                grid.TextMatrix(grid.Row(), 0) == current ? "yes" : "no",
                grid.TextMatrix(grid.TopRow(), 0) == top ? "yes" : "no");
    std::fflush(stdout);
}

// (b) From another seat's commit to its change in the open list's grid.
void measureLatency(const char *engine, frmWHBrowse &list, OtherSeat &other, int count)
{
    SuperGrid &grid = *list.SpGrdWH();
    std::vector<double> latencies;
    for (int i = 0; i < LatencyChanges; ++i) {
        const QString code = codeOf(count - i);
        const int row = rowOf(grid, code);
        const QString name = QStringLiteral("跟随%1").arg(i);
        // A change comes at any moment of the feed's second.
        const int pause =
            int(QRandomGenerator::global()->bounded(services::ChangeFeed::pollInterval));
        runUntil([&, since = QElapsedTimer()]() mutable {
            if (!since.isValid())
                since.start();
            return since.elapsed() >= pause;
        });
        if (row < 0 || !other.rename(code, name))
            continue;
        QElapsedTimer sinceCommit;
        sinceCommit.start();
        if (runUntil([&] { return grid.TextMatrix(row, 1) == name; }))
            latencies.push_back(sinceCommit.nsecsElapsed() / 1e6);
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double share) {
        return latencies.empty() ? 0.0 : latencies[size_t(share * double(latencies.size() - 1))];
    };
    std::printf("%-10s commit to grid over %zu changes: p50 %.0f ms, p99 %.0f ms, max %.0f ms\n",
                engine, latencies.size(), at(0.5), at(0.99),
                latencies.empty() ? 0.0 : latencies.back());
    std::fflush(stdout);
}

void runEngine(const char *engine, const QString &url, int count, int runs)
{
    auto login = dbkit::DbLogin::open(url);
    OtherSeat other(url);
    LXWareHouse component;
    auto seam = std::make_unique<modal::ScriptedModalSeam>(
        [](const QString &why) { std::fprintf(stderr, "seam: %s\n", qPrintable(why)); });
    seam->expectWindow("frmWHBrowse", [&](QDialog *window) {
        frmWHBrowse &list = *static_cast<frmWHBrowse *>(window);
        list.waitForEveryRow();
        for (int round = 0; round < runs; ++round)
            measureBatch(engine, list, other, *login, count, round);
        measureLatency(engine, list, other, count);
        list.OnToolbarCommand("TlbExit");
    });
    auto previous = modal::installSeam(std::move(seam));
    component.Init(login, false);
    component.Show();
    modal::installSeam(std::move(previous));
}

}  // namespace

int main(int argc, char **argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption countOption("count", "Warehouses in the list.", "N", "100000");
    const bench::BenchOptions options = bench::parseBenchOptions(parser, {countOption});
    const int count = parser.value(countOption).toInt();

    const QTemporaryDir dir;
    const QString sqlitePath = dir.filePath("account.db");
    bench::replaceWarehouses(*OpenOrCreateSqliteAccount(sqlitePath, true), count);
    runEngine("SQLite", "sqlite:" + sqlitePath, count, options.runs);
    if (!options.postgresServer.isEmpty()) {
        bench::withScratchPostgres(options.postgresServer, "depotbase_live_",
                                   [&](const QString &url) {
                                       {
                                           auto login = dbkit::DbLogin::open(url);
                                           CreateAccountSchema(*login, true);
                                           bench::replaceWarehouses(*login, count);
                                       }
                                       runEngine("PostgreSQL", url, count, options.runs);
                                   });
    }
    return 0;
}
