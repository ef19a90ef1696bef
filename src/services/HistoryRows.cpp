#include "HistoryRows.h"

#include "data/DataHelpers.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"

#include <QDate>
#include <QTime>

namespace services {

using depotbase::NullToEmpty;

namespace {

QDateTime utcOf(const QString &text)
{
    QDateTime time(QDate::fromString(text.left(10), Qt::ISODate),
                   QTime::fromString(text.mid(11, 8), QStringLiteral("HH:mm:ss")), Qt::UTC);
    if (text.size() > 20 && text.at(19) == QLatin1Char('.'))
        time = time.addMSecs(text.mid(20, 3).leftJustified(3, QLatin1Char('0')).toInt());
    return time;
}

} // namespace

QString historySelect(const dbkit::SqlForms &forms, RowImages images)
{
    // The stored time as text, the same shape on every engine; named apart
    // from dChanged, so that an ORDER BY dChanged sorts by the stored time
    // (and its index), not by this text.
    const QString imageColumns =
        images == RowImages::Both
            ? QStringLiteral("cBefore, cAfter")
            : QStringLiteral("CASE WHEN cTable = 'Warehouse' AND cAction = 'change' THEN cBefore "
                             "END AS cBefore");
    return QStringLiteral("SELECT iId, ") + forms.timeAsText(QStringLiteral("dChanged"))
           + QStringLiteral(" AS cChangedAt, cOperCode, cOperName, cComputer, cTable, cKey, "
                            "cAction, cWhCode, cRightUser, ")
           + imageColumns + QStringLiteral(" FROM ChangeHistory");
}

std::vector<HistoryEntry> readHistoryEntries(dbkit::DbLogin &login, const QString &sql,
                                             const QVariantList &values)
{
    std::vector<HistoryEntry> entries;
    const dbkit::DbDataSetPtr rows = login.OpenDataSet(sql, values, dbkit::OpenMode::ReadOnly);
    for (; !rows->Eof(); rows->MoveNext()) {
        HistoryEntry entry;
        entry.id = rows->Fields(0).toLongLong();
        entry.changed = utcOf(NullToEmpty(rows->Fields(1)));
        entry.operatorCode = NullToEmpty(rows->Fields(2));
        entry.operatorName = NullToEmpty(rows->Fields(3));
        entry.computer = NullToEmpty(rows->Fields(4));
        entry.table = NullToEmpty(rows->Fields(5));
        entry.key = NullToEmpty(rows->Fields(6));
        entry.action = NullToEmpty(rows->Fields(7));
        entry.warehouse = NullToEmpty(rows->Fields(8));
        entry.rightUser = NullToEmpty(rows->Fields(9));
        if (rows->FieldCount() > 10)
            entry.before = ChangeHistory::decode(NullToEmpty(rows->Fields(10)));
        if (rows->FieldCount() > 11)
            entry.after = ChangeHistory::decode(NullToEmpty(rows->Fields(11)));
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace services
