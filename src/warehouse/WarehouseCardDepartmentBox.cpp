#include "WarehouseCardDepartmentBox.h"

#include "WarehouseMessages.h"
#include "data/Catalogue.h"
#include "services/WarehouseRecord.h"
#include "services/WarehouseRules.h"
#include "suite/controls/EditBox.h"

using namespace depotbase;

void WarehouseCardDepartmentBox::open(dbkit::DbLogin &login, QWidget *card, EditBox *box,
                                      bool readOnly)
{
    m_card = card;
    m_box = box;
    m_readOnly = readOnly;
    m_departments.open(login, card);
}

void WarehouseCardDepartmentBox::close()
{
    m_departments.close();
}

bool WarehouseCardDepartmentBox::find()
{
    const std::optional<CardDepartment> found = m_departments.find(m_box->text());
    if (found && m_box->text() != found->name)
        m_box->setText(found->name);
    return found.has_value();
}

void WarehouseCardDepartmentBox::checkOnLeaving()
{
    if (m_readOnly || m_box->text().isEmpty())
        return;
    bool found = false;
    if (!whmessages::guarded(m_card, [&] { found = find(); }) || found)
        return;
    whmessages::critical(m_card, LoadResString(text::InvalidDepartment));
    m_box->clear();
    m_departments.forget();
    m_box->setFocus(Qt::OtherFocusReason);
}

void WarehouseCardDepartmentBox::chooseFromReference()
{
    if (m_readOnly)
        return;
    whmessages::guarded(m_card, [this] {
        if (const std::optional<CardDepartment> chosen = m_departments.choose())
            m_box->setText(chosen->name);
    });
}

bool WarehouseCardDepartmentBox::checkForSave(bool byDepartment)
{
    services::WarehouseRecord typed;
    typed.depName = m_box->text();
    if (find())
        typed.depCode = m_departments.code();
    else
        m_departments.forget();
    const services::ServiceResult result =
        services::warehouse_rules::checkDepartment(typed, byDepartment);
    if (!result.done()) {
        whmessages::critical(m_card, result.message);
        m_box->setFocus(Qt::OtherFocusReason);
        return false;
    }
    // A box of blanks is no department either.
    if (typed.depCode.isEmpty())
        m_box->clear();
    return true;
}
