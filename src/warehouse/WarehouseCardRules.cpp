// The card's side of the warehouse rules: telling the required fields and
// the quota check, and the position-management rule.
#include "WarehouseCard.h"

#include "WarehouseCardHost.h"
#include "WarehouseMessages.h"
#include "services/WarehouseRules.h"
#include "suite/controls/EditBox.h"

#include <QCheckBox>
#include <QComboBox>

void frmWHCard::refuse(const QString &text)
{
    whmessages::critical(this, text);
}

bool frmWHCard::checkQuota()
{
    // An unchanged quota is not written: it keeps what is stored.
    if (!boxChanged(EdtiWhFundQuota, mblnAddMark))
        return true;
    const services::ServiceResult result =
        m_host->warehouses().checks().checkQuota(EdtiWhFundQuota->text());
    if (result.done())
        return true;
    refuse(result.message);
    EdtiWhFundQuota->setFocus(Qt::OtherFocusReason);
    return false;
}

bool frmWHCard::CheckNull()
{
    services::WarehouseRecord typed;
    typed.code = EdtcWhCode->text();
    typed.name = EdtcWhName->text();
    typed.valueStyle = CmbcWhValueStyle->currentText();
    const services::ServiceResult result = services::warehouse_rules::checkRequired(typed);
    if (result.done())
        return false;
    refuse(result.message);
    controlOf(result.field)->setFocus(Qt::OtherFocusReason);
    return true;
}

// A warehouse that has storage positions keeps its position management.
void frmWHCard::onPositionClicked()
{
    const bool cleared = !mblnAddMark && !mblnFilling && !ChkbWhPos->isChecked();
    if (cleared) {
        bool keep = false;
        // Without an answer the box stays as it was.
        if (!whmessages::guarded(this, [&] {
                const services::ServiceResult result =
                    m_host->warehouses().checks().checkPositionsOff(mRecwarehouse);
                keep = !result.done();
                if (keep)
                    refuse(result.message);
            }))
            keep = true;
        if (keep) {
            mblnFilling = true;
            ChkbWhPos->setChecked(true);
            mblnFilling = false;
            return;
        }
    }
    markChanged();
}
