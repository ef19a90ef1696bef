// depotbase-bench: generates an account with many warehouses and prints, per
// engine, the component's timings beside the raw time of the same statement
// through the engine's own C library, and peak memory. With --pg, the list's
// Init is also timed through ODBC (psqlODBC) on the same server.
//
//   depotbase-bench [--count N] [--pg postgresql://user@host:port/db] [--runs R]
//   depotbase-bench [--count N] --make-account PATH   only writes the account
#include "BenchClock.h"
#include "ListCommandBench.h"
#include "OutputBench.h"
#include "RawQuery.h"
#include "BenchSupport.h"
#include "GeneratedAccount.h"
#include "component/LXWareHouse.h"
#include "data/AccountSetup.h"
#include "suite/controls/SuperGrid.h"
#include "suite/modal/ScriptedModalSeam.h"
#include "warehouse/WarehouseList.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUrl>
#include <cstdio>

using namespace depotbase;
using bench::printRatio;

namespace {

// The list statement as an engine runs it fastest: a LEFT JOIN from Warehouse.
const QString RawListSql = QStringLiteral(
    "SELECT Department.cDepName, Warehouse.* FROM Warehouse LEFT JOIN Department ON "
    "Department.cDepCode = Warehouse.cDepCode ORDER BY Warehouse.cWhCode");

void memory(const char *engine, const char *what)
{
    std::printf("%-10s %-42s %9.1f MB (peak RSS of the process so far)\n", engine, what,
                bench::peakMegabytes());
    std::fflush(stdout);
}

struct Figures {
    double load = 0, every = 0, fill = 0, fcur = 0, sort = 0;
};

// Init plus the list window shown with its first screen, then every row read
// and shown; inside the shown window, FCur and a header sort of every row.
Figures measureWindow(LXWareHouse &component, const dbkit::DbLoginPtr &login, int runs)
{
    Figures f;
    f.load = f.every = f.fill = f.fcur = f.sort = 1e18;
    for (int i = 0; i < runs; ++i) {
        auto seam = std::make_unique<modal::ScriptedModalSeam>(
            [](const QString &why) { std::fprintf(stderr, "seam: %s\n", qPrintable(why)); });
        modal::ScriptedModalSeam *script = seam.get();
        auto previous = modal::installSeam(std::move(seam));
        QElapsedTimer timer;
        script->expectWindow("frmWHBrowse", [&](QDialog *window) {
            f.load = std::min(f.load, timer.nsecsElapsed() / 1e6);
            frmWHBrowse &list = *static_cast<frmWHBrowse *>(window);
            list.waitForEveryRow();
            f.every = std::min(f.every, timer.nsecsElapsed() / 1e6);
            SuperGrid *grid = list.SpGrdWH();
            grid->setRows(1);
            f.fill = std::min(f.fill, bench::bestOf(1, [&] {
                grid->setRedraw(false);
                list.FillListGrid(*list.mRecObject);
                grid->setRedraw(true);
            }));
            grid->setRow(grid->Rows() / 2);
            grid->setRowSel(grid->Rows() / 2);
            f.fcur = std::min(f.fcur, bench::bestOf(3, [&] { list.FCur(); }));
            f.sort = std::min(f.sort, bench::bestOf(1, [&] {
                grid->setCol(1);
                grid->setRow(1);
                grid->setRowSel(grid->Rows() - 1);
                grid->setSort(1);
            }));
            list.OnToolbarCommand("TlbExit");
        });
        timer.start();
        component.Init(login, false);
        component.Show();
        modal::installSeam(std::move(previous));
    }
    return f;
}

void runEngine(const char *engine, const dbkit::DbLoginPtr &login, int runs,
               const std::function<long(const QString &sql)> &raw)
{
    long rows = 0;
    const double rawMs = bench::bestOf(runs, [&] { rows = raw(RawListSql); });
    std::printf("%-10s %ld warehouses\n", engine, rows);
    memory(engine, "after the raw query");

    LXWareHouse component;
    // The first load meets fresh pages only: its minor page faults tell how
    // much it allocates.
    const long faultsBefore = bench::minorFaults();
    component.Init(login, false);
    std::printf("%-10s %-42s %9ld\n", engine, "minor page faults of the first Init",
                bench::minorFaults() - faultsBefore);
    const double initMs = bench::bestOf(runs, [&] { component.Init(login, false); });
    printRatio(engine, "Init (list data set opened)", initMs, rawMs);
    memory(engine, "after Init");

    const Figures f = measureWindow(component, login, runs);
    printRatio(engine, "list data set + grid fill", initMs + f.fill, rawMs);
    printRatio(engine, "list window with its first screen (from Init)", f.load, rawMs);
    printRatio(engine, "every row read and shown (from Init)", f.every, rawMs);
    printRatio(engine, "FCur", f.fcur, rawMs);
    printRatio(engine, "header sort of every row", f.sort, rawMs);
    memory(engine, "with the list window loaded");

    const bench::RawTimer timed = [&](const QString &sql, long &read) {
        return bench::bestOf(1, [&] { read = raw(sql); });
    };
    bench::measureFilterAndFind(engine, login, runs, timed);
    bench::measureListOutput(engine, login);
    // Last: the card saves add and rename warehouses.
    bench::measureCardSave(engine, login, runs, timed);
}

// The same PostgreSQL database through psqlODBC ("PostgreSQL Unicode").
QString odbcUrl(const QString &postgresUrl)
{
    const QUrl url(postgresUrl);
    return QStringLiteral("odbc:Driver={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;"
                          "Uid=%4;Pwd=%5;")
        .arg(url.host())
        .arg(url.port(5432))
        .arg(url.path().mid(1), url.userName(), url.password());
}

// The list's Init through ODBC, on the kit's loading path and on Qt's QODBC
// driver, beside the raw query through libpq.
void runOdbcInit(const QString &postgresUrl, int runs,
                 const std::function<long(const QString &sql)> &raw)
{
    auto login = dbkit::DbLogin::open(odbcUrl(postgresUrl));
    long rows = 0;
    const double rawMs = bench::bestOf(runs, [&] { rows = raw(RawListSql); });
    std::printf("%-10s %ld warehouses\n", "ODBC", rows);
    LXWareHouse component;
    const bool directBefore = dbkit::DbLogin::directLoading();
    for (const bool direct : {true, false}) {
        dbkit::DbLogin::setDirectLoading(direct);
        component.Init(login, false);
        const double ms = bench::bestOf(runs, [&] { component.Init(login, false); });
        printRatio("ODBC",
                   direct ? "Init (list data set opened)" : "Init through Qt's QODBC driver", ms,
                   rawMs);
    }
    dbkit::DbLogin::setDirectLoading(directBefore);
    memory("ODBC", "after Init");
}

void writeSqliteAccount(const QString &path, int count)
{
    bench::replaceWarehouses(*OpenOrCreateSqliteAccount(path, true), count);
}

} // namespace

int main(int argc, char **argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption count("count", "Warehouses to generate.", "N", "100000");
    const QCommandLineOption pgOnly("pg-only", "Measure PostgreSQL only, so its memory and page "
                                               "fault figures are those of a process of its own.");
    const QCommandLineOption makeAccount(
        "make-account", "Only write a SQLite account of N warehouses at PATH (for "
                        "host-to-window.sh) and exit.", "PATH");
    const bench::BenchOptions options =
        bench::parseBenchOptions(parser, {count, pgOnly, makeAccount});
    const int n = parser.value(count).toInt();
    const int r = options.runs;

    if (parser.isSet(makeAccount)) {
        writeSqliteAccount(parser.value(makeAccount), n);
        return 0;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("account.db");
    if (!parser.isSet(pgOnly)) {
        writeSqliteAccount(path, n);
        auto login = dbkit::DbLogin::open("sqlite:" + path);
        runEngine("SQLite", login, r, bench::rawSqlite(path));
    }
    if (!options.postgresServer.isEmpty()) {
        const auto onPostgres = [&](const QString &url) {
            auto login = dbkit::DbLogin::open(url);
            CreateAccountSchema(*login, true);
            bench::replaceWarehouses(*login, n);
            runEngine("PostgreSQL", login, r, bench::rawPostgres(url));
            runOdbcInit(url, r, bench::rawPostgres(url));
        };
        bench::withScratchPostgres(options.postgresServer, "depotbase_bench_", onPostgres);
    }
    bench::measureGridFillAndSort();
    bench::measureOutput();
    return 0;
}
