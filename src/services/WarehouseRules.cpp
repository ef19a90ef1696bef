#include "WarehouseRules.h"

#include "data/Catalogue.h"
#include "suite/dbkit/DbError.h"

#include <QRegularExpression>

namespace text = depotbase::text;

using depotbase::LoadResString;

namespace services::warehouse_rules {

namespace {

namespace ErrorNumber = dbkit::ErrorNumber;

// A double keeps every number of up to this many significant digits.
constexpr int DoubleDigits = 15;

// Significant digits of a number typed as digits with an optional ".":
// from the first digit that is not 0 to the last one that is not 0.
int significantDigits(QString digits)
{
    digits.remove(QLatin1Char('-'));
    digits.remove(QLatin1Char('.'));
    static const QRegularExpression nonZero(QStringLiteral("[1-9]"));
    const qsizetype first = digits.indexOf(nonZero);
    if (first < 0)
        return 0;
    return int(digits.lastIndexOf(nonZero) - first + 1);
}

// A decimal text such as the database gives an exact numeric, split into
// its sign, its whole digits without leading zeros ("0" for none) and its
// decimals without trailing zeros. Empty `whole` when the text is no such
// number.
struct DecimalParts {
    QString sign;
    QString whole;
    QString fraction;
};

DecimalParts decimalParts(const QString &value)
{
    static const QRegularExpression decimal(
        QStringLiteral("^\\s*(-?)([0-9]*)(?:\\.([0-9]*))?\\s*$"));
    static const QRegularExpression digit(QStringLiteral("[0-9]"));
    const QRegularExpressionMatch m = decimal.match(value);
    if (!m.hasMatch() || !value.contains(digit))
        return {};
    DecimalParts parts{m.captured(1), m.captured(2), m.captured(3)};
    while (parts.fraction.endsWith(QLatin1Char('0')))
        parts.fraction.chop(1);
    while (parts.whole.startsWith(QLatin1Char('0')))
        parts.whole.remove(0, 1);
    if (parts.whole.isEmpty())
        parts.whole = QStringLiteral("0");
    if (parts.whole == QStringLiteral("0") && parts.fraction.isEmpty())
        parts.sign.clear();
    return parts;
}

// "##############0.0###" over a decimal text, without a detour through
// binary floating point. Empty when the text is no such number or has more
// decimals than the pattern shows.
QString formatDecimalText(const QString &value)
{
    const DecimalParts parts = decimalParts(value);
    if (parts.whole.isEmpty() || parts.fraction.size() > 4)
        return QString();
    if (parts.whole == QStringLiteral("0") && parts.fraction.isEmpty())
        return QStringLiteral("0");
    return parts.sign + parts.whole + QLatin1Char('.')
           + (parts.fraction.isEmpty() ? QStringLiteral("0") : parts.fraction);
}

} // namespace

QString aboutCode(int endingId)
{
    return LoadResString(text::ThisOne) + LoadResString(text::WarehouseCode)
           + LoadResString(endingId);
}

QString lockedText()
{
    return QStringLiteral("其他操作员正在对此仓库档案进行操作，请稍候操作！");
}

QString lockTakenText()
{
    return QStringLiteral("其他操作员已取得此仓库档案的锁定，请关闭卡片后重新打开再修改！");
}

QString deletedBeforeDeleteText()
{
    return QStringLiteral("该仓库编码已被他人删除，不能删除！");
}

QString deletedBeforeEditText()
{
    return QStringLiteral("该仓库编码已被他人删除，不能修改！");
}

QString hasPositionsText()
{
    return QStringLiteral("该仓库编码已被货位档案使用，不能删除！");
}

QString changedMeanwhileText()
{
    return QStringLiteral("该仓库档案已被他人修改，请关闭卡片后重新打开再修改！");
}

QString storedInUseText()
{
    return QStringLiteral("该仓库编码已经在其它数据表中使用，因此计价方式等项目不能改变！");
}

QString positionsKeptText()
{
    return QStringLiteral("该仓库已录入了货位，不能取消货位管理！");
}

QString departmentStyleQuestion(const QString &depName, const QString &style, int others)
{
    QString question = depName + QStringLiteral("的计价方式必须以‘") + style
                       + QStringLiteral("’为准！");
    if (others > 0)
        question += QStringLiteral("\n该部门其他 %1 个仓库的计价方式将统一设为‘%2’。")
                        .arg(others)
                        .arg(style);
    return question;
}

QString styleQuestion(const QString &depName, const QString &depStyle, int others,
                      const QString &chosen)
{
    if (depStyle.isEmpty() || depStyle == chosen)
        return QString();
    return departmentStyleQuestion(depName, depStyle, others);
}

bool isRelatedRecords(int number)
{
    return refusalOfError(number) == Refusal::InUse;
}

QString saveErrorText(int number, const QString &engineText)
{
    switch (refusalOfError(number)) {
    case Refusal::ValueTooLong: return LoadResString(text::ValueTooLong);
    case Refusal::Duplicate: return aboutCode(105);
    case Refusal::DeletedMeanwhile: return aboutCode(107);
    case Refusal::InUse: return aboutCode(106);
    case Refusal::RecordLocked: return LoadResString(text::LockedByOther);
    // A database busy with another connection's work: the kit's text says
    // so in the user's words, with the engine's text below. It is no lock
    // of another operator on the record.
    case Refusal::Busy: return engineText;
    // Anything else (a read-only file, a lost connection, a statement
    // timeout) is a failed save, told with the engine's own text.
    default: return QStringLiteral("保存失败：") + engineText;
    }
}

QString deleteErrorText(int number, const QString &engineText)
{
    if (number == ErrorNumber::RecordDeleted)
        return aboutCode(107);
    if (number == ErrorNumber::RelatedRecords)
        return aboutCode(106);
    if (number == ErrorNumber::RecordLocked)
        return LoadResString(text::LockedByOther);
    if (refusalOfError(number) == Refusal::Busy)
        return engineText;
    // The warehouse was not deleted and the user should know why.
    return QStringLiteral("仓库档案未能删除，请稍后重试。\n") + engineText;
}

ServiceResult checkRequired(const WarehouseRecord &record)
{
    struct Required {
        const QString &text;
        int caption;
        const char *column;
    };
    const Required fields[] = {
        {record.code, 52, "cWhCode"},
        {record.name, 53, "cWhName"},
        {record.valueStyle, 58, "cWhValueStyle"},
    };
    for (const Required &r : fields)
        if (r.text.trimmed().isEmpty())
            return ServiceResult::refused(
                Refusal::Required, LoadResString(r.caption) + LoadResString(text::MustNotBeEmpty),
                QLatin1String(r.column));
    return ServiceResult::ok();
}

ServiceResult checkDepartment(const WarehouseRecord &record, bool byDepartment)
{
    const QString column = QStringLiteral("cDepCode");
    if (!record.depCode.isEmpty())
        return ServiceResult::ok();
    if (!record.depName.trimmed().isEmpty())
        return ServiceResult::refused(Refusal::InvalidValue,
                                      LoadResString(text::InvalidDepartment), column);
    if (byDepartment)
        return ServiceResult::refused(
            Refusal::Required,
            LoadResString(text::Department) + LoadResString(text::MustNotBeEmpty), column);
    return ServiceResult::ok();
}

ServiceResult checkQuota(const QString &quota, bool doubleColumn)
{
    const QString column = QStringLiteral("iWhFundQuota");
    if (quota.isEmpty())
        return ServiceResult::ok();
    static const QRegularExpression digit(QStringLiteral("[0-9]"));
    if (!quota.contains(digit))
        return ServiceResult::refused(Refusal::InvalidValue,
                                      QStringLiteral("资金定额不是有效的数字，请重新输入！"),
                                      column);
    if (doubleColumn && significantDigits(quota) > DoubleDigits)
        return ServiceResult::refused(
            Refusal::InvalidValue, QStringLiteral("资金定额最多只能有15位有效数字，请重新输入！"),
            column);
    return ServiceResult::ok();
}

QStringList offeredStyles(bool basicVersion, bool industrial)
{
    QStringList styles{LoadResString(text::MonthlyAverage), LoadResString(text::MovingAverage)};
    if (basicVersion)
        return styles;
    for (int id : {68, 69, 70})
        styles << LoadResString(id);
    styles << LoadResString(industrial ? 65 : 71);
    return styles;
}

bool sameQuota(const QString &stored, const QString &typed)
{
    if (stored.trimmed().isEmpty() || typed.trimmed().isEmpty())
        return stored.trimmed().isEmpty() == typed.trimmed().isEmpty();
    const DecimalParts a = decimalParts(stored);
    const DecimalParts b = decimalParts(typed);
    if (!a.whole.isEmpty() && !b.whole.isEmpty())
        return a.sign == b.sign && a.whole == b.whole && a.fraction == b.fraction;
    // A double the engine gave in another form ("1e-05").
    bool storedOk = false;
    bool typedOk = false;
    const double storedNumber = stored.toDouble(&storedOk);
    const double typedNumber = typed.toDouble(&typedOk);
    return storedOk && typedOk ? storedNumber == typedNumber : stored == typed;
}

QString formatQuota(const QString &stored)
{
    if (stored.trimmed().isEmpty())
        return QString();
    QString exact = formatDecimalText(stored);
    if (!exact.isEmpty())
        return exact;
    bool ok = false;
    const double number = stored.toDouble(&ok);
    if (!ok)
        return stored;
    if (number == 0.0)
        return QStringLiteral("0");
    QString text = QString::number(number, 'f', 4);
    while (text.endsWith(QLatin1Char('0')) && !text.endsWith(QStringLiteral(".0")))
        text.chop(1);
    return text;
}

} // namespace services::warehouse_rules
