// The warehouse record's field rules on the card: required fields, the
// department check, the position-management rule, and how the fields are
// shown and written.
#include "frmWHCard.h"

#include "ListColumns.h"
#include "WarehouseCardHost.h"
#include "WarehouseStatements.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "suite/controls/EditBox.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRegularExpression>
#include <cmath>

using namespace depotbase;

bool frmWHCard::refuseWhenReadOnly(QWidget *parent, bool readOnly)
{
    if (!readOnly)
        return false;
    modal::message(parent, QStringLiteral("仓库档案以只读方式打开，不能增加、修改或删除！"),
                   modal::Icon::Critical, modal::Buttons::Ok, LoadResString(17));
    return true;
}

void frmWHCard::refuse(const QString &text)
{
    modal::message(this, text, modal::Icon::Critical, modal::Buttons::Ok, LoadResString(17));
}

void frmWHCard::tellFailure(const dbkit::DbError &error)
{
    refuse(QStringLiteral("数据库操作未能完成：") + error.description());
}

namespace {

// "##############0.0###" over a decimal text such as the database gives an
// exact numeric: one integer digit at least, one to four decimals, without a
// detour through binary floating point. Empty when the text is no such
// number or has more decimals than the pattern shows.
QString formatDecimalText(const QString &value)
{
    static const QRegularExpression decimal(
        QStringLiteral("^\\s*(-?)([0-9]*)(?:\\.([0-9]*))?\\s*$"));
    const QRegularExpressionMatch m = decimal.match(value);
    if (!m.hasMatch())
        return QString();
    QString whole = m.captured(2);
    QString fraction = m.captured(3);
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    const bool noDigits = whole.isEmpty() && fraction.isEmpty()
                          && !value.contains(QLatin1Char('0'));
    if (fraction.size() > 4 || noDigits)
        return QString();
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    if (whole == QStringLiteral("0") && fraction.isEmpty())
        return QStringLiteral("0");
    return m.captured(1) + whole + QLatin1Char('.')
           + (fraction.isEmpty() ? QStringLiteral("0") : fraction);
}

// Significant digits of a number typed as digits with an optional ".":
// from the first digit that is not 0 to the last one that is not 0.
int significantDigits(const QString &number)
{
    QString digits = number;
    digits.remove(QLatin1Char('-'));
    digits.remove(QLatin1Char('.'));
    const qsizetype first = digits.indexOf(QRegularExpression(QStringLiteral("[1-9]")));
    if (first < 0)
        return 0;
    const qsizetype last = digits.lastIndexOf(QRegularExpression(QStringLiteral("[1-9]")));
    return int(last - first + 1);
}

// A double keeps every number of up to this many significant digits.
constexpr int DoubleDigits = 15;

} // namespace

QString frmWHCard::formatQuota(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
        return QString();
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        const QString exact = formatDecimalText(value.toString());
        if (!exact.isEmpty())
            return exact;
    }
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

bool frmWHCard::checkQuota()
{
    const QString quota = EdtiWhFundQuota->text();
    // An unchanged quota is not written: it keeps what is stored.
    if (!boxChanged(EdtiWhFundQuota) || quota.isEmpty())
        return true;
    QString refusal;
    if (!quota.contains(QRegularExpression(QStringLiteral("[0-9]"))))
        refusal = QStringLiteral("资金定额不是有效的数字，请重新输入！");
    else if (m_host->login().engine() == dbkit::Engine::SQLite
             && significantDigits(quota) > DoubleDigits)
        // This engine keeps the quota as a double, which would store a
        // different number.
        refusal = QStringLiteral("资金定额最多只能有15位有效数字，请重新输入！");
    if (refusal.isEmpty())
        return true;
    refuse(refusal);
    EdtiWhFundQuota->setFocus(Qt::OtherFocusReason);
    return false;
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
    // The box still shows the department it was given: that one, even when
    // another department has the same name.
    if (!m_boxDepCode.isEmpty() && EdtcDepCode->text() == m_boxDepName) {
        mstrDepCode = m_boxDepCode;
        return true;
    }
    const QString typed = dbkit::quoted(EdtcDepCode->text());
    rsDepartment->Requery(-1);
    if (rsDepartment->RecordCount() <= 0)
        return false;
    // A typed code wins over a department whose name it is.
    rsDepartment->FindFirst(QStringLiteral("cDepCode='") + typed + QStringLiteral("'"));
    if (rsDepartment->NoMatch())
        rsDepartment->FindFirst(QStringLiteral("cDepName='") + typed + QStringLiteral("'"));
    if (rsDepartment->NoMatch())
        return false;
    mstrDepCode = NullToEmpty(rsDepartment->Fields(QStringLiteral("cDepCode")));
    const QString name = NullToEmpty(rsDepartment->Fields(QStringLiteral("cDepName")));
    if (EdtcDepCode->text() != name)
        EdtcDepCode->setText(name);
    m_boxDepCode = mstrDepCode;
    m_boxDepName = name;
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
        tellFailure(error);
        return;
    }
    refuse(LoadResString(129));
    EdtcDepCode->clear();
    mstrDepCode.clear();
    EdtcDepCode->setFocus(Qt::OtherFocusReason);
}

bool frmWHCard::positionsExist(const QString &code)
{
    dbkit::DbDataSetPtr positions =
        m_host->login().OpenDataSet(warehouse::positionsStatement(code), dbkit::OpenMode::Default);
    return !positions->Eof() && !positions->BOF();
}

// A warehouse that has storage positions keeps its position management.
void frmWHCard::onPositionClicked()
{
    if (!mblnAddMark && !mblnFilling && !ChkbWhPos->isChecked()) {
        SuperGrid *grid = &m_host->grid();
        const int row = grid->Row();
        if (row >= 1 && grid->TextMatrix(row, PositionColumn) == LoadResString(25)) {
            bool keep = false;
            try {
                keep = positionsExist(grid->TextMatrix(row, 0));
                if (keep)
                    refuse(QStringLiteral("该仓库已录入了货位，不能取消货位管理！"));
            } catch (const dbkit::DbError &error) {
                // Without an answer the box stays as it was.
                tellFailure(error);
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
// and the valuation style are left out for a warehouse in use; a box the user
// did not change is left out of an edit, so its stored value stays exactly
// as it is (a longer quota than the box shows, a text in another form).
void frmWHCard::WriteAllFields(dbkit::DbDataSet &record, bool withCodeAndStyle)
{
    if (withCodeAndStyle)
        writeBox(record, QStringLiteral("cWhCode"), EdtcWhCode);
    writeBox(record, QStringLiteral("cWhName"), EdtcWhName);
    record.Collect(QStringLiteral("cDepcode"), EmptyToNull(mstrDepCode));
    writeBox(record, QStringLiteral("cWHAddress"), EdtcWhAddress);
    writeBox(record, QStringLiteral("cWHPhone"), EdtcWhPhone);
    writeBox(record, QStringLiteral("cWHPerson"), EdtcWhPerson);
    // The quota goes as typed, so the engine converts it without a detour
    // through binary floating point.
    if (boxChanged(EdtiWhFundQuota)) {
        const QString quota = EdtiWhFundQuota->text();
        record.Collect(QStringLiteral("iWHFundQuota"),
                       quota.isEmpty() ? QVariant(0) : QVariant(quota));
    }
    writeBox(record, QStringLiteral("cWHMemo"), EdtcWhMemo);
    if (withCodeAndStyle)
        record.Collect(QStringLiteral("cWHValueStyle"),
                       EmptyToNull(CmbcWhValueStyle->currentText()));
    record.Collect(QStringLiteral("bWhPos"), ChkbWhPos->isChecked() ? 1 : 0);
}

void frmWHCard::writeBox(dbkit::DbDataSet &record, const QString &column, const EditBox *box)
{
    if (boxChanged(box))
        record.Collect(column, EmptyToNull(box->text()));
}

// True unless the card edits a stored warehouse and the box still shows what
// was loaded into it.
bool frmWHCard::boxChanged(const EditBox *box) const
{
    const auto shown = m_shownTexts.constFind(box);
    return mblnAddMark || shown == m_shownTexts.constEnd() || *shown != box->text();
}

// Writes the card into a row of the list's grid.
void frmWHCard::WriteGridRow(int row)
{
    SuperGrid *grid = &m_host->grid();
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
