#include "LoadInvariants.h"

#include "LoadAccount.h"
#include "LoadHistoryChecks.h"
#include "LoadRightChecks.h"
#include "LoadTimeChecks.h"

#include "data/DataHelpers.h"
#include "services/RightRules.h"
#include "suite/dbkit/DbLogin.h"

#include <cstdio>
#include <map>
#include <set>

namespace load {

namespace {

using depotbase::NullToEmpty;
using services::NarrowedRight;

QStringList leftLocks(dbkit::DbLogin &login)
{
    QStringList violations;
    for (auto rows = login.OpenDataSet(
             QStringLiteral("SELECT cKind, cCode, cOperator, cSession FROM LockRecords"),
             dbkit::OpenMode::ReadOnly);
         !rows->Eof(); rows->MoveNext())
        violations << QStringLiteral("lock left: %1 %2 of %3 (session %4)")
                          .arg(NullToEmpty(rows->Fields(0)), NullToEmpty(rows->Fields(1)),
                               NullToEmpty(rows->Fields(2)), NullToEmpty(rows->Fields(3)));
    return violations;
}

QStringList wrongCounters(dbkit::DbLogin &login, const OperatorReport &total)
{
    QStringList violations;
    std::printf("\n%-6s %8s %8s %8s  %s\n", "whouse", "stored", "acked", "unknown", "verdict");
    for (int i = 0; i < seed::counterWarehouses; ++i) {
        const QString code = seed::counterCode(i);
        auto row = login.OpenDataSet(
            QStringLiteral("SELECT cWhMemo FROM Warehouse WHERE cWhCode='") + dbkit::quoted(code)
                + QStringLiteral("'"),
            dbkit::OpenMode::ReadOnly);
        bool number = false;
        const long long stored = row->Eof() ? -1 : NullToEmpty(row->Fields(0)).toLongLong(&number);
        const auto count = [&](const std::map<QString, long long> &by) {
            const auto found = by.find(code);
            return found == by.end() ? 0LL : found->second;
        };
        const long long acked = count(total.acked);
        const long long unknown = count(total.unknown);
        const bool ok = number && stored >= acked && stored <= acked + unknown;
        std::printf("%-6s %8lld %8lld %8lld  %s\n", qPrintable(code), stored, acked, unknown,
                    ok ? "ok" : "WRONG");
        if (!ok)
            violations << QStringLiteral("counter %1 holds %2, acknowledged %3, unknown %4")
                              .arg(code)
                              .arg(stored)
                              .arg(acked)
                              .arg(unknown);
    }
    return violations;
}

// Two rights of one operator and warehouse may not be the same, and two
// narrowed ones may not cross; a whole-warehouse right may stand beside
// narrowed ones stored after it.
QStringList crossingRights(dbkit::DbLogin &login)
{
    std::map<QString, std::vector<NarrowedRight>> byPair;
    for (auto rows = login.OpenDataSet(
             QStringLiteral("SELECT w.Auto_id, w.Id, w.cWhCode, w.cInvCCode, w.cInvCode, "
                            "i.cInvCCode FROM WarehAuth w LEFT JOIN Inventory i "
                            "ON i.cInvCode = w.cInvCode"),
             dbkit::OpenMode::ReadOnly);
         !rows->Eof(); rows->MoveNext())
        byPair[NullToEmpty(rows->Fields(1)) + QLatin1Char('/') + NullToEmpty(rows->Fields(2))]
            .push_back({rows->Fields(0).toLongLong(), NullToEmpty(rows->Fields(3)),
                        NullToEmpty(rows->Fields(4)), NullToEmpty(rows->Fields(5))});
    QStringList violations;
    int rights = 0;
    for (const auto &[pair, stored] : byPair) {
        rights += int(stored.size());
        for (size_t a = 0; a < stored.size(); ++a) {
            for (size_t b = a + 1; b < stored.size(); ++b) {
                const NarrowedRight &x = stored[a];
                const NarrowedRight &y = stored[b];
                const bool narrowed = !x.wholeWarehouse() && !y.wholeWarehouse();
                if (services::rightrules::sameRight(x, y)
                    || (narrowed && services::rightrules::crosses(x, y)))
                    violations << QStringLiteral("rights %1 and %2 of %3 cross")
                                      .arg(x.autoId)
                                      .arg(y.autoId)
                                      .arg(pair);
            }
        }
    }
    std::printf("\nrights stored: %d on %d operator/warehouse pairs\n", rights,
                int(byPair.size()));
    return violations;
}

// What the services told as done is what is stored: a warehouse added is
// there unless a delete may have taken it, and one deleted is gone.
QStringList lostWrites(dbkit::DbLogin &login, const OperatorReport &total)
{
    std::set<QString> warehouses;
    for (auto rows = login.OpenDataSet(QStringLiteral("SELECT cWhCode FROM Warehouse"),
                                       dbkit::OpenMode::ReadOnly);
         !rows->Eof(); rows->MoveNext())
        warehouses.insert(NullToEmpty(rows->Fields(0)));
    QStringList violations;
    for (const QString &code : total.added) {
        if (!warehouses.contains(code) && !total.maybeDeleted.contains(code))
            violations << QStringLiteral("warehouse %1 added as done is not stored").arg(code);
    }
    for (const QString &code : total.deleted) {
        if (warehouses.contains(code))
            violations << QStringLiteral("warehouse %1 deleted as done is stored").arg(code);
    }
    return violations;
}

} // namespace

QStringList checkInvariants(dbkit::DbLogin &login, const RunConfig &config,
                            const OperatorReport &total, const FaultLog &faults)
{
    QStringList violations = leftLocks(login);
    violations += wrongCounters(login, total);
    violations += crossingRights(login);
    violations += lostWrites(login, total);
    const StoredRights rights = storedRights(login);
    const AccountHistory history = readHistory(login);
    violations += wholeBesideEarlier(rights, history);
    violations += rightsAsTold(total.writes, rights);
    violations += historyCounts(total.writes, history);
    violations += lastImages(login, history);
    violations += pauseBound(config, total, faults);
    violations += locksTakenOver(total, faults);
    for (const QString &what : total.untold)
        violations << QStringLiteral("untold: ") + what;
    return violations;
}

} // namespace load
