// The authority command of the list: the authority list, modal over this one.
#include "frmWHBrowse.h"

#include "authority/FrmWHAuth.h"

void frmWHBrowse::showAuthority()
{
    const AuthListInputs inputs{{dbs, isReadOnly()},
                                m_printing.host(mRecObject.get())};
    // The authority list keeps nothing between commands: a fresh one each time.
    m_authorityList.get(inputs, this).ShowList();
    m_authorityList.unload();
}
