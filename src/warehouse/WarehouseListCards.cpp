#include "WarehouseListCards.h"

#include "WarehouseListGrid.h"
#include "WarehouseListLocks.h"
#include "WarehouseMessages.h"
#include "WarehouseCard.h"
#include "services/WarehouseRules.h"
#include "services/WarehouseService.h"

#include <utility>

namespace rules = services::warehouse_rules;

WarehouseListCards::WarehouseListCards(QWidget *list, WarehouseListLocks &locks)
    : m_list(list), m_locks(locks)
{
}

WarehouseListCards::~WarehouseListCards() = default;

void WarehouseListCards::attach(SuperGrid &grid, const services::Account &account,
                                bool readOnly, const QString &computer)
{
    m_grid = &grid;
    m_account = account;
    m_readOnly = readOnly;
    m_computer = computer;
}

void WarehouseListCards::add()
{
    frmWHCard &card = m_card.get(m_list);
    card.mRecwarehouse = {};
    card.mblnAddMark = true;
    m_editCode.clear();
    card.ShowCard(*this);
}

void WarehouseListCards::edit(const QString &code)
{
    // A read-only list only shows the card (its save is refused): no lock.
    const bool locking = !m_readOnly;
    const services::OpenedWarehouse opened = warehouses().openForEdit(code, locking);
    if (opened.outcome == services::OpenedWarehouse::Outcome::Locked) {
        m_locks.tellLocked(code);
        return;
    }
    if (opened.outcome == services::OpenedWarehouse::Outcome::Gone) {
        whmessages::critical(m_list, rules::deletedBeforeEditText());
        // Its row goes: the list must not offer a warehouse that is gone.
        dropEditedRow();
        return;
    }
    frmWHCard &card = m_card.get(m_list);
    card.mRecwarehouse = opened.record;
    card.mblnAddMark = false;
    m_editCode = locking ? code : QString();
    try {
        card.ShowCard(*this);
    } catch (...) {
        releaseEditLock();
        throw;
    }
    releaseEditLock();
}

bool WarehouseListCards::takeRowsChanged()
{
    return std::exchange(m_rowsChanged, false);
}

services::WarehouseService &WarehouseListCards::warehouses()
{
    return m_locks.service(m_account, m_computer);
}

void WarehouseListCards::showSavedWarehouse(const services::WarehouseRecord &stored, bool added)
{
    m_rowsChanged = true;
    listgrid::showWarehouse(*m_grid, stored, added);
}

void WarehouseListCards::showDepartmentStyle(const QString &depName, const QString &style)
{
    listgrid::showDepartmentStyle(*m_grid, depName, style);
}

void WarehouseListCards::dropEditedRow()
{
    m_rowsChanged = true;
    listgrid::removeCurrentRow(*m_grid);
}

void WarehouseListCards::releaseEditLock()
{
    if (m_account)
        m_locks.release(m_account, std::exchange(m_editCode, QString()));
}
