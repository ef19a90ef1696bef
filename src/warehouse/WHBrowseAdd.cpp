// The list's add command and its read-only guard.
#include "frmWHBrowse.h"

#include "frmWHCard.h"

void frmWHBrowse::FAdd()
{
    if (refuseWhenReadOnly())
        return;
    frmWHCard &card = m_card.get(this);
    card.mRecwarehouse = mRecObject;
    card.mblnAddMark = true;
    card.ShowCard(*this);
}

bool frmWHBrowse::refuseWhenReadOnly()
{
    return frmWHCard::refuseWhenReadOnly(this, isReadOnly());
}
