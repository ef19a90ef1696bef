// Saving the warehouse card: the checks the card asks about, the
// department-wide valuation question, the save through the warehouse
// service, and what a refused save leaves behind (everything the user typed,
// the mode and the lock, so the user can correct it and save again).
#include "WarehouseCard.h"

#include "WarehouseCardHost.h"
#include "WarehouseMessages.h"
#include "data/Catalogue.h"
#include "services/WarehouseRules.h"
#include "suite/controls/EditBox.h"
#include "suite/modal/ModalSeam.h"

#include <QComboBox>
#include <QScopedValueRollback>

using namespace depotbase;

namespace rules = services::warehouse_rules;

void frmWHCard::saveCard()
{
    {
        const QScopedValueRollback saving(m_saving, true);
        saveTyped();
    }
    // A change told while saving is weighed against what the save left.
    showNews();
}

void frmWHCard::saveTyped()
{
    mblnSaved = false;
    if (whmessages::refuseWhenReadOnly(this, m_host->isReadOnly()))
        return;
    if (CheckNull() || !checkQuota())
        return;
    bool departmentChecked = false;
    if (!whmessages::guarded(this, [&] {
            departmentChecked = m_departmentBox.checkForSave(m_options.byDepartment)
                                && (!m_options.byDepartment || applyDepartmentStyle());
        })
        || !departmentChecked)
        return;
    const bool stored = mblnAddMark ? InsertRecord() : UpdateRecord();
    if (!stored)
        return;
    mblnSaved = true;
    // The card now waits for a new warehouse: nothing stored to follow.
    m_following.reset();
    m_host->releaseEditLock();
    ClearCard();
    AfterSave();
    mblnAddMark = true;
    EdtcWhCode->setFocus(Qt::OtherFocusReason);
}

// Every warehouse of a department carries the department's valuation style,
// which is that of its first warehouse by code: the card follows it, after
// asking and saying how many other warehouses the save sets to it.
bool frmWHCard::applyDepartmentStyle()
{
    // The warehouse on the card is not one of the others.
    const services::DepartmentStyle rule = m_host->warehouses().checks().departmentStyle(
        m_departmentBox.code(), mblnAddMark ? QString() : mstrOldCode);
    const QString question = rules::styleQuestion(EdtcDepCode->text(), rule.style, rule.others,
                                                  CmbcWhValueStyle->currentText());
    if (question.isEmpty())
        return true;
    showStyle(rule.style);
    const modal::Answer answer =
        modal::message(this, question, modal::Icon::Information, modal::Buttons::OkCancel,
                       LoadResString(text::MessageCaption));
    return answer == modal::Answer::Ok;
}

bool frmWHCard::InsertRecord()
{
    return storeCard(true);
}

bool frmWHCard::UpdateRecord()
{
    return storeCard(false);
}

// Stores the card through the service and hands the stored warehouse to the
// list. A refusal is told and changes nothing on the card.
bool frmWHCard::storeCard(bool adding)
{
    services::WarehouseSave request;
    request.adding = adding;
    if (!adding)
        request.original = mRecwarehouse;
    request.edited = typedRecord(mRecwarehouse, mblnAddMark, m_departmentBox.code());
    request.byDepartment = m_options.byDepartment;
    const services::SavedWarehouse saved = m_host->warehouses().save(request);
    if (!saved.result.done()) {
        refuse(saved.result.message);
        if (saved.vanished)
            recordVanished();
        return false;
    }
    // Only a style the user changed was kept back: then the user is told.
    if (saved.styleKept)
        modal::message(this, rules::storedInUseText(), modal::Icon::Information,
                       modal::Buttons::Ok, LoadResString(text::MessageCaption));
    m_host->showSavedWarehouse(saved.stored, adding);
    if (m_options.byDepartment && !saved.storedInUse)
        m_host->showDepartmentStyle(saved.stored.depName, saved.stored.valueStyle);
    return true;
}

// The warehouse being edited was deleted by another operator meanwhile. What
// was typed stays on the card, now in add mode, so it can be stored as a new
// warehouse; the list's row of the deleted one goes.
void frmWHCard::recordVanished()
{
    m_following.reset();
    m_host->releaseEditLock();
    m_host->dropEditedRow();
    mblnAddMark = true;
}

void frmWHCard::AfterSave()
{
    mblnAddMark = false;
    mblnChanged = false;
    ShowSaveState();
}
