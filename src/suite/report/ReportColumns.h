#pragma once

#include "suite/report/ReportSource.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace report {

// Kinds of output columns, as the output steps name them.
enum class ColumnKind {
    Boolean = 1,
    Byte = 2,
    Integer = 3,
    Long = 4,
    Single = 5,
    Double = 6,
    Date = 7,
    Currency = 8,
    Text = 10,
};

ColumnKind columnKindFromCode(int code);
bool isNumericKind(ColumnKind kind);

// One visible column of a report: where it comes from, how wide it is on the
// page and what its cells hold.
struct ReportColumn {
    int sourceCol = 0;
    int widthTwips = 0;
    ColumnKind kind = ColumnKind::Text;  // as the output steps gave it, for the files
    bool numeric = false;                // the source's own kind: right-aligned, never wrapped
};

// The part of a source a report shows: its visible columns and how many of
// its first rows are column titles.
struct ReportView {
    const ReportSource *source = nullptr;
    std::vector<ReportColumn> columns;
    int titleRows = 1;

    int rows() const { return source ? source->Rows() : 0; }
    int dataRows() const;
    QString text(int row, int column) const
    {
        return source->TextMatrix(row, columns[size_t(column)].sourceCol);
    }
};

// One cell as the file formats write it: typed where the column's kind and
// the text agree, text otherwise.
struct CellValue {
    enum Type { Empty, Text, Number, Boolean, Date, DateTime };
    Type type = Empty;
    double number = 0;
    bool flag = false;
    QDateTime dateTime;
};

CellValue classifyCell(const QString &text, ColumnKind kind);

// Twips per hundredth of a centimetre (567 twips to the centimetre).
constexpr double twipsPerHundredthCm = 5.67;

} // namespace report
