#include "WarehouseListLayout.h"

#include "data/Catalogue.h"
#include "forms/WindowHelpers.h"
#include "suite/controls/Twips.h"

#include <QDate>
#include <QFont>
#include <QLabel>
#include <QToolBar>

namespace text = depotbase::text;

namespace listlayout {

namespace {

int pixels(int twips)
{
    return twips / controls::twipsPerPixel;
}

void centre(QLabel &label, const QString &text, int pointSize, int width)
{
    QFont font = label.font();
    font.setPointSize(pointSize);
    label.setFont(font);
    label.setText(text);
    label.adjustSize();
    label.move((width - label.width()) / 2, label.y());
    label.hide();
}

} // namespace

QSize initialSize()
{
    return depotbase::ListWindowSize(QSize(pixels(18900), pixels(9600)));
}

void prepareTitles(QLabel &title, QLabel &year, int width)
{
    centre(title, depotbase::LoadResString(text::WarehouseList), 15, width);
    centre(year, QString::number(QDate::currentDate().year()) + QStringLiteral("年度"), 10,
           width);
}

bool place(QToolBar &toolbar, QWidget &grid, int toolbarHeight, QSize window)
{
    toolbar.setGeometry(0, 0, window.width(), toolbarHeight);
    const int available = window.height() - toolbarHeight - pixels(300);
    if (available <= 0)
        return false;
    grid.setGeometry(0, toolbarHeight + pixels(200), window.width() - pixels(100), available);
    return true;
}

} // namespace listlayout
