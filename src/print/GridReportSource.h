#pragma once

#include "suite/controls/SuperGrid.h"
#include "suite/report/ReportSource.h"

// Lets the report-print control read a list's grid: its cells and its column
// widths in twips. Row 0 is the title row.
class GridReportSource : public report::ReportSource {
public:
    explicit GridReportSource(const SuperGrid &grid) : m_grid(grid) {}

    int Rows() const override { return m_grid.Rows(); }
    int Cols() const override { return m_grid.Cols(); }
    int ColWidth(int col) const override { return m_grid.ColWidth(col); }
    QString TextMatrix(int row, int col) const override { return m_grid.TextMatrix(row, col); }
    // The grid's column kind, set from the list's data when it was loaded.
    bool ColNumeric(int col) const override
    {
        return m_grid.ColKind(col) == SuperGrid::KindNumeric;
    }

    // Rows at the top that hold column titles.
    static constexpr int TitleRows = 1;

private:
    const SuperGrid &m_grid;
};
