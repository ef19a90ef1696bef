#pragma once

#include <QString>

class PrintWorkDb;
class QWidget;
namespace report {
class RTPrn;
class ReportSource;
}
namespace dbkit {
class DbDataSet;
}

// Modes of the print commands.
namespace PrintMode {
constexpr short Preview = 0;
constexpr short Print = 1;
constexpr short Output = 2;
constexpr short PageSetup = 3;
}

// What the print commands of both lists use of the warehouse list window: its
// report-print control RTPrn1, the window itself (dialogs and the preview open
// over it) and its data set mRecObject, whose field types choose the output's
// column kinds.
struct ReportHost {
    report::RTPrn *control = nullptr;
    QWidget *owner = nullptr;
    const dbkit::DbDataSet *listData = nullptr;
};

namespace depotbase {

// The print mode of a list toolbar's key (TlbPreview, TlbPrint, TlbOutput,
// TlbPSetup); -1 for a key that does not print.
short PrintModeOfKey(const QString &key);

// Configures the report-print control for one command over the grid and the
// layout table, then previews, prints, writes the output file or leaves it
// after the page set-up. Returns the output's result code in the output mode,
// else 0. `outputResult`, when given, follows the result of every output step
// as it comes back. Throws when a step fails on the way.
int RunReport(PrintWorkDb &db, const QString &table, report::ReportSource &grid, short mode,
              const ReportHost &host, int *outputResult = nullptr);

// A column width in twips as hundredths of a centimetre, halves to even.
int twipsToHundredthsCm(int twips);

// Type code of a data-set field as the output's column kinds name them:
// 1 flag, 3 16-bit integer, 4 32-bit or wider integer, 7 date, 8 fixed-point
// or floating number, 10 text; 0 for a kind the output does not type.
int outputTypeCode(int fieldType);

// The output step's kind pair (a, b) for a type code t; false when the output
// is not told the column's kind.
bool outputColumnKind(int t, int &a, int &b);

} // namespace depotbase
