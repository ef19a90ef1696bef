#pragma once

#include "suite/report/ReportColumns.h"

#include <QtGlobal>

#include <vector>

namespace report {

// How the visible columns share the printable width, and the body font that
// lets every cell show whole.
struct ColumnFit {
    std::vector<qreal> widths;  // twips per visible column
    qreal points = 9;           // body and title font size
    int lines = 1;              // lines a text cell may take (1 or 2)
};

// Fits the columns to the printable width. The layout's widths are scaled to
// it; when a cell's text does not fit its column, every column gets the room
// its widest cell needs plus a share of the rest in the layout's proportions,
// at the largest font from `maxPoints` down to `minPoints` where that works.
// Failing that, text cells take two lines at the smallest font. Numbers that
// still cannot fit are drawn in a smaller font of their own when painted.
ColumnFit fitColumns(const ReportView &view, qreal printableWidth, qreal maxPoints,
                     qreal minPoints, qreal padding);

} // namespace report
