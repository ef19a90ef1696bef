#include "LoadHistoryChecks.h"

#include "LoadAccount.h"

#include "data/DataHelpers.h"
#include "services/ChangeHistory.h"
#include "suite/dbkit/DbLogin.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <set>

namespace load {

namespace {

using services::HistoryEntry;

const services::HistoryTable &historyTable(Write::Table table)
{
    return table == Write::Table::Warehouse ? services::warehouseHistory()
                                            : services::rightHistory();
}

// What the bench expects of one key's history.
struct Expected {
    long long acked = 0;    // changes told done
    long long unknown = 0;  // writes whose answer was lost
    bool added = false;     // an add of this key is known
};

std::set<HistoryKey> storedKeys(dbkit::DbLogin &login)
{
    std::set<HistoryKey> keys;
    for (const services::HistoryTable *table :
         {&services::warehouseHistory(), &services::rightHistory()}) {
        for (auto rows = login.OpenDataSet(QStringLiteral("SELECT ") + table->keyColumn
                                               + QStringLiteral(" FROM ") + table->name,
                                           dbkit::OpenMode::ReadOnly);
             !rows->Eof(); rows->MoveNext())
            keys.insert({table->name, depotbase::NullToEmpty(rows->Fields(0))});
    }
    return keys;
}

bool seeded(const HistoryKey &key)
{
    if (key.first != services::warehouseHistory().name)
        return false;
    for (int i = 0; i < seed::counterWarehouses; ++i)
        if (seed::counterCode(i) == key.second)
            return true;
    return false;
}

} // namespace

AccountHistory readHistory(dbkit::DbLogin &login)
{
    services::HistoryFilter everything;
    everything.limit = std::numeric_limits<int>::max();
    AccountHistory history;
    for (HistoryEntry &entry : services::HistoryReader(login).read(everything))
        history[{entry.table, entry.key}].push_back(std::move(entry));
    for (auto &[key, entries] : history)
        std::sort(entries.begin(), entries.end(),
                  [](const HistoryEntry &a, const HistoryEntry &b) { return a.id < b.id; });
    return history;
}

QStringList historyCounts(const std::vector<Write> &writes, const AccountHistory &history)
{
    std::map<HistoryKey, Expected> expected;
    long long lostAdds = 0;
    for (const Write &write : writes) {
        if (write.key.isEmpty()) {
            ++lostAdds;
            continue;
        }
        Expected &e = expected[{historyTable(write.table).name, write.key}];
        e.acked += write.done && write.changes ? 1 : 0;
        e.unknown += write.done ? 0 : 1;
        e.added |= write.action == Write::Action::Add;
    }
    for (const auto &[key, entries] : history)
        expected.try_emplace(key);

    QStringList violations;
    long long rows = 0;
    long long mayBeLost = lostAdds;
    long long unknownAdds = lostAdds;
    for (const auto &[key, e] : expected) {
        const auto found = history.find(key);
        const long long count = found == history.end() ? 0 : qsizetype(found->second.size());
        rows += count;
        mayBeLost += e.unknown;
        long long most = e.acked + e.unknown;
        if (count > most && !e.added && unknownAdds > 0
            && found->second.front().action == QLatin1String("add")) {
            --unknownAdds;
            ++most;
        }
        if (count < e.acked || count > most)
            violations << QStringLiteral("history of %1 %2: %3 rows, %4 changes told done, "
                                         "%5 answers lost")
                              .arg(key.first, key.second)
                              .arg(count)
                              .arg(e.acked)
                              .arg(e.unknown);
    }
    std::printf("\nhistory: %lld rows on %zu keys; writes %zu (%lld answers lost, %lld of them "
                "adds of rights)\n",
                rows, history.size(), writes.size(), mayBeLost, lostAdds);
    return violations;
}

QStringList lastImages(dbkit::DbLogin &login, const AccountHistory &history)
{
    QStringList violations;
    services::ChangeHistory images(login);
    for (const auto &[key, entries] : history) {
        const bool right = key.first == services::rightHistory().name;
        const services::RowImage stored =
            images.image(right ? services::rightHistory() : services::warehouseHistory(),
                         right ? QVariant(key.second.toLongLong()) : QVariant(key.second));
        const HistoryEntry &last = entries.back();
        if (stored != last.after)
            violations << QStringLiteral("%1 %2: last history row %3 shows %4, stored is %5")
                              .arg(key.first, key.second)
                              .arg(last.id)
                              .arg(services::ChangeHistory::encode(last.after),
                                   services::ChangeHistory::encode(stored));
    }
    for (const HistoryKey &key : storedKeys(login)) {
        if (!history.contains(key) && !seeded(key))
            violations << QStringLiteral("%1 %2 is stored without history")
                              .arg(key.first, key.second);
    }
    return violations;
}

} // namespace load
