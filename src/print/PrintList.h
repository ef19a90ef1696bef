#pragma once

#include "print/RunReport.h"

#include <QString>

class PrintWorkDb;
class QWidget;
class SuperGrid;

namespace depotbase {

// Preview, print and output need rows: for a grid with only its title row
// this shows the mode's message and returns true. Page set-up is never
// refused.
bool refuseEmptyList(short mode, int gridRows, QWidget *parent);

// One print command of the warehouse list: a new layout table in its
// print-work database, filled with the page's six items (title and year line
// at the left edges of the window's title labels), then the report-print
// control runs in the mode. Returns the layout table's name ("" when the
// command failed). Every failure is reported to the user here.
QString PrintWarehouseList(PrintWorkDb *printDb, SuperGrid &grid, const QString &title,
                           short mode, const QWidget &window, const QWidget &lblTitle1,
                           const QWidget &lblTitle2, const ReportHost &host);

// The same for the authority list, whose title and year line stand at fixed
// left edges.
QString PrintAuthorityList(PrintWorkDb *printDb, SuperGrid &grid, const QString &title,
                           short mode, const QWidget &window, const ReportHost &host);

} // namespace depotbase
