// Writing rights: insert, update and delete, each through rsAuth.
#include "FrmAuthority.h"

#include "AuthorityStatements.h"
#include "data/Catalogue.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

#include <QVariant>

using namespace depotbase;

namespace {

const QString duplicateMessage = QStringLiteral("权限设置重复!请重试");

QVariant emptyToNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

void FrmAuthority::collectRight(bool withNodeSide)
{
    const int row = curRow;
    if (nodeKind == 0) {
        if (withNodeSide) {
            rsAuth->Collect(QStringLiteral("cuser_id"), nodeName);
            rsAuth->Collect(QStringLiteral("Id"), nodeCode);
        }
        rsAuth->Collect(QStringLiteral("cWhCode"), cell(row, ColOther));
    } else {
        if (withNodeSide)
            rsAuth->Collect(QStringLiteral("cWhCode"), nodeCode);
        rsAuth->Collect(QStringLiteral("cuser_id"), cell(row, ColOtherName));
        rsAuth->Collect(QStringLiteral("Id"), cell(row, ColOther));
    }
    const QString money = cell(row, ColShowMoney);
    const bool show = !(money.isEmpty() || money == LoadResString(26));
    rsAuth->Collect(QStringLiteral("bDispMoney"), show ? 1 : 0);
    rsAuth->Collect(QStringLiteral("cInvCCode"), emptyToNull(cell(row, ColClass)));
    rsAuth->Collect(QStringLiteral("cInvCode"), emptyToNull(cell(row, ColInv)));
}

bool FrmAuthority::findAuthRecord(long long autoId)
{
    const QString criterion = QStringLiteral("Auto_ID=") + QString::number(autoId);
    rsAuth->FindFirst(criterion);
    if (!rsAuth->NoMatch())
        return true;
    // rsAuth is read once, when the window opens: a right another
    // administrator wrote since is in the table but not in it yet.
    dbkit::DbDataSetPtr count =
        m_login->OpenDataSet(authority::countByAutoIdStatement(autoId));
    if (count->Eof() || count->Fields(0).toLongLong() == 0)
        return false;
    rsAuth->Requery();
    rsAuth->FindFirst(criterion);
    return !rsAuth->NoMatch();
}

void FrmAuthority::treatAsUnwritten(int row)
{
    stop(QStringLiteral("该权限已经被他人删除！本行已作为新行，再次确认任一单元格即可重新保存。"));
    setCell(row, ColAutoId, QString());
    --lastSavedRow;
}

bool FrmAuthority::writeRight(int row, long long autoId, bool withNodeSide)
{
    try {
        if (autoId == 0) {
            rsAuth->AddNew();
        } else {
            if (!findAuthRecord(autoId)) {
                treatAsUnwritten(row);
                return false;
            }
            rsAuth->Edit();
        }
        collectRight(withNodeSide);
        rsAuth->Update();
        return true;
    } catch (const dbkit::DbError &e) {
        rsAuth->CancelUpdate();
        if (e.number() == dbkit::ErrorNumber::DuplicateKey) {
            // Another editor stored the same right first; the row keeps what
            // was typed and stays unwritten.
            stop(duplicateMessage);
            return false;
        }
        if (e.number() == dbkit::ErrorNumber::RecordDeleted) {
            treatAsUnwritten(row);
            return false;
        }
        throw;
    }
}

bool FrmAuthority::InsertRight()
{
    if (refuseWhenReadOnly())
        return false;
    const int row = curRow;
    const long long autoId = cell(row, ColAutoId).toLongLong();
    dbkit::DbDataSetPtr count = m_login->OpenDataSet(authority::countByAutoIdStatement(autoId));
    const long long records = count->Eof() ? 0 : count->Fields(0).toLongLong();
    if (records > 1) {
        stop(duplicateMessage);
        return false;
    }
    if (!writeRight(row, records == 0 ? 0 : autoId, true))
        return false;
    QVariant id = rsAuth->Fields(0);
    if (id.toLongLong() == 0) {
        dbkit::DbDataSetPtr identity =
            rsAuth->login().OpenDataSet(QStringLiteral("SELECT @@identity"));
        id = identity->Eof() ? QVariant() : identity->Fields(0);
    }
    setCell(row, ColAutoId, QString::number(id.toLongLong()));
    ++lastSavedRow;
    return true;
}

bool FrmAuthority::UpdateRight()
{
    if (refuseWhenReadOnly())
        return false;
    // A row whose record was found gone is new again: it is stored anew.
    if (cell(curRow, ColAutoId).isEmpty())
        return InsertRight();
    // The selected node's own side is not rewritten.
    return writeRight(curRow, cell(curRow, ColAutoId).toLongLong(), false);
}

bool FrmAuthority::DeleteRight()
{
    if (refuseWhenReadOnly())
        return false;
    const int row = m_grid->Row();
    if (row < 1 || row > lastRow()) {
        modal::message(this, QStringLiteral("请选择一行删除!"), modal::Icon::Critical,
                       modal::Buttons::Ok, LoadResString(17));
        return false;
    }
    const QString autoId = cell(row, ColAutoId);
    if (!autoId.isEmpty()) {
        rsAuth->FindFirst(QStringLiteral("Auto_id=") + autoId);
        const bool found = !rsAuth->NoMatch() || findAuthRecord(autoId.toLongLong());
        if (found) {
            try {
                rsAuth->Delete();
            } catch (const dbkit::DbError &e) {
                // Deleted by another administrator meanwhile: gone either way.
                if (e.number() != dbkit::ErrorNumber::RecordDeleted)
                    throw;
            }
        }
    }
    m_grid->RemoveItem(row);
    return true;
}
