#include "WarehouseListControls.h"

#include "WarehouseListGrid.h"
#include "WarehouseListLayout.h"
#include "WarehouseListToolbar.h"
#include "forms/ToolbarButtons.h"
#include "suite/controls/SuperGrid.h"

#include <QLabel>
#include <QToolBar>

void WarehouseListControls::buildControls(QWidget *list)
{
    m_toolbar = depotbase::CreateListToolbar(list);

    m_grid = new SuperGrid(list);
    m_grid->setObjectName(QStringLiteral("SpGrdWH"));

    lblTitle1 = new QLabel(list);
    lblTitle1->setObjectName(QStringLiteral("lblTitle1"));
    lblTitle2 = new QLabel(list);
    lblTitle2->setObjectName(QStringLiteral("lblTitle2"));
    lblTitle1->hide();
    lblTitle2->hide();
}

void WarehouseListControls::loadControls(bool basicVersion, bool readOnly,
                                         const std::function<void(const QString &)> &run)
{
    m_images = listtoolbar::loadPictures();
    listtoolbar::build(*m_toolbar, m_images, run);
    if (readOnly)
        listtoolbar::offerReadOnly(*m_toolbar);
    // The toolbar's height with its buttons, for the layout.
    m_toolbarHeight = m_toolbar->sizeHint().height();
    listgrid::setup(*m_grid, basicVersion);

    // The window object outlives its loads: each load starts from a grid
    // that shows its selection, as a newly made one does, whatever an empty
    // list did to it last time.
    m_grid->setHighLight(1);
    m_grid->setFocusRect(1);
    showSelection(true);
}

void WarehouseListControls::layoutControls(QSize size)
{
    if (listlayout::place(*m_toolbar, *m_grid, m_toolbarHeight, size))
        prepareTitleLabels(size.width());
}

void WarehouseListControls::prepareTitleLabels(int width)
{
    listlayout::prepareTitles(*lblTitle1, *lblTitle2, width);
}

QAction *WarehouseListControls::toolbarButton(const QString &key) const
{
    return depotbase::ToolbarAction(*m_toolbar, key);
}

void WarehouseListControls::showSelection(bool visible)
{
    listgrid::showSelection(*m_grid, visible);
}

void WarehouseListControls::FillListGrid(dbkit::DbDataSet &rows)
{
    listgrid::fill(*m_grid, rows);
}
