#include "HistoryCursor.h"

#include "HistoryRows.h"
#include "suite/dbkit/BoundQuery.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"

#include <algorithm>

namespace services {

namespace {

const QString historyTable = QStringLiteral("ChangeHistory");

} // namespace

void HistoryCursor::start(dbkit::DbLogin &login)
{
    m_skipped.clear();
    m_position = 0;
    if (!dbkit::SqlForms(login).tableExists(historyTable))
        return;
    const auto newest = dbkit::selectBound(login, QStringLiteral("SELECT MAX(iId) FROM ChangeHistory"), {});
    if (newest.empty() || newest.front().value(0).isNull())
        return;
    m_position = newest.front().value(0).toLongLong();
    // A change below the newest may not have committed yet: the ids missing
    // just below it are asked for like any skipped one.
    const long long from = std::max(0LL, m_position - widestSkip);
    std::vector<long long> present;
    for (const QVariantList &row : dbkit::selectBound(
             login, QStringLiteral("SELECT iId FROM ChangeHistory WHERE iId>?"), {from}))
        present.push_back(row.value(0).toLongLong());
    std::sort(present.begin(), present.end());
    const Clock::time_point now = Clock::now();
    long long last = from;
    for (const long long id : present) {
        skip(last, id, now);
        last = id;
    }
}

std::vector<HistoryEntry> HistoryCursor::next(dbkit::DbLogin &login)
{
    const Clock::time_point now = Clock::now();
    std::erase_if(m_skipped, [now](const Skipped &skipped) { return now - skipped.since > skippedKept; });

    const dbkit::SqlForms forms(login);
    QString sql = historySelect(forms, RowImages::RenamedFrom) + QStringLiteral(" WHERE iId>?");
    QVariantList values{m_position};
    if (!m_skipped.empty()) {
        QStringList marks;
        for (const Skipped &skipped : m_skipped) {
            marks << QStringLiteral("?");
            values << skipped.id;
        }
        sql += QStringLiteral(" OR iId IN (") + marks.join(u',') + u')';
    }
    sql = forms.firstRows(sql + QStringLiteral(" ORDER BY iId"), batchSize);

    std::vector<HistoryEntry> changes = readHistoryEntries(login, sql, values);
    for (const HistoryEntry &change : changes) {
        if (change.id > m_position) {
            skip(m_position, change.id, now);
            m_position = change.id;
        } else {
            forget(change.id);
        }
    }
    return changes;
}

void HistoryCursor::skip(long long from, long long to, Clock::time_point now)
{
    if (to - from - 1 > widestSkip)
        return;
    for (long long id = from + 1; id < to; ++id)
        m_skipped.push_back({id, now});
    if (m_skipped.size() > mostSkipped)
        m_skipped.erase(m_skipped.begin(), m_skipped.end() - mostSkipped);
}

void HistoryCursor::forget(long long id)
{
    std::erase_if(m_skipped, [id](const Skipped &skipped) { return skipped.id == id; });
}

} // namespace services
