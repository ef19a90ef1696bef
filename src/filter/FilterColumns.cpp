#include "FilterColumns.h"

#include "suite/dbkit/DbLogin.h"

#include <QRegularExpression>

namespace filtercolumns {

const std::array<Column, Count> &columns()
{
    static const std::array<Column, Count> table{{
        {"lblWHCode", 52, "cboWHCode", "cmdValue1", "cWHCode", "cWHCode", "cWhCode",
         "cWhCode"},
        {"lblWHName", 53, "cboWHName", "cmdValue2", "cWHName", "cWHName", "cWhName",
         "cWhName"},
        {"lblWHDep", 54, "cboWHDep", "cmdValue3", "cDepName", "cDepCode", "cDepCode",
         "cDepName"},
        {"lblWHPerson", 57, "cboWHPerson", "cmdValue4", "cWHPerson", "cWHPerson", "cWhPerson",
         "cWHPerson"},
        {"lblWHPhone", 56, "cboWHPhone", "cmdValue5", "cWHPhone", "cWHPhone", "cWhPhone",
         "cWHPhone"},
        {"lblWHFundQuota", 60, "cboWHFundQuota", "cmdValue6", "iWHFundQuota", "iWHFundQuota",
         "iWHFundQuota", "iWHFundQuota"},
        {"lblWHValueStyle", 58, "cboWHValueStyle", "cmdValue7", "cWHValueStyle",
         "cWHValueStyle", "cWHValueStyle", "cWHValueStyle"},
        {"lblWHAddress", 55, "cboWHAddress", "cmdValue8", "cWHAddress", "cWHAddress",
         "cWHAddress", "cWHAddress"},
        {"lblWHMemo", 61, "cboWHMemo", "cmdValue9", "cWHMemo", "cWHMemo", "cWHMemo",
         "cWHMemo"},
    }};
    return table;
}

QString valueListStatement(int row)
{
    const Column &c = columns().at(size_t(row));
    // The department name stands beside every column, so a value is listed
    // once for each department name it occurs with.
    return QStringLiteral("SELECT Distinct Warehouse.%1,Department.cDepName ")
               .arg(QLatin1String(c.listColumn))
        + QStringLiteral("FROM Department RIGHT JOIN Warehouse ON ")
        + QStringLiteral("Department.cDepCode = Warehouse.cDepCode ")
        + QStringLiteral("Order By Warehouse.%1").arg(QLatin1String(c.orderColumn));
}

int quotaDecimals(const QString &text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return int(text.length());
    return int(text.length() - (dot + 1));
}

namespace {

QString conditionPart(int row, const QString &text)
{
    if (text.isEmpty())
        return QString();
    const Column &c = columns().at(size_t(row));
    if (row == QuotaRow) {
        // The quota box takes only digits and "." (typed or pasted), so its
        // text stands in the statement as a number. Anything else that got
        // into the box is compared as a quoted text and cannot change the
        // statement.
        static const QRegularExpression number(QStringLiteral("^-?[0-9.]*$"));
        const QString value = number.match(text).hasMatch()
            ? text
            : QLatin1Char('\'') + dbkit::quoted(text) + QLatin1Char('\'');
        return QStringLiteral(" And round(%1,%2) =")
                   .arg(QLatin1String(c.condition))
                   .arg(quotaDecimals(text))
            + value;
    }
    return QStringLiteral(" And %1='").arg(QLatin1String(c.condition)) + dbkit::quoted(text)
        + QLatin1Char('\'');
}

} // namespace

bool isQuotaNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    return number.match(text).hasMatch();
}

QString buildCondition(const std::array<QString, Count> &texts, Positions positions)
{
    QString condition;
    for (int row = 0; row < Count; ++row)
        condition += conditionPart(row, texts.at(size_t(row)));
    // "Any" adds nothing, so an empty filter hides no warehouse; "not
    // managed" takes the warehouses whose flag was never set too.
    if (positions == Positions::Managed)
        condition += QStringLiteral(" And bWHPos=1");
    else if (positions == Positions::NotManaged)
        condition += QStringLiteral(" And (bWHPos=0 Or bWHPos Is Null)");
    const QString lead = QStringLiteral(" And ");
    if (condition.startsWith(lead))
        condition.remove(0, lead.length());
    return condition;
}

} // namespace filtercolumns
