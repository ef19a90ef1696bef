#include "WarehouseListDeletion.h"

#include "WarehouseListGrid.h"
#include "WarehouseListLocks.h"
#include "WarehouseMessages.h"
#include "data/Catalogue.h"
#include "services/WarehouseRules.h"
#include "services/WarehouseService.h"
#include "suite/controls/SuperGrid.h"
#include "services/DatabaseFailure.h"
#include "suite/modal/ModalSeam.h"

#include <cstdlib>

using namespace depotbase;

namespace rules = services::warehouse_rules;

namespace {

bool confirmed(QWidget *window, const QString &question)
{
    return modal::message(window, question, modal::Icon::Question, modal::Buttons::YesNo,
                          LoadResString(text::MessageCaption))
           == modal::Answer::Yes;
}

} // namespace

WarehouseListDeletion::WarehouseListDeletion(QWidget *window,
                                             services::WarehouseService &service,
                                             SuperGrid &grid, WarehouseListLocks &locks)
    : m_window(window), m_service(service), m_grid(grid), m_locks(locks)
{
}

services::ServiceResult WarehouseListDeletion::deleteCode(const QString &code)
{
    m_code = code;
    services::ServiceResult result = m_service.remove(code);
    m_locks.tellFailedRelease();
    if (result.done())
        ++m_deleted;
    // A warehouse another operator deleted meanwhile leaves the list too.
    if (result.done() || result.refusal == services::Refusal::DeletedMeanwhile) {
        m_removedRows = true;
        listgrid::removeCurrentRow(m_grid);
    }
    return result;
}

void WarehouseListDeletion::tellRefusal(const services::ServiceResult &refusal)
{
    if (refusal.refusal == services::Refusal::Locked)
        m_locks.tellLocked(m_code);
    else
        whmessages::critical(m_window, refusal.message);
}

bool WarehouseListDeletion::told(const std::function<bool()> &command)
{
    bool result = false;
    services::guarded([&] { result = command(); },
                      [this](const services::DatabaseFailure &error) {
                          whmessages::critical(m_window, rules::deleteErrorText(
                                                             error.number, error.description));
                      });
    return result;
}

bool WarehouseListDeletion::deleteCurrent()
{
    return told([this] { return askAndDeleteCurrent(); });
}

bool WarehouseListDeletion::deleteRows(long &firstRow, long &lastRow)
{
    return told([&] { return askAndDeleteRows(firstRow, lastRow); });
}

bool WarehouseListDeletion::askAndDeleteCurrent()
{
    const QString code = m_grid.TextMatrix(m_grid.Row(), 0);
    // Positions are checked before any lock or question.
    if (m_service.checks().positionCount(code.trimmed()) > 0) {
        whmessages::critical(m_window, rules::hasPositionsText());
        return false;
    }
    const std::optional<services::WarehouseRecord> stored = m_service.read(code);
    if (!stored) {
        whmessages::critical(m_window, rules::deletedBeforeDeleteText());
        m_removedRows = true;
        listgrid::removeCurrentRow(m_grid);
        return false;
    }
    m_code = stored->code;
    if (!confirmed(m_window, LoadResString(text::ConfirmDelete) + LoadResString(text::Warehouse)
                                 + QStringLiteral("---") + stored->name + QStringLiteral(" ")
                                 + LoadResString(text::QuestionEnd) + QStringLiteral("?")))
        return true;
    const services::ServiceResult result = deleteCode(m_code);
    if (result.done())
        return true;
    tellRefusal(result);
    // A lock held by another operator still counts as found.
    return result.refusal == services::Refusal::Locked;
}

bool WarehouseListDeletion::askAndDeleteRows(long &firstRow, long &lastRow)
{
    if (!m_service.read(m_grid.TextMatrix(m_grid.Row(), 0))) {
        whmessages::critical(
            m_window, LoadResString(text::NothingSelected) + LoadResString(text::WarehouseCode)
                          + QStringLiteral(",") + LoadResString(text::PleaseChoose));
        return false;
    }
    const long count = std::labs(lastRow - firstRow) + 1;
    if (!confirmed(m_window, LoadResString(text::ConfirmDeleteSelection) + QStringLiteral("?")
                                 + QStringLiteral("\n（共 %1 个仓库将被删除）").arg(count)))
        return true;
    for (long i = 0; i < count; ++i) {
        // A row that cannot go stops the delete: the rest stay as they are.
        const services::ServiceResult result =
            deleteCode(m_grid.TextMatrix(int(firstRow), 0));
        if (!result.done()) {
            // In use: the user learns which warehouse stopped it and
            // how many went before it.
            if (result.refusal == services::Refusal::InUse)
                whmessages::critical(m_window,
                                     whmessages::deleteStoppedInUseText(m_deleted, m_code));
            else
                tellRefusal(result);
            return false;
        }
        if (firstRow < lastRow) {
            --lastRow;
            m_grid.setRowSel(int(lastRow));
        } else if (firstRow > lastRow) {
            --firstRow;
            m_grid.setRow(int(firstRow));
        }
    }
    return true;
}
