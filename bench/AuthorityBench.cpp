// depotbase-bench-authority: generates an account with 2,000 operators,
// 10,000 warehouses, 2,000 inventory classes, 100,000 items and 200,000
// rights, and prints the authority editor's timings beside the raw time of
// the statements through the engine's own C library, its opening beside its
// opening on the demo account, and peak memory.
//
//   depotbase-bench-authority [--pg postgresql://user@host:port/db] [--runs R]
//   depotbase-bench-authority --make-account PATH   only writes the account
#include "BenchClock.h"
#include "RawQuery.h"
#include "BenchSupport.h"
#include "RightsAccount.h"
#include "services/RightsStatements.h"
#include "authority/AuthorityEditor.h"
#include "data/AccountSetup.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/SqlDialect.h"
#include "suite/modal/ScriptedModalSeam.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidgetItem>
#include <cstdio>

using namespace depotbase;

namespace {

using bench::printRatio;
using bench::RawQuery;

struct Figures {
    double open = 1e18, operatorClick = 0, warehouseClick = 0, insert = 0, update = 0, rss = 0;
};

// Commits the show-money cell of a row as the grid does after an edit.
void commitShowMoney(FrmAuthority &editor, int row, const QString &text)
{
    SuperGrid *grid = editor.authGrid();
    grid->setRow(row);
    grid->setTextMatrix(row, FrmAuthority::ColShowMoney, text);
    QString committed = text;
    emit grid->AfterEdit(row, FrmAuthority::ColShowMoney, committed);
}

void measureInside(FrmAuthority &editor, int runs, Figures &f)
{
    QTreeWidgetItem *op = editor.node("cU100001");
    QTreeWidgetItem *wh = editor.node("sW100001");
    // A click reads the node on the editor's worker: each is timed until its
    // rows are shown.
    f.operatorClick = bench::bestOf(runs, [&] {
        editor.NodeClick(op);
        editor.waitForNode();
    });
    f.warehouseClick = bench::bestOf(runs, [&] {
        editor.NodeClick(wh);
        editor.waitForNode();
    });
    editor.NodeClick(op);
    editor.waitForNode();
    SuperGrid *grid = editor.authGrid();
    int next = 200;   // warehouses W100201... are not the operator's yet
    f.insert = bench::bestOf(runs, [&] {
        editor.toolbarButton("addbut")->trigger();
        const int row = grid->Rows() - 1;
        grid->setTextMatrix(row, FrmAuthority::ColOther, QStringLiteral("W%1").arg(100000 + next));
        grid->setTextMatrix(row, FrmAuthority::ColOtherName, QStringLiteral("仓库%1").arg(next));
        ++next;
        commitShowMoney(editor, row, QStringLiteral("是"));
    });
    bool yes = false;
    f.update = bench::bestOf(runs, [&] {
        commitShowMoney(editor, 1, yes ? QStringLiteral("是") : QStringLiteral("否"));
        yes = !yes;
    });
}

// Opens the editor `runs` times; with `inside`, the last opening also times
// the node clicks and commits on the generated operator and warehouse.
Figures measure(const dbkit::DbLoginPtr &login, int runs, bool inside)
{
    Figures f;
    for (int i = 0; i < runs; ++i) {
        auto seam = std::make_unique<modal::ScriptedModalSeam>(
            [](const QString &why) { std::fprintf(stderr, "seam: %s\n", qPrintable(why)); });
        modal::ScriptedModalSeam *script = seam.get();
        auto previous = modal::installSeam(std::move(seam));
        FrmAuthority editor({login, false});
        QElapsedTimer timer;
        timer.start();
        const bool last = i == runs - 1;
        script->expectWindow("FrmAuthority", [&](QDialog *) {
            f.open = std::min(f.open, timer.nsecsElapsed() / 1e6);
            f.rss = bench::peakMegabytes();
            if (last && inside)
                measureInside(editor, runs, f);
        });
        editor.ShowEditor();
        modal::installSeam(std::move(previous));
    }
    return f;
}

void runEngine(const char *engine, const dbkit::DbLoginPtr &login,
               const dbkit::DbLoginPtr &demo, int runs, const RawQuery &raw)
{
    const auto rawOf = bench::rawTimer(login, runs, raw);
    namespace sql = services::rightsql;
    const double rawJoined = rawOf(sql::rightsStatement());
    const double rawOpen = rawOf(sql::operatorsStatement()) + rawOf(sql::warehousesStatement())
                           + rawOf(sql::classesStatement());
    const Figures f = measure(login, runs, true);
    printRatio(engine, "editor open (until the tree is shown)", f.open, rawOpen);
    // Opening reads no rights, only the operators and warehouses its tree
    // shows (12,000 nodes here against 17). The user's figure, the host
    // process to the window, is bench/host-to-window.sh's.
    const double demoOpen = measure(demo, runs, false).open;
    std::printf("%-10s %-42s %9.1f ms   demo %7.1f ms\n", engine,
                "editor open beside the demo account", f.open, demoOpen);
    printRatio(engine, "node click: operator with 100 rights", f.operatorClick, rawJoined, "0.25");
    printRatio(engine, "node click: warehouse with 20 rights", f.warehouseClick, rawJoined, "0.25");
    printRatio(engine, "cell commit inserting a right", f.insert, rawJoined, "0.25");
    printRatio(engine, "cell commit updating a right", f.update, rawJoined, "0.25");
    std::printf("%-10s %-42s %9.1f MB (peak RSS with the editor open; at most 250)\n", engine,
                "memory", f.rss);
    // The commits really wrote: U100001 holds its 100 rights plus the inserts.
    std::printf("%-10s %-42s %9lld\n", engine, "rights of U100001 after the commits",
                login->OpenDataSet("select count(*) from WarehAuth where Id='U100001'")
                    ->Fields(0).toLongLong());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption makeAccount(
        "make-account", "Only generate the rights account as a SQLite file at PATH (for "
                        "host-to-window.sh) and exit.", "PATH");
    const bench::BenchOptions options = bench::parseBenchOptions(parser, {makeAccount});
    const int r = options.runs;
    if (parser.isSet(makeAccount)) {
        bench::generateRightsAccount(
            *OpenOrCreateSqliteAccount(parser.value(makeAccount), false));
        return 0;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("account.db");
    {
        auto login = OpenOrCreateSqliteAccount(path, false);
        bench::generateRightsAccount(*login);
    }
    {
        auto login = dbkit::DbLogin::open("sqlite:" + path);
        auto demo = OpenOrCreateSqliteAccount(dir.filePath("demo/account.db"), true);
        runEngine("SQLite", login, demo, r, bench::rawSqlite(path));
    }
    if (!options.postgresServer.isEmpty()) {
        const auto onPostgres = [&](const QString &url) {
            auto login = dbkit::DbLogin::open(url);
            CreateAccountSchema(*login, false);
            bench::generateRightsAccount(*login);
            bench::withScratchPostgres(options.postgresServer, "depotbase_authdemo_",
                                       [&](const QString &demoUrl) {
                auto demo = dbkit::DbLogin::open(demoUrl);
                CreateAccountSchema(*demo, true);
                runEngine("PostgreSQL", login, demo, r, bench::rawPostgres(url));
            });
        };
        bench::withScratchPostgres(options.postgresServer, "depotbase_authbench_", onPostgres);
    }
    return 0;
}
