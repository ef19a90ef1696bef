// The authority and history commands of the list: the authority list and
// the change history, modal over this one.
#include "WarehouseList.h"

#include "authority/AuthorityList.h"
#include "history/HistoryWindow.h"
#include "suite/controls/SuperGrid.h"

void frmWHBrowse::showAuthority()
{
    const AuthListInputs inputs{{dbs, isReadOnly()},
                                m_printing.host(mRecObject.get())};
    // The authority list keeps nothing between commands: a fresh one each time.
    m_authorityList.get(inputs, this).ShowList();
    m_authorityList.unload();
}

void frmWHBrowse::showHistory()
{
    if (m_grid->Rows() < 2 || m_grid->Row() < 1)
        return;
    HistorySubject subject;
    subject.filter.warehouse = m_grid->TextMatrix(m_grid->Row(), 0);
    subject.title = QStringLiteral("仓库 %1 %2")
                        .arg(subject.filter.warehouse, m_grid->TextMatrix(m_grid->Row(), 1));
    ShowChangeHistory(this, dbs, subject, isReadOnly());
}
