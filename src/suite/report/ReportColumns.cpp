#include "suite/report/ReportColumns.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>

namespace report {

ColumnKind columnKindFromCode(int code)
{
    switch (code) {
    case 1: return ColumnKind::Boolean;
    case 2: return ColumnKind::Byte;
    case 3: return ColumnKind::Integer;
    case 4: return ColumnKind::Long;
    case 5: return ColumnKind::Single;
    case 6: return ColumnKind::Double;
    case 7: return ColumnKind::Date;
    case 8: return ColumnKind::Currency;
    default: return ColumnKind::Text;
    }
}

bool isNumericKind(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Byte:
    case ColumnKind::Integer:
    case ColumnKind::Long:
    case ColumnKind::Single:
    case ColumnKind::Double:
    case ColumnKind::Currency:
        return true;
    default:
        return false;
    }
}

int ReportView::dataRows() const
{
    return std::max(0, rows() - titleRows);
}

namespace {

bool parseNumber(const QString &text, double &value)
{
    bool ok = false;
    value = QLocale::c().toDouble(text, &ok);
    if (ok)
        return std::isfinite(value);
    // Amounts shown with thousands separators ("1,234.50").
    static const QRegularExpression grouped(
        QStringLiteral("^[-+]?\\d{1,3}(,\\d{3})+(\\.\\d*)?$"));
    if (!text.contains(QLatin1Char(',')) || !grouped.match(text).hasMatch())
        return false;
    value = QLocale::c().toDouble(QString(text).remove(QLatin1Char(',')), &ok);
    return ok && std::isfinite(value);
}

bool parseBoolean(const QString &text, bool &value)
{
    static const std::array<QString, 6> yes = {QStringLiteral("true"), QStringLiteral("1"),
        QStringLiteral("-1"), QStringLiteral("yes"), QStringLiteral("是"), QStringLiteral("√")};
    static const std::array<QString, 4> no = {QStringLiteral("false"), QStringLiteral("0"),
        QStringLiteral("no"), QStringLiteral("否")};
    const QString lower = text.toLower();
    if (std::find(yes.begin(), yes.end(), lower) != yes.end()) {
        value = true;
        return true;
    }
    if (std::find(no.begin(), no.end(), lower) != no.end()) {
        value = false;
        return true;
    }
    return false;
}

bool parseDate(const QString &text, CellValue &cell)
{
    static const std::array<QString, 3> dateForms = {QStringLiteral("yyyy-M-d"),
        QStringLiteral("yyyy.M.d"), QStringLiteral("yyyy/M/d")};
    static const std::array<QString, 2> timeForms = {QStringLiteral("H:m:s"),
        QStringLiteral("H:m")};
    const QString datePart = text.section(QLatin1Char(' '), 0, 0);
    const QString timePart = text.section(QLatin1Char(' '), 1).trimmed();
    QDate date;
    for (const QString &form : dateForms) {
        date = QDate::fromString(datePart, form);
        if (date.isValid())
            break;
    }
    if (!date.isValid())
        return false;
    QTime time(0, 0);
    if (!timePart.isEmpty()) {
        time = QTime();
        for (const QString &form : timeForms) {
            time = QTime::fromString(timePart, form);
            if (time.isValid())
                break;
        }
        if (!time.isValid())
            return false;
    }
    cell.dateTime = QDateTime(date, time);
    cell.type = timePart.isEmpty() ? CellValue::Date : CellValue::DateTime;
    return true;
}

} // namespace

CellValue classifyCell(const QString &text, ColumnKind kind)
{
    CellValue cell;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return cell;
    cell.type = CellValue::Text;
    if (isNumericKind(kind)) {
        if (parseNumber(trimmed, cell.number))
            cell.type = CellValue::Number;
    } else if (kind == ColumnKind::Boolean) {
        if (parseBoolean(trimmed, cell.flag))
            cell.type = CellValue::Boolean;
    } else if (kind == ColumnKind::Date) {
        if (!parseDate(trimmed, cell))
            cell.type = CellValue::Text;
    }
    return cell;
}

} // namespace report
