#pragma once

#include <QString>
#include <QtGlobal>

namespace report {

// What the report-print control reads from a grid: its cells and column
// widths. Row 0 (and any further title rows) hold the column titles. The grid
// implements this through a small adapter, so this library never depends on
// the grid itself.
class ReportSource {
public:
    virtual ~ReportSource() = default;

    virtual int Rows() const = 0;
    virtual int Cols() const = 0;
    // Column width in twips; 0 for a hidden column.
    virtual int ColWidth(int col) const = 0;
    virtual QString TextMatrix(int row, int col) const = 0;
    // True when the column holds numbers (its kind in the source's data).
    virtual bool ColNumeric(int col) const
    {
        Q_UNUSED(col);
        return false;
    }
};

} // namespace report
