// Deleting warehouses from the list, opening one for editing, the record
// locks these take, and the in-use test the card asks.
//
// A lock taken by a command is released when the command ends, on every path
// (a refused confirmation, a warehouse deleted meanwhile, a database error),
// so no warehouse stays locked for other operators.
#include "frmWHBrowse.h"

#include "WarehouseStatements.h"
#include "frmWHCard.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/locks/LockVouchDLL.h"
#include "suite/modal/ModalSeam.h"

using namespace depotbase;

namespace {

namespace ErrorNumber = dbkit::ErrorNumber;

// Another number a server gives a refusal by related records.
constexpr int RelatedRecordsAlt = 3396;

// The lock of one warehouse code for the length of one command.
class WarehouseLock {
public:
    explicit WarehouseLock(frmWHBrowse &list) : m_list(list) {}
    ~WarehouseLock() { release(); }
    WarehouseLock(const WarehouseLock &) = delete;
    WarehouseLock &operator=(const WarehouseLock &) = delete;

    bool take(const QString &code)
    {
        release();
        if (!m_list.bLock().LockRecords(*m_list.dbs, QStringLiteral("BJ"), QStringLiteral("AA"),
                                        QStringLiteral("a"), m_list.PCName, QVariantList{code}))
            return false;
        m_code = code;
        return true;
    }

    void release()
    {
        if (m_code.isEmpty())
            return;
        m_list.releaseLock(m_code);
        m_code.clear();
    }

private:
    frmWHBrowse &m_list;
    QString m_code;
};

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

void lockRefused(QWidget *parent)
{
    modal::message(parent, QStringLiteral("其他操作员正在对此仓库档案进行操作，请稍候操作！"),
                   modal::Icon::Information, modal::Buttons::Ok, caption());
}

// The message of a delete the database refused; "" for other failures.
QString deleteErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ErrorNumber::RecordDeleted:
        return LoadResString(104) + LoadResString(52) + LoadResString(107);
    case ErrorNumber::RelatedRecords:
        return LoadResString(104) + LoadResString(52) + LoadResString(106);
    case ErrorNumber::RecordLocked:
    case ErrorNumber::TableExclusive:
        return LoadResString(84);
    default:
        return QString();
    }
}

// A failure without a message of its own is told by its description: the
// warehouse was not deleted and the user should know why.
void reportDeleteError(QWidget *parent, const dbkit::DbError &error)
{
    const QString text = deleteErrorText(error.number());
    critical(parent, text.isEmpty() ? error.description() : text);
}

const QString DeletedMeanwhile = QStringLiteral("该仓库编码已被他人删除，不能删除！");

} // namespace

bool frmWHBrowse::FDelete()
{
    if (refuseWhenReadOnly())
        return false;
    WarehouseLock lock(*this);
    try {
        const QString code = m_grid->TextMatrix(m_grid->Row(), 0).trimmed();
        dbkit::DbDataSetPtr positions = dbs->OpenDataSet(warehouse::positionCountStatement(code));
        if (positions->Fields(0).toLongLong() > 0) {
            critical(this, QStringLiteral("该仓库编码已被货位档案使用，不能删除！"));
            return false;
        }
        if (!FCur()) {
            critical(this, DeletedMeanwhile);
            return false;
        }
        recLock = NullToEmpty(mRecObject->Fields(QStringLiteral("cWhCode")));
        const QString name = NullToEmpty(mRecObject->Fields(QStringLiteral("cWhName")));
        if (!confirmed(this, LoadResString(4) + LoadResString(51) + QStringLiteral("---") + name
                                 + QStringLiteral(" ") + LoadResString(5) + QStringLiteral("?")))
            return true;
        if (!lock.take(recLock)) {
            lockRefused(this);
            return true;
        }
        dbs->Execute(warehouse::deleteStatement(recLock));
        mRecObject->Requery(-1);
        if (!mRecObject->Eof())
            mRecObject->MoveNext();
        m_grid->RemoveItem(m_grid->Row());
        showSelection(m_grid->Rows() > 1);
        return true;
    } catch (const dbkit::DbError &error) {
        reportDeleteError(this, error);
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
    WarehouseLock lock(*this);
    try {
        if (!FCur()) {
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
            if (!lock.take(recLock)) {
                // The row cannot be passed over: the rest stay as they are.
                lockRefused(this);
                return false;
            }
            if (!FCur()) {
                critical(this, DeletedMeanwhile);
                return false;
            }
            const QString found = NullToEmpty(mRecObject->Fields(QStringLiteral("cwhcode")));
            dbs->Execute(warehouse::deleteStatement(found));
            mRecObject->Requery(-1);
            m_grid->RemoveItem(m_grid->Row());
            if (firstRow < lastRow) {
                --lastRow;
                m_grid->setRowSel(int(lastRow));
            } else if (firstRow > lastRow) {
                --firstRow;
                m_grid->setRow(int(firstRow));
            }
            showSelection(m_grid->Rows() > 1);
            lock.release();
        }
        return true;
    } catch (const dbkit::DbError &error) {
        reportDeleteError(this, error);
        return false;
    }
}

void frmWHBrowse::FEdit()
{
    WarehouseLock lock(*this);
    recLock = m_grid->TextMatrix(m_grid->Row(), 0);
    // A read-only list only shows the card (its save is refused): no lock.
    if (!isReadOnly() && !lock.take(recLock)) {
        lockRefused(this);
        return;
    }
    if (!FCur()) {
        critical(this, QStringLiteral("该仓库编码已被他人删除，不能修改！"));
        return;
    }
    frmWHCard &card = m_card.get(this);
    card.mRecwarehouse = mRecObject;
    card.mblnAddMark = false;
    card.ShowCard(*this);
}

// In use when the database refuses to delete the warehouse for its related
// records: a trial delete that is always rolled back. Any other failure (a
// busy database, a lost connection) says nothing about use and is raised.
bool frmWHBrowse::onUsed(const QString &code)
{
    try {
        dbkit::TransactionGuard trial(*dbs);
        dbs->Execute(warehouse::trialDeleteStatement(code));
        trial.rollback();
        return false;
    } catch (const dbkit::DbError &error) {
        if (error.number() == ErrorNumber::RelatedRecords || error.number() == RelatedRecordsAlt)
            return true;
        throw;
    }
}

void frmWHBrowse::showDeleteMessage(int errorNumber)
{
    const QString text = deleteErrorText(errorNumber);
    if (!text.isEmpty())
        critical(this, text);
}

