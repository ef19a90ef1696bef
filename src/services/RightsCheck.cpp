#include "RightsCheck.h"

#include "suite/dbkit/BoundQuery.h"
#include "suite/dbkit/SqlForms.h"

#include <QVariant>

#include <algorithm>
#include <array>
#include <utility>

namespace services {

namespace {

// Every right that covers the question gets a score: its rank times two plus
// its money flag. The greatest score is the most specific right, and its
// last bit that right's money flag, so one aggregate answers both.
constexpr int rankPartOfWarehouse = 1;  // asked without item: a narrowed right
constexpr int rankWholeWarehouse = 2;
constexpr int rankClassBase = 3;        // plus the class code's length: deeper wins
constexpr int rankItem = 40;            // above any class (codes are at most 12 long)

const QString moneyBit =
    QStringLiteral("case when a.bDispMoney <> 0 then 1 else 0 end");
const QString wholeRight =
    QStringLiteral("coalesce(a.cInvCode, '') = '' and coalesce(a.cInvCCode, '') = ''");
const QString activeOperator = QStringLiteral("(u.nState = 0 or u.nState is null)");

// The best right of operator u on a warehouse (bound) as a whole, any right
// counting: a narrowed one makes the warehouse usable with amounts hidden.
QString warehouseScore()
{
    return QStringLiteral("select max(case when %1 then %2 + %3 else %4 end) "
                          "from WarehAuth a where a.Id = u.cuser_id and a.cWhCode = ?")
        .arg(wholeRight)
        .arg(rankWholeWarehouse * 2)
        .arg(moneyBit)
        .arg(rankPartOfWarehouse * 2);
}

// The most specific right of operator u on a warehouse (bound) covering an
// item (bound twice): the item itself, a class whose code begins the item's
// class code, or the whole warehouse. A row naming an item counts as that
// item's right, whatever class it also names. The string functions are
// spelt as the engine does.
QString itemScore(const dbkit::SqlForms &forms)
{
    const QString length = forms.lengthFunction() + QStringLiteral("(a.cInvCCode)");
    return QStringLiteral(
               "select max((case when coalesce(a.cInvCode, '') <> '' then %1 "
               "when coalesce(a.cInvCCode, '') <> '' then %2 + %3 else %4 end) * 2 + %5) "
               "from WarehAuth a where a.Id = u.cuser_id and a.cWhCode = ? "
               "and (a.cInvCode = ? or (coalesce(a.cInvCode, '') = '' "
               "and (coalesce(a.cInvCCode, '') = '' or a.cInvCCode = %6((select i.cInvCCode "
               "from Inventory i where i.cInvCode = ?), 1, %3))))")
        .arg(rankItem)
        .arg(rankClassBase)
        .arg(length)
        .arg(rankWholeWarehouse)
        .arg(moneyBit)
        .arg(forms.substringFunction());
}

bool isActive(const QVariant &state)
{
    return state.isNull() || state.toInt() == 0;
}

RightScope scopeOfRank(int rank)
{
    if (rank == rankPartOfWarehouse)
        return RightScope::PartOfWarehouse;
    if (rank == rankWholeWarehouse)
        return RightScope::WholeWarehouse;
    if (rank == rankItem)
        return RightScope::Item;
    return RightScope::ItemClass;
}

} // namespace

RightAnswer RightsCheck::check(const QString &operatorCode, const QString &warehouseCode,
                               const QString &itemCode)
{
    // One row for a known operator: its flags, whether the warehouse exists,
    // and the score of its best right there.
    const bool forItem = !itemCode.isEmpty();
    const QString score = forItem ? itemScore(dbkit::SqlForms(m_login)) : warehouseScore();
    QVariantList values{warehouseCode, warehouseCode};
    if (forItem)
        values << itemCode << itemCode;
    values << operatorCode;
    const std::vector<QVariantList> rows = dbkit::selectBound(
        m_login,
        QStringLiteral("select u.iAdmin, u.nState, "
                       "(select count(*) from Warehouse w where w.cWhCode = ?), (")
            + score + QStringLiteral(") from lxsystem..qd_user u where u.cuser_id = ?"),
        values);

    RightAnswer answer;
    if (rows.empty()) {
        answer.verdict = RightVerdict::UnknownOperator;
        return answer;
    }
    const QVariantList &row = rows.front();
    if (!isActive(row[1]))
        answer.verdict = RightVerdict::InactiveOperator;
    else if (row[2].toLongLong() == 0)
        answer.verdict = RightVerdict::UnknownWarehouse;
    else if (row[0].toInt() == 1)
        answer = {RightVerdict::Allowed, true, RightScope::Administrator};
    else if (row[0].isNull())
        answer.verdict = RightVerdict::NoRight;  // the lists leave their rows out
    else if (!row[3].isNull()) {
        const int best = row[3].toInt();
        answer = {RightVerdict::Allowed, best % 2 == 1, scopeOfRank(best / 2)};
    }
    return answer;
}

UsableWarehouses RightsCheck::usableWarehouses(const QString &operatorCode)
{
    // The operator's own row first (kind 0), then the warehouses (kind 1):
    // every warehouse for an active administrator, else those the operator
    // holds a right on, with the score of the best right there. The score
    // column is a number in every part: PostgreSQL types a union part by part.
    const std::vector<QVariantList> rows = dbkit::selectBound(
        m_login,
        QStringLiteral("select 0, u.iAdmin, u.nState, null, null, 0 "
                       "from lxsystem..qd_user u where u.cuser_id = ? "
                       "union all "
                       "select 1, null, null, w.cWhCode, w.cWhName, 0 "
                       "from lxsystem..qd_user u, Warehouse w "
                       "where u.cuser_id = ? and u.iAdmin = 1 and ")
            + activeOperator
            + QStringLiteral(" union all "
                             "select 1, null, null, w.cWhCode, w.cWhName, max(case when ")
            + wholeRight
            + QStringLiteral(" then %1 + %2 else %3 end) "
                             "from lxsystem..qd_user u "
                             "inner join WarehAuth a on a.Id = u.cuser_id "
                             "inner join Warehouse w on w.cWhCode = a.cWhCode "
                             "where u.cuser_id = ? and u.iAdmin <> 1 and ")
                  .arg(rankWholeWarehouse * 2)
                  .arg(moneyBit)
                  .arg(rankPartOfWarehouse * 2)
            + activeOperator
            + QStringLiteral(" group by w.cWhCode, w.cWhName order by 1, 4"),
        {operatorCode, operatorCode, operatorCode});

    UsableWarehouses usable;
    if (rows.empty() || rows.front()[0].toInt() != 0) {
        usable.verdict = RightVerdict::UnknownOperator;
        return usable;
    }
    const QVariantList &self = rows.front();
    if (!isActive(self[2])) {
        usable.verdict = RightVerdict::InactiveOperator;
        return usable;
    }
    const bool administrator = self[1].toInt() == 1;
    for (size_t i = 1; i < rows.size(); ++i) {
        const QVariantList &row = rows[i];
        UsableWarehouse warehouse{row[3].toString(), row[4].toString()};
        if (administrator) {
            warehouse.amountsShown = true;
            warehouse.scope = RightScope::Administrator;
        } else {
            const int best = row[5].toInt();
            warehouse.amountsShown = best % 2 == 1;
            warehouse.scope = scopeOfRank(best / 2);
        }
        usable.warehouses.push_back(std::move(warehouse));
    }
    usable.verdict = usable.warehouses.empty() ? RightVerdict::NoRight : RightVerdict::Allowed;
    return usable;
}

const char *RightsCheck::verdictWord(RightVerdict verdict)
{
    switch (verdict) {
    case RightVerdict::Allowed:
        return "allowed";
    case RightVerdict::NoRight:
        return "no-right";
    case RightVerdict::UnknownOperator:
        return "unknown-operator";
    case RightVerdict::InactiveOperator:
        return "inactive-operator";
    case RightVerdict::UnknownWarehouse:
        return "unknown-warehouse";
    }
    return "no-right";
}

QString RightsCheck::answerLine(const RightAnswer &answer)
{
    if (!answer.allowed())
        return QStringLiteral("denied ") + QLatin1String(verdictWord(answer.verdict));
    return answer.amountsShown ? QStringLiteral("allowed amounts-shown")
                               : QStringLiteral("allowed amounts-hidden");
}

QString RightsCheck::listingLine(const UsableWarehouse &warehouse)
{
    // Each character that would break a line's fields, and how it is written.
    static constexpr std::array<std::pair<char16_t, const char *>, 4> escapes{{
        {u'\\', "\\\\"}, {u'\t', "\\t"}, {u'\n', "\\n"}, {u'\r', "\\r"},
    }};
    QString code;
    code.reserve(warehouse.warehouseCode.size());
    for (const QChar ch : warehouse.warehouseCode) {
        const auto escape = std::find_if(escapes.begin(), escapes.end(), [ch](const auto &e) {
            return e.first == ch.unicode();
        });
        if (escape == escapes.end())
            code += ch;
        else
            code += QLatin1String(escape->second);
    }
    return code + u'\t'
           + QLatin1String(warehouse.amountsShown ? "amounts-shown" : "amounts-hidden") + u'\t'
           + QLatin1String(scopeWord(warehouse.scope));
}

const char *RightsCheck::scopeWord(RightScope scope)
{
    switch (scope) {
    case RightScope::None:
        return "none";
    case RightScope::Administrator:
        return "administrator";
    case RightScope::WholeWarehouse:
        return "whole-warehouse";
    case RightScope::ItemClass:
        return "item-class";
    case RightScope::Item:
        return "item";
    case RightScope::PartOfWarehouse:
        return "part-of-warehouse";
    }
    return "none";
}

} // namespace services
