// The list's add command, its read-only guard, and the list as the card's
// host: the warehouse service it lends and the stored warehouses it shows.
#include "frmWHBrowse.h"

#include "ListColumns.h"
#include "frmWHCard.h"
#include "data/Catalogue.h"
#include "services/WarehouseService.h"
#include "suite/controls/SuperGrid.h"
#include "suite/locks/LockVouchDLL.h"

#include <vector>

using namespace depotbase;

void frmWHBrowse::FAdd()
{
    if (refuseWhenReadOnly())
        return;
    frmWHCard &card = m_card.get(this);
    card.mRecwarehouse = {};
    card.mblnAddMark = true;
    card.ShowCard(*this);
}

bool frmWHBrowse::refuseWhenReadOnly()
{
    return frmWHCard::refuseWhenReadOnly(this, isReadOnly());
}

services::WarehouseService &frmWHBrowse::warehouses()
{
    // The host may hand the list another login; the computer name is taken
    // when the window loads.
    if (!m_service || m_serviceLogin != dbs.get() || m_serviceComputer != PCName) {
        m_service = std::make_unique<services::WarehouseService>(*dbs, bLock(), PCName);
        m_serviceLogin = dbs.get();
        m_serviceComputer = PCName;
    }
    return *m_service;
}

void frmWHBrowse::showSavedWarehouse(const services::WarehouseRecord &stored, bool added)
{
    m_dataSetBehind = true;
    int row = m_grid->Row();
    if (added) {
        m_grid->setBackColorSel(SysHighlight);
        m_grid->setForeColorSel(SysHighlightText);
        m_grid->setRows(m_grid->Rows() + 1);
        row = m_grid->Rows() - 1;
        m_grid->setTopRow(row);
    }
    std::vector<QString> cells{
        stored.code,
        stored.name,
        stored.depName,
        stored.address,
        stored.phone,
        stored.person,
        stored.valueStyle,
        LoadResString(stored.positions ? 25 : 26),
        stored.fundQuota,
        stored.memo,
    };
    m_grid->setRowTexts(row, std::move(cells));
    if (added)
        m_grid->setRow(row);
}

void frmWHBrowse::showDepartmentStyle(const QString &depName, const QString &style)
{
    for (int row = 1; row < m_grid->Rows(); ++row)
        if (m_grid->TextMatrix(row, 2) == depName)
            m_grid->setTextMatrix(row, 6, style);
}

void frmWHBrowse::dropEditedRow()
{
    m_dataSetBehind = true;
    const int row = m_grid->Row();
    if (row >= 1 && row < m_grid->Rows()) {
        m_grid->RemoveItem(row);
        showSelection(m_grid->Rows() > 1);
    }
}
