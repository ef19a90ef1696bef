#pragma once

#include <QSize>

class QLabel;
class QToolBar;
class QWidget;

// Where the warehouse list's controls go in its window.
namespace listlayout {

// Wide enough for every column of the list, within the screen.
QSize initialSize();

// The report titles: "仓库档案" and the year, centred in a window `width`
// wide and hidden (they are prepared for printing, never shown).
void prepareTitles(QLabel &title, QLabel &year, int width);

// The toolbar across the top and the grid below it. When too little height
// is left the grid stays where it is and the result is false.
bool place(QToolBar &toolbar, QWidget &grid, int toolbarHeight, QSize window);

} // namespace listlayout
