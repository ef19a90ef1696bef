#include "print/RunReport.h"

#include "data/Catalogue.h"
#include "print/PrintWorkDb.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"
#include "suite/report/RTPrn.h"

#include <cmath>

namespace depotbase {

short PrintModeOfKey(const QString &key)
{
    if (key == QLatin1String("TlbPSetup"))
        return PrintMode::PageSetup;
    if (key == QLatin1String("TlbPreview"))
        return PrintMode::Preview;
    if (key == QLatin1String("TlbPrint"))
        return PrintMode::Print;
    if (key == QLatin1String("TlbOutput"))
        return PrintMode::Output;
    return -1;
}

namespace {

// The control reads the grid only while a command runs; it must not keep a
// pointer to a grid adapter that goes when the command ends.
class SourceGridScope {
public:
    SourceGridScope(report::RTPrn &control, report::ReportSource &grid) : m_control(control)
    {
        m_control.SetSourceGrid(&grid);
    }
    ~SourceGridScope() { m_control.SetSourceGrid(nullptr); }
    SourceGridScope(const SourceGridScope &) = delete;
    SourceGridScope &operator=(const SourceGridScope &) = delete;

private:
    report::RTPrn &m_control;
};

void showMessage(QWidget *owner, const QString &text, modal::Icon icon, const QString &caption)
{
    modal::message(owner, text, icon, modal::Buttons::Ok, caption);
}

int runOutput(report::RTPrn &rt, const ReportHost &host, int *outputResult)
{
    auto step = [&](int column, int a, int b) {
        const int result = rt.OutputStep(column, QString(), a, b);
        if (outputResult)
            *outputResult = result;
        return result;
    };
    report::ReportSource &grid = *rt.SourceGrid();
    step(-1, 0, grid.Cols() - 1);
    int k = 0;
    for (int i = 0; i < rt.SourceGrid()->Cols(); ++i) {
        if (rt.SourceGrid()->ColWidth(i) <= 0)
            continue;
        // By position: field i of the warehouse list's data set, for either list.
        const int t = host.listData ? outputTypeCode(host.listData->FieldType(i)) : 0;
        int a = 0;
        int b = 0;
        if (outputColumnKind(t, a, b))
            step(k, a, b);
        ++k;
    }
    const int result = step(-2, 0, 0);
    if (result != report::RTPrn::Done && result != report::RTPrn::Cancelled)
        showMessage(host.owner, QStringLiteral("输出失败：") + rt.LastError(),
                    modal::Icon::Critical, LoadResString(text::MessageCaption));
    return result;
}

} // namespace

int twipsToHundredthsCm(int twips)
{
    return int(std::nearbyint(double(twips) / 567.0 * 100.0));
}

int outputTypeCode(int fieldType)
{
    switch (fieldType) {
    case 11: return 1;            // boolean
    case 2: return 3;             // smallint
    case 3:                       // integer
    case 20: return 4;            // bigint
    case 4:                       // single
    case 5:                       // double
    case 131: return 8;           // numeric, decimal
    case 7:                       // date
    case 135: return 7;           // timestamp
    case 202: return 10;          // text
    default: return 0;
    }
}

bool outputColumnKind(int t, int &a, int &b)
{
    switch (t) {
    case 1: a = 1; b = 2; return true;
    case 2: a = 2; b = 2; return true;
    case 3: a = 3; b = 30; return true;
    case 4: a = 4; b = 30; return true;
    case 7:
    case 11: a = 7; b = 30; return true;
    case 8: a = 8; b = 10; return true;
    case 10:
    case 200: a = 10; b = 60; return true;
    default: return false;
    }
}

int RunReport(PrintWorkDb &db, const QString &table, report::ReportSource &grid, short mode,
              const ReportHost &host, int *outputResult)
{
    if (!host.control)
        throw dbkit::DbError(dbkit::ErrorNumber::General,
                             QStringLiteral("no report-print control"));
    report::RTPrn &rt = *host.control;
    rt.Identify(QStringLiteral("AS"), QStringLiteral("WareHouse"));
    rt.SetOwner(host.owner);
    // Printing needs a printer; a preview is laid out on the page set-up's
    // paper without one, and says so itself.
    if (mode == PrintMode::Print && rt.PrinterName().isEmpty()) {
        showMessage(host.owner, LoadResString(text::NoDefaultPrinter), modal::Icon::Critical,
                    LoadResString(text::MessageCaption));
        return 0;
    }
    rt.SetReportKind(6);
    rt.SetPrintNow(false);
    rt.SetDatabasePath(db.filePath());
    rt.SetLayoutTable(table);
    rt.SetSecondTable(rt.LayoutTable());
    const SourceGridScope source(rt, grid);
    if (mode == PrintMode::PageSetup) {
        int paperSize = 0;
        int orientation = 0;
        QString paperName;
        if (rt.PageSetupDialog(paperSize, orientation, paperName)
            == report::RTPrn::PageSetupCancelled)
            return 0;
    }
    rt.SetOffsetX(0);
    rt.SetOffsetY(0);
    rt.SetCopies(0);
    // The grids have one title row: rows 0 to 0 are repeated on every page.
    rt.SetLastTitleRow(1 - 1);
    for (int i = 0; i < grid.Cols(); ++i)
        rt.ColumnWidth(i, twipsToHundredthsCm(grid.ColWidth(i)), report::RTPrn::HundredthsCm);
    rt.PageMargins(50, 50, 50, 50);

    switch (mode) {
    case PrintMode::Preview:
        if (rt.PreviewReport() != 0)
            showMessage(host.owner, QStringLiteral("打印设置不正确，无法预览！"),
                        modal::Icon::Exclamation, QStringLiteral("提示信息"));
        return 0;
    case PrintMode::Print:
        rt.SetPrintNow(true);
        if (const int result = rt.PrintReport();
            result != report::RTPrn::Done && result != report::RTPrn::Cancelled)
            showMessage(host.owner, QStringLiteral("打印失败：") + rt.LastError(),
                        modal::Icon::Critical, LoadResString(text::MessageCaption));
        return 0;
    case PrintMode::Output:
        return runOutput(rt, host, outputResult);
    default:
        return 0;
    }
}

} // namespace depotbase
