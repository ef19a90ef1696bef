// depotbase-bench-authlist: the authority list on an account of 200,000
// rights. Prints opening, refresh, a filter by one operator and a locate of
// the last row beside the raw time of the same statement through the
// engine's own C library, and peak memory with the list open. The filter
// with its dialog is set beside the three statements it runs: the dialog's
// operators and warehouses and the filtered list.
//
//   depotbase-bench-authlist [--pg postgresql://user@host:port/db] [--runs R]
#include "BenchClock.h"
#include "BenchSupport.h"
#include "RawQuery.h"
#include "RightsAccount.h"
#include "services/RightsStatements.h"
#include "authority/AuthorityList.h"
#include "data/AccountSetup.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/SqlDialect.h"
#include "suite/modal/ScriptedModalSeam.h"
#include "suite/report/RTPrn.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

using namespace depotbase;

namespace {

using bench::printRatio;
using bench::RawQuery;

// The right on the last row of the list: the only one on its warehouse.
constexpr char LastWarehouse[] = "W200000";
constexpr char FilteredOperator[] = "U100001";

void generate(dbkit::DbLogin &login)
{
    bench::generateRightsAccount(login);
    login.Execute(QStringLiteral("INSERT INTO Warehouse (cWhCode, cWhName) VALUES ('%1', "
                                 "'最后的仓库')").arg(LastWarehouse));
    login.Execute(QStringLiteral("INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney) "
                                 "VALUES ('U100001', '操作员1', '%1', 1)").arg(LastWarehouse));
}

// Started when the user confirms the dialog: what the command does after.
QElapsedTimer confirmed;

// The user types a code into one box of the dialog and confirms.
void answerDialog(QDialog *dialog, const char *box, const QString &text)
{
    auto *combo = dialog->findChild<QComboBox *>(QLatin1String(box));
    combo->setFocus();
    combo->setEditText(text);
    auto *confirm = dialog->findChild<QPushButton *>(QStringLiteral("Cmd4"));
    confirm->setFocus();
    confirmed.start();
    confirm->click();
}

// Resident memory of the process now, in megabytes.
double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

struct Figures {
    double open = 1e18, refresh = 1e18, filter = 1e18, locate = 1e18, peak = 0;
    double filterAfter = 1e18, locateAfter = 1e18, before = 0, resident = 0, peakOpen = 0;
    int rows = 0, filteredRows = 0, locatedRow = 0;
};

void measureList(const dbkit::DbLoginPtr &login, Figures &f)
{
    auto seam = std::make_unique<modal::ScriptedModalSeam>(
        [](const QString &why) { std::fprintf(stderr, "seam: %s\n", qPrintable(why)); });
    modal::ScriptedModalSeam *script = seam.get();
    auto previous = modal::installSeam(std::move(seam));
    report::RTPrn control;
    f.before = residentMegabytes();
    QElapsedTimer timer;
    timer.start();
    {
        FrmWHAuth list(AuthListInputs{{login, false}, ReportHost{&control, nullptr, nullptr}});
        script->expectWindow("FrmWHAuth", [&](QDialog *) {
            f.open = std::min(f.open, timer.nsecsElapsed() / 1e6);
            SuperGrid &grid = *list.SpGrdWAuth();
            f.rows = grid.Rows() - 1;
            f.resident = std::max(f.resident, residentMegabytes());
            f.peakOpen = std::max(f.peakOpen, bench::peakMegabytes());
            f.refresh = std::min(f.refresh, bench::bestOf(1, [&] {
                list.OnToolbarCommand("TlbRefresh");
            }));
            script->expectWindow("FrmWAFilter", [](QDialog *dialog) {
                answerDialog(dialog, "sidCmb", QString::fromLatin1(LastWarehouse));
            });
            f.locate = std::min(f.locate, bench::bestOf(1, [&] {
                list.OnToolbarCommand("TlbFind");
            }));
            f.locateAfter = std::min(f.locateAfter, confirmed.nsecsElapsed() / 1e6);
            f.locatedRow = grid.Row();
            script->expectWindow("FrmWAFilter", [](QDialog *dialog) {
                answerDialog(dialog, "cidCmb", QString::fromLatin1(FilteredOperator));
            });
            f.filter = std::min(f.filter, bench::bestOf(1, [&] {
                list.OnToolbarCommand("TlbFilter");
            }));
            f.filterAfter = std::min(f.filterAfter, confirmed.nsecsElapsed() / 1e6);
            f.filteredRows = grid.Rows() - 1;
            f.peak = std::max(f.peak, bench::peakMegabytes());
            list.OnToolbarCommand("TlbExit");
        });
        list.ShowList();
    }
    script->verifyDone();
    modal::installSeam(std::move(previous));
}

void runEngine(const char *engine, const dbkit::DbLoginPtr &login, int runs,
               const RawQuery &raw)
{
    const auto rawOf = bench::rawTimer(login, runs, raw);
    namespace sql = services::rightsql;
    const double rawList = rawOf(sql::listStatement());
    services::RightsFilter filter;
    filter.operatorCode = QString::fromLatin1(FilteredOperator);
    // The raw reader takes text only: the one bound value, a plain code, is
    // written in as a literal.
    const sql::BoundStatement bound = sql::filterStatement(filter);
    const double rawFilter = rawOf(QString(bound.sql).replace(
        QLatin1Char('?'), QLatin1Char('\'') + filter.operatorCode + QLatin1Char('\'')));
    // The whole command also reads the dialog's operators and warehouses.
    const double rawFilterCommand =
        rawFilter + rawOf(sql::operatorsStatement()) + rawOf(sql::warehousesStatement());
    Figures f;
    for (int i = 0; i < runs; ++i)
        measureList(login, f);
    std::printf("%-10s %d rights listed, %d after the filter, last row located: %d\n", engine,
                f.rows, f.filteredRows, f.locatedRow);
    printRatio(engine, "list open (load until the grid is shown)", f.open, rawList, "2.00");
    printRatio(engine, "refresh", f.refresh, rawList, "2.00");
    printRatio(engine, "filter by one operator (with the dialog)", f.filter, rawFilterCommand,
               "2.00");
    printRatio(engine, "  of which after the dialog's confirm", f.filterAfter, rawFilter, "2.00");
    printRatio(engine, "locate of the last row (with the dialog)", f.locate, rawList, "0.50");
    printRatio(engine, "  of which after the dialog's confirm", f.locateAfter, rawList, "0.50");
    std::printf("%-10s %-42s %9.1f MB (peak RSS of the process so far, at most 250 MB)\n",
                engine, "list opened", f.peakOpen);
    std::printf("%-10s %-42s %9.1f MB (peak RSS of the process so far)\n", engine,
                "after refresh, locate and filter", f.peak);
    std::printf("%-10s %-42s %9.1f MB (resident now; %.1f MB before the list opened)\n",
                engine, "with the list open", f.resident, f.before);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption pgOnly("pg-only", "Measure PostgreSQL only (memory figures "
                                               "of one engine per process).");
    const bench::BenchOptions options = bench::parseBenchOptions(parser, {pgOnly});
    const int r = options.runs;

    QTemporaryDir dir;
    const QString path = dir.filePath("account.db");
    if (!parser.isSet(pgOnly)) {
        generate(*OpenOrCreateSqliteAccount(path, false));
        auto login = dbkit::DbLogin::open("sqlite:" + path);
        runEngine("SQLite", login, r, bench::rawSqlite(path));
    }
    if (!options.postgresServer.isEmpty()) {
        const auto onPostgres = [&](const QString &url) {
            auto login = dbkit::DbLogin::open(url);
            CreateAccountSchema(*login, false);
            generate(*login);
            runEngine("PostgreSQL", login, r, bench::rawPostgres(url));
        };
        bench::withScratchPostgres(options.postgresServer, "depotbase_authlist_", onPostgres);
    }
    return 0;
}
