#pragma once

#include <QString>

class PrintWorkDb;
class QWidget;

namespace depotbase {

// Makes a new layout table in the print-work database and returns its name,
// "TempPrint_" + a number from 100 to 199 + the time as HHMMSS, or "" when no
// table could be made. A number already taken in the file (another command in
// the same second) is never reused: the next free one is taken instead. The
// name is made of our own digits only.
QString CreateLayoutTable(PrintWorkDb *db);

// The name the last CreateLayoutTable made.
extern QString layoutTableName;

} // namespace depotbase

// Where a list's layout items go: its window (the inner width W, in twips, is
// read anew for every item that uses it) and the left edges of the title and
// the year line, in twips.
struct LayoutPlace {
    const QWidget *window = nullptr;
    int titleX = 0;
    int yearX = 0;
};

namespace depotbase {

// Writes the six layout items of a list page into the table: the frames of
// the title block and the band, the title, the year, the print date and the
// maker line. Throws dbkit::DbError when the file refuses a row.
void WriteLayoutRows(PrintWorkDb &db, const QString &table, const QString &title,
                     const LayoutPlace &place);

} // namespace depotbase

// Screen pixels are 15 twips, as the windows are laid out.
inline constexpr int TwipsPerPixel = 15;

namespace depotbase {

// The inner width of a window in twips.
int innerWidthTwips(const QWidget &window);

} // namespace depotbase
