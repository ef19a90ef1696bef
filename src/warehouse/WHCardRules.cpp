// The warehouse record's field rules on the card: required fields, the
// department check, the position-management rule, and how the fields are
// shown and written.
#include "frmWHCard.h"

#include "ListColumns.h"
#include "frmWHBrowse.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "suite/controls/EditBox.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <cmath>

using namespace depotbase;

bool frmWHCard::refuseWhenReadOnly(QWidget *parent)
{
    if (!frmWHBrowse::shared().isReadOnly())
        return false;
    modal::message(parent, QStringLiteral("仓库档案以只读方式打开，不能增加、修改或删除！"),
                   modal::Icon::Critical, modal::Buttons::Ok, LoadResString(17));
    return true;
}

void frmWHCard::refuse(const QString &text)
{
    modal::message(this, text, modal::Icon::Critical, modal::Buttons::Ok, LoadResString(17));
}

QString frmWHCard::formatQuota(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
        return QString();
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    if (number == 0.0)
        return QStringLiteral("0");
    // "##############0.0###": one integer digit at least, one to four decimals.
    QString text = QString::number(number, 'f', 4);
    while (text.endsWith(QLatin1Char('0')) && !text.endsWith(QStringLiteral(".0")))
        text.chop(1);
    return text;
}

bool frmWHCard::CheckNull()
{
    struct Required {
        QWidget *field;
        QString text;
        int caption;
    };
    const Required fields[] = {
        {EdtcWhCode, EdtcWhCode->text(), 52},
        {EdtcWhName, EdtcWhName->text(), 53},
        {CmbcWhValueStyle, CmbcWhValueStyle->currentText(), 58},
    };
    for (const Required &r : fields) {
        if (!r.text.trimmed().isEmpty())
            continue;
        refuse(LoadResString(r.caption) + LoadResString(18));
        r.field->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

bool frmWHCard::FindDepartment()
{
    if (!rsDepartment)
        return false;
    const QString typed = dbkit::quoted(EdtcDepCode->text());
    rsDepartment->Requery(-1);
    if (rsDepartment->RecordCount() <= 0)
        return false;
    rsDepartment->FindFirst(QStringLiteral("cDepCode='") + typed
                            + QStringLiteral("' Or cDepName='") + typed + QStringLiteral("'"));
    if (rsDepartment->NoMatch())
        return false;
    mstrDepCode = NullToEmpty(rsDepartment->Fields(QStringLiteral("cDepCode")));
    const QString name = NullToEmpty(rsDepartment->Fields(QStringLiteral("cDepName")));
    if (EdtcDepCode->text() != name)
        EdtcDepCode->setText(name);
    return true;
}

// Leaving a non-empty department box checks it at once.
void frmWHCard::onDepartmentLeft()
{
    if (EdtcDepCode->text().isEmpty())
        return;
    try {
        if (FindDepartment())
            return;
    } catch (const dbkit::DbError &error) {
        refuse(error.description());
        return;
    }
    refuse(LoadResString(129));
    EdtcDepCode->clear();
    mstrDepCode.clear();
    EdtcDepCode->setFocus(Qt::OtherFocusReason);
}

bool frmWHCard::positionsExist(const QString &code)
{
    dbkit::DbDataSetPtr positions = frmWHBrowse::shared().dbs->OpenDataSet(
        QStringLiteral("Select * from Position where cWhcode='") + dbkit::quoted(code)
            + QStringLiteral("'"),
        dbkit::OpenMode::Default);
    return !positions->Eof() && !positions->BOF();
}

// A warehouse that has storage positions keeps its position management.
void frmWHCard::onPositionClicked()
{
    if (!mblnAddMark && !mblnFilling && !ChkbWhPos->isChecked()) {
        SuperGrid *grid = frmWHBrowse::shared().SpGrdWH();
        const int row = grid->Row();
        if (row >= 1 && grid->TextMatrix(row, PositionColumn) == LoadResString(25)) {
            bool keep = false;
            try {
                keep = positionsExist(grid->TextMatrix(row, 0));
                if (keep)
                    refuse(QStringLiteral("该仓库已录入了货位，不能取消货位管理！"));
            } catch (const dbkit::DbError &error) {
                // Without an answer the box stays as it was.
                refuse(error.description());
                keep = true;
            }
            if (keep) {
                mblnFilling = true;
                ChkbWhPos->setChecked(true);
                mblnFilling = false;
                return;
            }
        }
    }
    markChanged();
}

// Writes the card into the pending record (after AddNew or Edit). The code
// and the valuation style are left out for a warehouse in use.
void frmWHCard::WriteAllFields(dbkit::DbDataSet &record, bool withCodeAndStyle)
{
    if (withCodeAndStyle)
        record.Collect(QStringLiteral("cWhCode"), EmptyToNull(EdtcWhCode->text()));
    record.Collect(QStringLiteral("cWhName"), EmptyToNull(EdtcWhName->text()));
    record.Collect(QStringLiteral("cDepcode"), EmptyToNull(mstrDepCode));
    record.Collect(QStringLiteral("cWHAddress"), EmptyToNull(EdtcWhAddress->text()));
    record.Collect(QStringLiteral("cWHPhone"), EmptyToNull(EdtcWhPhone->text()));
    record.Collect(QStringLiteral("cWHPerson"), EmptyToNull(EdtcWhPerson->text()));
    // The quota goes as typed, so the engine converts it without a detour
    // through binary floating point.
    const QString quota = EdtiWhFundQuota->text();
    bool numeric = false;
    quota.toDouble(&numeric);
    record.Collect(QStringLiteral("iWHFundQuota"), numeric ? QVariant(quota) : QVariant(0));
    record.Collect(QStringLiteral("cWHMemo"), EmptyToNull(EdtcWhMemo->text()));
    if (withCodeAndStyle)
        record.Collect(QStringLiteral("cWHValueStyle"),
                       EmptyToNull(CmbcWhValueStyle->currentText()));
    record.Collect(QStringLiteral("bWhPos"), ChkbWhPos->isChecked() ? 1 : 0);
}

// Writes the card into a row of the list's grid.
void frmWHCard::WriteGridRow(int row)
{
    SuperGrid *grid = frmWHBrowse::shared().SpGrdWH();
    const QString quota = EdtiWhFundQuota->text();
    const QString cells[ListColumnCount] = {
        EdtcWhCode->text(),
        EdtcWhName->text(),
        EdtcDepCode->text(),
        EdtcWhAddress->text(),
        EdtcWhPhone->text(),
        EdtcWhPerson->text(),
        CmbcWhValueStyle->currentText(),
        LoadResString(ChkbWhPos->isChecked() ? 25 : 26),
        quota.isEmpty() ? QStringLiteral("0") : quota,
        EdtcWhMemo->text(),
    };
    for (int col = 0; col < ListColumnCount; ++col)
        grid->setTextMatrix(row, col, cells[col]);
}
