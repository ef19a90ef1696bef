// Saving the warehouse card: the checks, the department-wide valuation rule,
// adding or changing the record, keeping the list's grid in step, and what a
// refused save leaves behind (everything the user typed, the mode and the
// lock, so the user can correct it and save again).
#include "frmWHCard.h"

#include "ListColumns.h"
#include "WarehouseCardHost.h"
#include "WarehouseStatements.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "suite/controls/EditBox.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/locks/LockVouchDLL.h"
#include "suite/modal/ModalSeam.h"

#include <QCheckBox>
#include <QComboBox>

using namespace depotbase;

namespace {

namespace ErrorNumber = dbkit::ErrorNumber;

// Numbers the database kit or a server gives a refusal by related records or
// a duplicate key, beside the kit's own.
constexpr int RelatedRecordsAlt = 3396;
constexpr int DuplicateKeyAlt = -2147220991;  // 0x80040201

// "该" + "仓库编码" + the given ending.
QString aboutCode(int endingId)
{
    return LoadResString(104) + LoadResString(52) + LoadResString(endingId);
}

bool isRelatedRecords(int number)
{
    return number == ErrorNumber::RelatedRecords || number == RelatedRecordsAlt;
}

} // namespace

void frmWHCard::saveCard()
{
    mblnSaved = false;
    if (refuseWhenReadOnly(this, m_host->isReadOnly()))
        return;
    if (CheckNull() || !checkQuota())
        return;
    try {
        if (!checkDepartmentForSave())
            return;
        if (mblnByDept && !applyDepartmentStyle())
            return;
    } catch (const dbkit::DbError &error) {
        tellFailure(error);
        return;
    }
    m_storedInUse = false;
    const bool stored = mblnAddMark ? InsertRecord() : UpdateRecord();
    if (!stored)
        return;
    AfterSave();
    if (mblnByDept && !m_storedInUse)
        spreadDepartmentStyle();
    mblnSaved = true;
    releaseListLock();
    ClearCard();
    AfterSave();
    mblnAddMark = true;
    EdtcWhCode->setFocus(Qt::OtherFocusReason);
}

// The department of the box, resolved by code or name. Without by-department
// accounting an unknown department is dropped; with it, it stops the save.
bool frmWHCard::checkDepartmentForSave()
{
    if (FindDepartment())
        return true;
    if (!mblnByDept) {
        EdtcDepCode->clear();
        mstrDepCode.clear();
        return true;
    }
    refuse(EdtcDepCode->text().trimmed().isEmpty() ? LoadResString(54) + LoadResString(18)
                                                   : LoadResString(129));
    EdtcDepCode->setFocus(Qt::OtherFocusReason);
    return false;
}

// Every warehouse of a department carries the department's valuation style,
// which is that of its first warehouse by code: the card follows it, after
// asking and saying how many other warehouses the save sets to it.
bool frmWHCard::applyDepartmentStyle()
{
    dbkit::DbDataSetPtr styles = m_host->login().OpenDataSet(
        warehouse::departmentStylesStatement(mstrDepCode), dbkit::OpenMode::Default);
    if (styles->RecordCount() <= 0)
        return true;
    styles->MoveFirst();
    const QString style = NullToEmpty(styles->Fields(QStringLiteral("cWHValueStyle")));
    // A department whose first warehouse has no style sets no rule.
    if (style.isEmpty() || style == CmbcWhValueStyle->currentText())
        return true;
    // The warehouse on the card is not one of the others.
    const QString own = mblnAddMark ? QString() : mstrOldCode;
    int others = 0;
    for (; !styles->Eof(); styles->MoveNext())
        if (NullToEmpty(styles->Fields(QStringLiteral("cWhCode"))) != own)
            ++others;
    showStyle(style);
    QString question = EdtcDepCode->text() + QStringLiteral("的计价方式必须以‘")
                       + CmbcWhValueStyle->currentText() + QStringLiteral("’为准！");
    if (others > 0)
        question += QStringLiteral("\n该部门其他 %1 个仓库的计价方式将统一设为‘%2’。")
                        .arg(others)
                        .arg(CmbcWhValueStyle->currentText());
    const modal::Answer answer =
        modal::message(this, question, modal::Icon::Information, modal::Buttons::OkCancel,
                       LoadResString(17));
    return answer == modal::Answer::Ok;
}

bool frmWHCard::InsertRecord()
{
    if (!mRecwarehouse)
        return false;
    dbkit::DbDataSet &record = *mRecwarehouse;
    try {
        record.Requery(-1);
        record.AddNew();
        WriteAllFields(record, true);
        record.Update();
    } catch (const dbkit::DbError &error) {
        cancelPending();
        showSaveError(error.number(), error.description());
        return false;
    }
    SuperGrid *grid = &m_host->grid();
    grid->setBackColorSel(SysHighlight);
    grid->setForeColorSel(SysHighlightText);
    grid->setRows(grid->Rows() + 1);
    const int row = grid->Rows() - 1;
    grid->setTopRow(row);
    WriteGridRow(row);
    grid->setRow(row);
    return true;
}

bool frmWHCard::UpdateRecord()
{
    if (!mRecwarehouse)
        return false;
    dbkit::DbDataSet &record = *mRecwarehouse;
    SuperGrid *grid = &m_host->grid();
    const int row = grid->Row();
    const QString gridCode = grid->TextMatrix(row, 0);
    QString storedCode;
    try {
        if (!findStored(gridCode))
            return false;
        storedCode = NullToEmpty(record.Fields(QStringLiteral("cWhCode")));
        // The in-use test raises what is not a refusal by related records (a
        // lock, a lost connection): it is told below as what it is.
        if (m_host->onUsed(storedCode))
            return storeInUse(storedCode);
        record.Edit();
        WriteAllFields(record, true);
        record.Update();
    } catch (const dbkit::DbError &error) {
        cancelPending();
        // Related records refuse a change of the code: the warehouse is in use.
        if (isRelatedRecords(error.number()) && !storedCode.isEmpty())
            return storeInUse(storedCode);
        showSaveError(error.number(), error.description());
        return false;
    }
    WriteGridRow(row);
    return true;
}

// A warehouse that other tables use keeps its code and valuation style; the
// other fields are stored and the grid row shows what was stored.
bool frmWHCard::storeInUse(const QString &storedCode)
{
    if (EdtcWhCode->text() != mstrOldCode) {
        refuse(aboutCode(106));
        return false;
    }
    dbkit::DbDataSet &record = *mRecwarehouse;
    QString storedStyle;
    try {
        if (!findStored(storedCode))
            return false;
        storedStyle = NullToEmpty(record.Fields(QStringLiteral("cWHValueStyle")));
        record.Edit();
        WriteAllFields(record, false);
        record.Update();
    } catch (const dbkit::DbError &error) {
        cancelPending();
        if (isRelatedRecords(error.number()))
            refuse(aboutCode(106));
        else
            showSaveError(error.number(), error.description());
        return false;
    }
    modal::message(this, QStringLiteral("该仓库编码已经在其它数据表中使用，因此计价方式等项目不能改变！"),
                   modal::Icon::Information, modal::Buttons::Ok, LoadResString(17));
    SuperGrid *grid = &m_host->grid();
    const int row = grid->Row();
    WriteGridRow(row);
    grid->setTextMatrix(row, 0, storedCode);
    grid->setTextMatrix(row, 6, storedStyle);
    m_storedInUse = true;
    return true;
}

// The warehouse being edited was deleted by another operator meanwhile. The
// user is told; what was typed stays on the card, now in add mode, so it can
// be stored as a new warehouse; the list's row of the deleted one goes.
// Re-reads the list and finds the warehouse of `code` in it; when another
// operator deleted it meanwhile, says so and gives false.
bool frmWHCard::findStored(const QString &code)
{
    dbkit::DbDataSet &record = *mRecwarehouse;
    record.Requery(-1);
    record.FindFirst(warehouse::codeCriterion(code));
    if (record.NoMatch()) {
        recordVanished();
        return false;
    }
    return true;
}

void frmWHCard::recordVanished()
{
    refuse(aboutCode(107));
    releaseListLock();
    SuperGrid *grid = &m_host->grid();
    const int row = grid->Row();
    if (row >= 1 && row < grid->Rows()) {
        grid->RemoveItem(row);
        m_host->showSelection(grid->Rows() > 1);
    }
    mblnAddMark = true;
}

// After a stored save of a department's warehouse, every warehouse of the
// department and every grid row showing it take the card's style.
void frmWHCard::spreadDepartmentStyle()
{
    const QString style = CmbcWhValueStyle->currentText();
    try {
        m_host->login().Execute(warehouse::setDepartmentStyleStatement(mstrDepCode, style));
    } catch (const dbkit::DbError &error) {
        tellFailure(error);
        return;
    }
    SuperGrid *grid = &m_host->grid();
    const QString department = EdtcDepCode->text();
    for (int row = 1; row < grid->Rows(); ++row)
        if (grid->TextMatrix(row, 2) == department)
            grid->setTextMatrix(row, 6, style);
}

void frmWHCard::AfterSave()
{
    mblnAddMark = false;
    mblnChanged = false;
    ShowSaveState();
}

void frmWHCard::releaseListLock()
{
    m_host->releaseEditLock();
}

// A refused write leaves no pending record behind in the list's data set.
void frmWHCard::cancelPending()
{
    if (mRecwarehouse && mRecwarehouse->isEditing())
        mRecwarehouse->CancelUpdate();
}

void frmWHCard::showSaveError(int number, const QString &description)
{
    QString text;
    if (number == ErrorNumber::ValueTooLong)
        text = LoadResString(85);
    else if (number == ErrorNumber::DuplicateKey || number == DuplicateKeyAlt)
        text = aboutCode(105);
    else if (number == ErrorNumber::RecordDeleted)
        text = aboutCode(107);
    else if (isRelatedRecords(number))
        text = aboutCode(106);
    else if (number == ErrorNumber::RecordLocked || number == ErrorNumber::TableExclusive)
        text = LoadResString(84);
    else
        // Anything else (a read-only file, a lost connection, a statement
        // timeout) is told as a failed save with the engine's own text.
        text = QStringLiteral("保存失败：") + description;
    refuse(text);
}
