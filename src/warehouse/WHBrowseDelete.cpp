// Deleting warehouses from the list, opening one for editing, and the
// in-use test; the warehouse service takes the record locks, reads and
// deletes by key.
//
// A lock taken by a command is released when the command ends, on every path
// (a refused confirmation, a warehouse deleted meanwhile, a database error),
// so no warehouse stays locked for other operators.
#include "frmWHBrowse.h"

#include "WarehouseListGrid.h"
#include "frmWHCard.h"
#include "data/Catalogue.h"
#include "services/WarehouseRules.h"
#include "services/WarehouseService.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

#include <cstdlib>

using namespace depotbase;

namespace rules = services::warehouse_rules;

namespace {

QString caption()
{
    return LoadResString(17);
}

void critical(QWidget *parent, const QString &text)
{
    modal::message(parent, text, modal::Icon::Critical, modal::Buttons::Ok, caption());
}

bool confirmed(QWidget *parent, const QString &question)
{
    return modal::message(parent, question, modal::Icon::Question, modal::Buttons::YesNo,
                          caption())
           == modal::Answer::Yes;
}

// The warehouse of a grid row, read by key; nullopt when it is no longer
// stored.
std::optional<services::WarehouseRecord> storedOf(services::WarehouseService &service,
                                                  const SuperGrid &grid, int row)
{
    return service.read(grid.TextMatrix(row, 0));
}

} // namespace

void frmWHBrowse::showRefusal(const QString &message)
{
    if (message == rules::lockedText())
        modal::message(this, message, modal::Icon::Information, modal::Buttons::Ok, caption());
    else
        critical(this, message);
}

bool frmWHBrowse::FDelete()
{
    if (refuseWhenReadOnly())
        return false;
    services::WarehouseService &service = warehouses();
    try {
        const QString code = m_grid->TextMatrix(m_grid->Row(), 0).trimmed();
        if (service.positionCount(code) > 0) {
            critical(this, rules::hasPositionsText());
            return false;
        }
        const std::optional<services::WarehouseRecord> stored = service.read(code);
        if (!stored) {
            critical(this, rules::deletedBeforeDeleteText());
            return false;
        }
        recLock = stored->code;
        if (!confirmed(this, LoadResString(4) + LoadResString(51) + QStringLiteral("---")
                                 + stored->name + QStringLiteral(" ") + LoadResString(5)
                                 + QStringLiteral("?")))
            return true;
        const services::ServiceResult result = service.remove(recLock);
        m_locks.tellFailedRelease();
        if (!result.done()) {
            showRefusal(result.message);
            return result.message == rules::lockedText();
        }
        m_dataSetBehind = true;
        listgrid::removeCurrentRow(*m_grid);
        return true;
    } catch (const dbkit::DbError &error) {
        critical(this, rules::deleteErrorText(error.number(), error.description()));
        return false;
    }
}

// Deletes grid rows firstRow to lastRow (either direction), always the
// warehouse of the current row: each removal brings the next selected row
// into place, or moves the current row up.
bool frmWHBrowse::FDelete1(long &firstRow, long &lastRow)
{
    if (refuseWhenReadOnly())
        return false;
    services::WarehouseService &service = warehouses();
    try {
        if (!storedOf(service, *m_grid, m_grid->Row())) {
            critical(this, LoadResString(6) + LoadResString(52) + QStringLiteral(",")
                               + LoadResString(7));
            return false;
        }
        const long count = std::labs(lastRow - firstRow) + 1;
        if (!confirmed(this, LoadResString(128) + QStringLiteral("?")
                                 + QStringLiteral("\n（共 %1 个仓库将被删除）").arg(count)))
            return true;
        for (long i = 0; i < count; ++i) {
            recLock = m_grid->TextMatrix(int(firstRow), 0);
            const services::ServiceResult result = service.remove(recLock);
            m_locks.tellFailedRelease();
            if (!result.done()) {
                // The row cannot be passed over: the rest stay as they are.
                showRefusal(result.message);
                return false;
            }
            m_dataSetBehind = true;
            m_grid->RemoveItem(m_grid->Row());
            if (firstRow < lastRow) {
                --lastRow;
                m_grid->setRowSel(int(lastRow));
            } else if (firstRow > lastRow) {
                --firstRow;
                m_grid->setRow(int(firstRow));
            }
            showSelection(m_grid->Rows() > 1);
        }
        return true;
    } catch (const dbkit::DbError &error) {
        critical(this, rules::deleteErrorText(error.number(), error.description()));
        return false;
    }
}

void frmWHBrowse::FEdit()
{
    recLock = m_grid->TextMatrix(m_grid->Row(), 0);
    // A read-only list only shows the card (its save is refused): no lock.
    const bool locking = !isReadOnly();
    const services::OpenedWarehouse opened = warehouses().openForEdit(recLock, locking);
    if (opened.outcome == services::OpenedWarehouse::Outcome::Locked) {
        showRefusal(rules::lockedText());
        return;
    }
    if (opened.outcome == services::OpenedWarehouse::Outcome::Opened) {
        frmWHCard &card = m_card.get(this);
        card.mRecwarehouse = opened.record;
        card.mblnAddMark = false;
        try {
            card.ShowCard(*this);
        } catch (...) {
            if (locking)
                releaseLock(recLock);
            throw;
        }
        if (locking)
            releaseLock(recLock);
    } else {
        critical(this, rules::deletedBeforeEditText());
    }
}

// In use when the database refuses to delete the warehouse for its related
// records; any other failure (a busy database, a lost connection) says
// nothing about use and is raised.
bool frmWHBrowse::onUsed(const QString &code)
{
    return warehouses().inUse(code);
}
