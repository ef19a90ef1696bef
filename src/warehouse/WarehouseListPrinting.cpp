#include "WarehouseListPrinting.h"

#include "data/Catalogue.h"
#include "data/ModuleState.h"
#include "print/PrintList.h"
#include "suite/controls/SuperGrid.h"

using namespace depotbase;

WarehouseListPrinting::WarehouseListPrinting(QWidget *list) : m_list(list) {}

void WarehouseListPrinting::open()
{
    m_printDb = OpenPrintWorkDb(SystemFolder(), QString::fromLatin1(WarehouseListPrintFile),
                                m_list);
}

void WarehouseListPrinting::close()
{
    m_printDb.reset();
}

ReportHost WarehouseListPrinting::host(const dbkit::DbDataSet *listData)
{
    return ReportHost{&m_control, m_list, listData};
}

bool WarehouseListPrinting::run(const QString &key, SuperGrid &grid, const QWidget &lblTitle1,
                                const QWidget &lblTitle2, const dbkit::DbDataSet *listData)
{
    const short mode = PrintModeOfKey(key);
    if (mode < 0)
        return false;
    if (refuseEmptyList(mode, grid.Rows(), m_list))
        return true;
    PrintWarehouseList(m_printDb.get(), grid, LoadResString(text::WarehouseList), mode, *m_list,
                       lblTitle1, lblTitle2, host(listData));
    return true;
}
