#pragma once

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QToolBar;
class QWidget;
class SuperGrid;
namespace dbkit {
class DbDataSet;
}

// The controls of the warehouse list, by the names the list uses: the
// toolbar over the grid and the two hidden report titles, how they are made,
// set up when the list loads and placed when its window changes size. The
// list's window owns the widgets.
struct WarehouseListControls {
    // Makes the toolbar, the grid and the hidden report titles inside `list`.
    void buildControls(QWidget *list);
    // The toolbar's buttons afresh with their pictures (a click runs `run`
    // with the key; a read-only list's write buttons disabled), the grid's
    // columns (no position column in the basic version) and its selection
    // shown, as on a newly made grid.
    void loadControls(bool basicVersion, bool readOnly,
                      const std::function<void(const QString &)> &run);
    // The toolbar across the top of a window of `size` and the grid below
    // it; the report titles follow the window's width.
    void layoutControls(QSize size);
    // The report titles centred in a window `width` wide.
    void prepareTitleLabels(int width);
    QAction *toolbarButton(const QString &key) const;
    // Selection colours: the highlight pair when rows are listed, hidden otherwise.
    void showSelection(bool visible);
    // Fills the grid from a data set (the caller empties it first).
    void FillListGrid(dbkit::DbDataSet &rows);

    SuperGrid *m_grid = nullptr;
    QToolBar *m_toolbar = nullptr;
    QLabel *lblTitle1 = nullptr;
    QLabel *lblTitle2 = nullptr;

private:
    int m_toolbarHeight = 0;
    QList<QIcon> m_images;  // ImageList1
};
