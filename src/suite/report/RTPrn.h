#pragma once

#include "suite/report/LayoutItems.h"
#include "suite/report/ReportColumns.h"
#include "suite/report/ReportSource.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>

namespace report {

class PageComposer;

// The report-print control. The print procedures configure it with one fixed
// sequence of calls and then preview, print, set up the page or write the
// report to a file:
//
//   Identify("AS", "WareHouse"); SetOwner(window);
//   PrinterName()                       (print: "" when no printer)
//   SetReportKind(6); SetPrintNow(false);
//   SetDatabasePath(file); SetLayoutTable(name); SetSecondTable(LayoutTable());
//   SetSourceGrid(grid);
//   PageSetupDialog(n1, n2, text)       (page set-up: 1002 when cancelled)
//   SetOffsetX(0); SetOffsetY(0); SetCopies(0); SetLastTitleRow(0);
//   ColumnWidth(i, hundredths of a cm, 2) for every grid column;
//   PageMargins(50, 50, 50, 50);
//   then PreviewReport(), SetPrintNow(true) + PrintReport(), or OutputStep(...).
//
// The page is composed from the layout table (title block on every page, the
// band with the print date and the page number at the foot) and the grid's
// visible columns. A page layout chosen in the page set-up dialog is kept for
// every later command of the same control.
class RTPrn {
public:
    // Result of PageSetupDialog when the user cancelled.
    static constexpr int PageSetupCancelled = 1002;

    // Results of PreviewReport, PrintReport and the performing OutputStep.
    enum Result {
        Done = 0,
        Cancelled = 1,        // the file dialog was cancelled
        WriteFailed = 2,      // the file could not be written completely
        UnknownFileType = 3,  // the file name ends in none of the offered types
        NothingToReport = 4,  // no source grid, or no visible column
        PageUnusable = 5,     // the layout table cannot be read, or no row fits the page
        NoPrinter = 6,        // printing without a default printer
        UnknownStep = 7,      // an output step below -2
    };

    // Width units of ColumnWidth.
    enum WidthUnit { Twips = 1, HundredthsCm = 2 };

    RTPrn();
    ~RTPrn();
    RTPrn(const RTPrn &) = delete;
    RTPrn &operator=(const RTPrn &) = delete;

    void Identify(const QString &system, const QString &report);
    QString System() const { return m_system; }
    QString ReportName() const { return m_report; }

    // Window the dialogs and the preview open over.
    void SetOwner(QWidget *owner) { m_owner = owner; }
    QWidget *Owner() const { return m_owner; }

    // The default printer's name; "" when the computer has none. While the
    // pages go to a PDF file (SetPrintToFile), that file's path.
    QString PrinterName() const;

    // Kept for the caller; the page does not depend on it.
    void SetReportKind(short) {}

    void SetPrintNow(bool now) { m_printNow = now; }
    bool PrintNow() const { return m_printNow; }

    void SetDatabasePath(const QString &path) { m_databasePath = path; }
    QString DatabasePath() const { return m_databasePath; }
    void SetLayoutTable(const QString &table) { m_layoutTable = table; }
    QString LayoutTable() const { return m_layoutTable; }
    void SetSecondTable(const QString &table) { m_secondTable = table; }
    QString SecondTable() const { return m_secondTable; }

    // The grid the rows are read from; not owned.
    void SetSourceGrid(ReportSource *grid) { m_source = grid; }
    ReportSource *SourceGrid() const { return m_source; }

    // Qt's page set-up dialog over the owner window. Returns 0 and keeps the
    // chosen page layout, or 1002 when cancelled. The arguments receive the
    // paper size id, the orientation (0 portrait, 1 landscape) and the paper's
    // name.
    int PageSetupDialog(int &paperSize, int &orientation, QString &paperName);

    // Shift of everything on the page, twips.
    void SetOffsetX(int twips) { m_offset.setX(twips); }
    void SetOffsetY(int twips) { m_offset.setY(twips); }
    // Copies printed by PrintReport; 0 means one.
    void SetCopies(int copies) { m_copies = copies; }
    int Copies() const { return m_copies; }
    // Rows 0 to this one of the grid are column titles, repeated on every page.
    void SetLastTitleRow(int row) { m_lastTitleRow = row; }
    int LastTitleRow() const { return m_lastTitleRow; }

    // Width of grid column `col` on the page; 0 hides it. False for an unknown
    // unit or a negative column or width.
    bool ColumnWidth(int col, int width, int unit);
    // The width set for a column in twips, or -1 when none was set (the
    // grid's own width is used then).
    int ColumnWidthTwips(int col) const;

    // Page margins in hundredths of a centimetre (tenths of a millimetre):
    // 50 is 5 mm. A layout chosen in the page set-up dialog keeps its own.
    void PageMargins(int left, int top, int right, int bottom);
    // The page layout the next command uses.
    QPageLayout PageLayout() const;
    // Chooses the page layout as the page set-up dialog does; an invalid
    // layout goes back to A4 portrait with the margins of PageMargins.
    void SetPageLayout(const QPageLayout &layout)
    {
        m_chosenLayout = layout;
        m_layoutChosen = layout.isValid();
    }

    // Shows the composed pages in Qt's print preview over the owner window.
    // Without a printer too: its title then says that none is installed.
    int PreviewReport();
    // Prints the composed pages on the default printer at once.
    int PrintReport();
    // Output to a file: column -1 starts (b = the last grid column), k >= 0
    // gives the k-th visible column's kind (a: 1 flag, 2 byte, 3 integer,
    // 4 long, 7 date, 8 currency, 10 text; b its length), -2 asks for a file
    // and writes .xlsx, .csv, .pdf or .html by its extension.
    int OutputStep(int column, const QString &text, int a, int b);

    // Sends PrintReport's pages to this PDF file instead of a printer; for
    // computers without one. "" restores the default printer.
    void SetPrintToFile(const QString &pdfPath) { m_printToFile = pdfPath; }
    // Asked with the number of pages before PrintReport prints them; the
    // pages are printed only when it answers true. Empty: nothing is asked.
    void SetPrintConfirmation(std::function<bool(int pages)> ask)
    {
        m_confirmPrint = std::move(ask);
    }
    // Pages composed by the last preview, print or PDF output.
    int LastPageCount() const { return m_lastPageCount; }
    // Reason of the last failure, for the log.
    QString LastError() const { return m_lastError; }

    static QString outputFilter();

private:
    ReportView buildView(bool forOutput) const;
    bool loadLayout(LayoutItems &items);
    int prepare(const ReportView &view, LayoutItems &items, PageComposer &composer);
    int fail(int code, const QString &why);
    int writePdf(const QString &path, const ReportView &view, const LayoutItems &items,
                 const QString &title);
    QString reportTitle(const LayoutItems &items) const;

    QString m_system;
    QString m_report;
    QPointer<QWidget> m_owner;
    bool m_printNow = false;
    QString m_databasePath;
    QString m_layoutTable;
    QString m_secondTable;
    ReportSource *m_source = nullptr;
    std::function<bool(int)> m_confirmPrint;
    QPoint m_offset;
    int m_copies = 0;
    int m_lastTitleRow = 0;
    std::map<int, int> m_columnTwips;
    QMarginsF m_marginsMm{10, 10, 10, 10};
    bool m_layoutChosen = false;
    QPageLayout m_chosenLayout;
    bool m_outputStarted = false;
    int m_outputLastCol = -1;
    std::map<int, ColumnKind> m_outputKinds;
    QString m_printToFile;
    QString m_lastDir;
    int m_lastPageCount = 0;
    QString m_lastError;
};

} // namespace report
