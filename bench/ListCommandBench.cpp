#include "ListCommandBench.h"

#include "BenchClock.h"
#include "forms/ListDataSet.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "forms/FormSlot.h"
#include "services/WarehouseQueries.h"
#include "suite/controls/SuperGrid.h"
#include "suite/modal/ScriptedModalSeam.h"
#include "warehouse/WarehouseList.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace bench {

namespace {

// Shows the list on `login` through a scripted seam and runs `script` in it.
void withList(const dbkit::DbLoginPtr &login,
              const std::function<void(modal::ScriptedModalSeam &, frmWHBrowse &)> &script)
{
    auto seam = std::make_unique<modal::ScriptedModalSeam>(
        [](const QString &why) { std::fprintf(stderr, "seam: %s\n", qPrintable(why)); });
    modal::ScriptedModalSeam &scripted = *seam;
    auto previous = modal::installSeam(std::move(seam));
    depotbase::FormSlot<frmWHBrowse> listSlot;
    frmWHBrowse &list = listSlot.get();
    list.dbs = login;
    list.mRecObject = depotbase::OpenListDataSet(
        *login, services::WarehouseQueries::listStatement(), false, depotbase::LoadResString(51));
    scripted.expectWindow("frmWHBrowse", [&](QDialog *) {
        script(scripted, list);
        list.OnToolbarCommand("TlbExit");
    });
    list.ShowList();
    list.mRecObject.reset();
    list.dbs = {};
    modal::installSeam(std::move(previous));
}

// Types ASCII text over an edit box (QTest types ASCII keys only).
void retype(QDialog *window, const char *name, const QString &text)
{
    auto *box = window->findChild<QLineEdit *>(name);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// Milliseconds of one F6 on the card, then the card is closed.
double saveCard(QDialog *card)
{
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    const double ms = timer.nsecsElapsed() / 1e6;
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : card,
                    Qt::Key_Escape);
    return ms;
}

// A field of /proc/self/status in kB ("VmRSS:", "VmHWM:").
long statusKb(const char *field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

void measureListOutput(const char *engine, const dbkit::DbLoginPtr &login)
{
    QTemporaryDir folder;
    withList(login, [&](modal::ScriptedModalSeam &seam, frmWHBrowse &list) {
        const long listKb = statusKb("VmRSS:");
        const int rows = list.SpGrdWH()->Rows() - 1;
        for (const char *type : {"xlsx", "csv"}) {
            const QString path = folder.filePath(QStringLiteral("list.") + type);
            seam.expectSaveFile(path);
            QFile refs("/proc/self/clear_refs");  // resets the peak
            if (refs.open(QIODevice::WriteOnly))
                refs.write("5");
            refs.close();
            const double ms = bestOf(1, [&] { list.toolbarButton("TlbOutput")->trigger(); });
            const long peakKb = statusKb("VmHWM:");
            std::printf("%-10s output of %d warehouses to .%s: %.0f ms, peak resident %.1f MB "
                        "(+%.1f MB over the loaded list), file %.1f MB\n",
                        engine, rows, type, ms, peakKb / 1024.0, (peakKb - listKb) / 1024.0,
                        QFileInfo(path).size() / 1048576.0);
        }
    });
    std::fflush(stdout);
}

void measureCardSave(const char *engine, const dbkit::DbLoginPtr &login, int runs,
                     const RawTimer &raw)
{
    double addMs = 1e18, editMs = 1e18, rawMs = 1e18, requeryMs = 1e18;
    long rows = 0;
    withList(login, [&](modal::ScriptedModalSeam &seam, frmWHBrowse &list) {
        SuperGrid &grid = *list.SpGrdWH();
        for (int run = 0; run < runs; ++run) {
            seam.expectWindow("frmWHCard", [&](QDialog *card) {
                retype(card, "EdtcWhCode", QStringLiteral("B%1").arg(run));
                retype(card, "EdtcWhName", "Bench store");
                addMs = std::min(addMs, saveCard(card));
            });
            list.toolbarButton("TlbAdd")->trigger();

            const int row = std::min(grid.Rows() - 1, grid.Rows() / 2 + run);
            grid.setRow(row);
            grid.setRowSel(row);
            seam.expectWindow("frmWHCard", [&](QDialog *card) {
                retype(card, "EdtcWhName", QStringLiteral("Renamed %1").arg(run));
                editMs = std::min(editMs, saveCard(card));
            });
            list.toolbarButton("TlbEdit")->trigger();

            rawMs = std::min(rawMs, raw(services::WarehouseQueries::listStatement(), rows));
            requeryMs = std::min(requeryMs, bestOf(1, [&] { list.mRecObject->Requery(-1); }));
        }
    });
    std::printf("%-10s %-42s %9.1f ms\n", engine, "card save, add (F6 to grid row)", addMs);
    std::printf("%-10s %-42s %9.1f ms\n", engine, "card save, edit (F6 to grid row)", editMs);
    std::printf("%-10s %-42s %9.1f ms   raw %8.1f ms (%ld rows)\n", engine,
                "list data set Requery", requeryMs, rawMs, rows);
    std::fflush(stdout);
}

void measureFilterAndFind(const char *engine, const dbkit::DbLoginPtr &login, int runs,
                          const RawTimer &raw)
{
    double filterMs = 1e18, rawFilterMs = 1e18, findMs = 1e18, rawListMs = 1e18;
    long filteredRows = 0, listRows = 0;
    withList(login, [&](modal::ScriptedModalSeam &seam, frmWHBrowse &list) {
        // Milliseconds from the dialog's confirm click to the command's end.
        const auto confirm = [&](const char *key, const QString &code) {
            QElapsedTimer timer;
            seam.expectWindow("frmFilter", [&](QDialog *w) {
                if (!code.isEmpty())
                    QTest::keyClicks(w->findChild<QComboBox *>("cboWHCode"), code);
                timer.start();
                QTest::mouseClick(w->findChild<QPushButton *>("cmdYes"), Qt::LeftButton);
            });
            list.OnToolbarCommand(key);
            return timer.nsecsElapsed() / 1e6;
        };
        const SuperGrid &grid = *list.SpGrdWH();
        services::WarehouseFilter notManaged;
        notManaged.positions = services::FilterPositions::NotManaged;
        // The "not managed" condition binds nothing.
        QVariantList noValues;
        const QString filtered =
            services::WarehouseQueries::filteredListStatement(notManaged, noValues);
        const QString whole = services::WarehouseQueries::listStatement();
        for (int run = 0; run < runs; ++run) {
            filterMs = std::min(filterMs, confirm("TlbFilter", QString()));
            rawFilterMs = std::min(rawFilterMs, raw(filtered, filteredRows));
            // A code near the end of the filtered list: the longest walk.
            const QString nearEnd = grid.TextMatrix(std::max(1, grid.Rows() - 11), 0);
            findMs = std::min(findMs, confirm("TlbFind", nearEnd));
            rawListMs = std::min(rawListMs, raw(whole, listRows));
        }
    });
    std::printf("%-10s filter  %ld of %ld warehouses, confirm to grid refilled: %.1f ms; "
                "raw filtered query: %.1f ms; ratio %.2f (target <= 2)\n",
                engine, filteredRows, listRows, filterMs, rawFilterMs, filterMs / rawFilterMs);
    std::printf("%-10s find    last-but-ten of %ld warehouses, confirm to row selected: "
                "%.1f ms; raw list query: %.1f ms; ratio %.2f (target <= 1.5)\n",
                engine, listRows, findMs, rawListMs, findMs / rawListMs);
    std::fflush(stdout);
}

} // namespace bench
