#include "LoadRightChecks.h"

#include "LoadAccount.h"

#include "services/ChangeHistory.h"
#include "services/RightsService.h"

#include <QJsonObject>

#include <functional>

namespace load {

namespace {

using services::RightRecord;

QString textIn(const QJsonObject &row, const char *column)
{
    return row.value(QLatin1String(column)).toString();
}

// The iId of the first of the last history rows of a right whose images all
// satisfy `holds`: since then the right has been as `holds` says. 0 when
// the last one does not.
long long holdingSince(const std::vector<services::HistoryEntry> &entries,
                       const std::function<bool(const QJsonObject &)> &holds)
{
    long long since = 0;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (!entry->after || !holds(*entry->after))
            break;
        since = entry->id;
    }
    return since;
}

const std::vector<services::HistoryEntry> *historyOf(const AccountHistory &history, long long id)
{
    const auto found = history.find({services::rightHistory().name, QString::number(id)});
    return found == history.end() ? nullptr : &found->second;
}

// Two writes of one right: `later` was stored after `write` for sure when
// it began after `write` was answered.
bool surelyFollows(const Write &later, const Write &write)
{
    return later.startNs > write.endNs;
}

} // namespace

StoredRights storedRights(dbkit::DbLogin &login)
{
    StoredRights stored;
    services::RightsService rights(login);
    for (const QString &op : seed::rightsOperators())
        for (RightRecord &right : rights.rightsOfOperator(op))
            stored.emplace(right.autoId, std::move(right));
    return stored;
}

QStringList wholeBesideEarlier(const StoredRights &stored, const AccountHistory &history)
{
    QStringList violations;
    for (const auto &[wholeId, whole] : stored) {
        const auto *wholeHistory = historyOf(history, wholeId);
        if (!whole.wholeWarehouse() || !wholeHistory)
            continue;
        const long long wholeSince = holdingSince(*wholeHistory, [](const QJsonObject &row) {
            return textIn(row, "cInvCCode").isEmpty() && textIn(row, "cInvCode").isEmpty();
        });
        for (const auto &[id, right] : stored) {
            const auto *rightHistory = historyOf(history, id);
            if (right.wholeWarehouse() || right.operatorCode != whole.operatorCode
                || right.warehouseCode != whole.warehouseCode || !rightHistory)
                continue;
            // Since when the narrowed right belongs to this operator and warehouse.
            const long long since =
                holdingSince(*rightHistory, [&narrowed = right](const QJsonObject &row) {
                    return textIn(row, "Id") == narrowed.operatorCode
                           && textIn(row, "cWhCode") == narrowed.warehouseCode;
                });
            if (since < wholeSince)
                violations << QStringLiteral("whole-warehouse right %1 of %2/%3 (whole since "
                                             "history row %4) stands beside narrowed right %5 "
                                             "there since row %6")
                                  .arg(wholeId)
                                  .arg(whole.operatorCode, whole.warehouseCode)
                                  .arg(wholeSince)
                                  .arg(id)
                                  .arg(since);
        }
    }
    return violations;
}

QStringList rightsAsTold(const std::vector<Write> &writes, const StoredRights &stored)
{
    std::map<long long, std::vector<const Write *>> byRight;
    for (const Write &write : writes)
        if (write.table == Write::Table::Right && !write.key.isEmpty())
            byRight[write.key.toLongLong()].push_back(&write);
    QStringList violations;
    for (const auto &[id, rightWrites] : byRight) {
        const auto found = stored.find(id);
        const auto any = [&ofRight = rightWrites](auto test) {
            return std::any_of(ofRight.begin(), ofRight.end(),
                               [&](const Write *w) { return test(*w); });
        };
        const bool removed = any([](const Write &w) {
            return w.done && w.action == Write::Action::Delete;
        });
        const bool mayBeRemoved = any([](const Write &w) {
            return w.action == Write::Action::Delete;
        });
        if (removed || found == stored.end()) {
            if (removed && found != stored.end())
                violations << QStringLiteral("right %1 removed as done is stored").arg(id);
            if (!mayBeRemoved && found == stored.end())
                violations << QStringLiteral("right %1 written as done is not stored").arg(id);
            continue;
        }
        if (any([](const Write &w) { return !w.done; }))
            continue;
        // What each write told done that no other one surely followed left.
        QStringList told;
        bool matches = false;
        for (const Write *write : rightWrites) {
            if (!write->right || any([&](const Write &w) { return surelyFollows(w, *write); }))
                continue;
            RightRecord expected = *write->right;
            expected.autoId = id;
            matches |= expected == found->second;
            told << QStringLiteral("%1/%2/%3").arg(expected.classCode, expected.itemCode,
                                                    expected.showMoney ? "money" : "no money");
        }
        if (!matches && !told.isEmpty())
            violations << QStringLiteral("right %1 holds %2/%3/%4, told %5")
                              .arg(id)
                              .arg(found->second.classCode, found->second.itemCode,
                                   found->second.showMoney ? "money" : "no money",
                                   told.join(QStringLiteral(" or ")));
    }
    return violations;
}

} // namespace load
