#include "WarehouseFilter.h"

#include "suite/dbkit/SqlForms.h"

#include <QRegularExpression>

#include <functional>

namespace services {

namespace {

// The column each field compares, in the order of FilterField; the
// department is compared by its name.
constexpr std::array<const char *, WarehouseFilter::FieldCount> ConditionColumns{
    "cWHCode",       "cWHName",    "cDepName", "cWHPerson", "cWHPhone",
    "iWHFundQuota", "cWHValueStyle", "cWHAddress", "cWHMemo",
};

// How a text stands in the condition: a literal or a bound placeholder.
using TextValue = std::function<QString(const QString &)>;

QString conditionPart(FilterField field, const QString &text, const TextValue &quotedText)
{
    if (text.isEmpty())
        return QString();
    const QLatin1String column(ConditionColumns.at(size_t(field)));
    if (field == FilterField::FundQuota) {
        // The quota box takes only digits and "." (typed or pasted), so its
        // text stands in the statement as a number. Anything else that got
        // into the box is compared as a quoted text and cannot change the
        // statement.
        static const QRegularExpression number(QStringLiteral("^-?[0-9.]*$"));
        const QString value = number.match(text).hasMatch() ? text : quotedText(text);
        return QStringLiteral(" And round(%1,%2) =").arg(column).arg(quotaDecimals(text))
            + value;
    }
    return QStringLiteral(" And %1=").arg(column) + quotedText(text);
}

} // namespace

int quotaDecimals(const QString &text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return int(text.length());
    return int(text.length() - (dot + 1));
}

bool isQuotaNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    return number.match(text).hasMatch();
}

namespace {

QString conditionOf(const WarehouseFilter &filter, const TextValue &quotedText)
{
    QString condition;
    for (int field = 0; field < WarehouseFilter::FieldCount; ++field)
        condition +=
            conditionPart(FilterField(field), filter.texts.at(size_t(field)), quotedText);
    // "Any" adds nothing, so an empty filter hides no warehouse; "not
    // managed" takes the warehouses whose flag was never set too.
    if (filter.positions == FilterPositions::Managed)
        condition += QStringLiteral(" And bWHPos=1");
    else if (filter.positions == FilterPositions::NotManaged)
        condition += QStringLiteral(" And (bWHPos=0 Or bWHPos Is Null)");
    const QString lead = QStringLiteral(" And ");
    if (condition.startsWith(lead))
        condition.remove(0, lead.length());
    return condition;
}

} // namespace

QString filterCondition(const WarehouseFilter &filter)
{
    // A find's criterion is read by the data set itself, never by a server.
    return conditionOf(filter, &dbkit::SqlForms::criteriaLiteral);
}

QString filterCondition(const WarehouseFilter &filter, QVariantList &values)
{
    return conditionOf(filter, [&values](const QString &text) {
        values << text;
        return QStringLiteral("?");
    });
}

} // namespace services
