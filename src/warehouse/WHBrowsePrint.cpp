// The warehouse list's print work: its print-work database, and the page
// set-up, preview, print and output commands.
#include "frmWHBrowse.h"

#include "data/Catalogue.h"
#include "data/ModuleState.h"
#include "print/PrintList.h"
#include "suite/controls/SuperGrid.h"

#include <QLabel>

using namespace depotbase;

void frmWHBrowse::openPrintWork()
{
    printDb = OpenPrintWorkDb(SystemFolder(), QString::fromLatin1(WarehouseListPrintFile), this);
}

void frmWHBrowse::closePrintWork()
{
    printDb.reset();
}

void frmWHBrowse::runPrintCommand(int mode)
{
    if (refuseEmptyList(short(mode), m_grid->Rows(), this))
        return;
    const ReportHost host{&m_rtPrn1, this, mRecObject.get()};
    PrintWarehouseList(printDb.get(), *m_grid, LoadResString(62), short(mode), *this, *lblTitle1,
                       *lblTitle2, host);
}
