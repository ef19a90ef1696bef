#pragma once

#include "print/PrintWorkDb.h"
#include "print/RunReport.h"
#include "suite/report/RTPrn.h"

#include <QString>

class QWidget;
class SuperGrid;
namespace dbkit {
class DbDataSet;
}

// The warehouse list's print work: the print-work database, held from the
// list's load to its unload; the report-print control the list and its
// authority list print through; and the page set-up, preview, print and
// output commands. It has no window of its own: it prints the list's grid
// under the list's title labels.
class WarehouseListPrinting {
public:
    explicit WarehouseListPrinting(QWidget *list);

    void open();
    void close();

    report::RTPrn &control() { return m_control; }
    // What a report run needs of the list: the control, the list as owner
    // and the list's data set.
    ReportHost host(const dbkit::DbDataSet *listData);

    // True when `key` is a print command of the toolbar ("TlbPSetup",
    // "TlbPreview", "TlbPrint", "TlbOutput"), which has then been run.
    bool run(const QString &key, SuperGrid &grid, const QWidget &lblTitle1,
             const QWidget &lblTitle2, const dbkit::DbDataSet *listData);

private:
    QWidget *m_list;
    PrintWorkDbPtr m_printDb;
    report::RTPrn m_control;
};
