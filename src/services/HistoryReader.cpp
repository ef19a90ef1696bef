#include "HistoryReader.h"
#include "HistoryRows.h"

#include "data/DataHelpers.h"
#include "suite/dbkit/BoundQuery.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"

#include <QDate>
#include <QSet>
#include <QTime>

namespace services {

using depotbase::NullToEmpty;

namespace {

// A time as the history stores it; built from digits only.
QString timeLiteral(const QDateTime &time)
{
    return QLatin1Char('\'') + time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
           + QLatin1Char('\'');
}

const HistoryTable *tableNamed(const QString &name)
{
    for (const HistoryTable *table : {&warehouseHistory(), &rightHistory()})
        if (table->name == name)
            return table;
    return nullptr;
}

} // namespace

bool HistoryFilter::selects(const HistoryEntry &entry) const
{
    auto holds = [](const QString &wanted, const QString &value) {
        return wanted.isEmpty() || wanted == value;
    };
    return holds(table, entry.table) && holds(key, entry.key) && holds(warehouse, entry.warehouse)
           && holds(rightUser, entry.rightUser) && holds(changedBy, entry.operatorCode)
           && (!from.isValid() || entry.changed >= from) && (!to.isValid() || entry.changed < to);
}

QStringList HistoryEntry::changedColumns() const
{
    QStringList order;
    if (const HistoryTable *known = tableNamed(table))
        order = known->columns;
    QStringList others;
    for (const RowImage &row : {before, after})
        if (row)
            for (const QString &column : row->keys())
                if (!order.contains(column) && !others.contains(column))
                    others << column;
    order << others;
    QStringList columns;
    for (const QString &column : order) {
        const bool wasThere = before && before->contains(column);
        const bool isThere = after && after->contains(column);
        if (!wasThere && !isThere)
            continue;
        if (wasThere != isThere || before->value(column) != after->value(column))
            columns << column;
    }
    return columns;
}

QString HistoryReader::statement(const HistoryFilter &filter, QVariantList &values) const
{
    QStringList terms;
    auto equal = [&terms, &values](const char *column, const QString &value) {
        if (value.isEmpty())
            return;
        terms << QLatin1String(column) + QStringLiteral("=?");
        values << value;
    };
    equal("cTable", filter.table);
    equal("cKey", filter.key);
    equal("cWhCode", filter.warehouse);
    equal("cRightUser", filter.rightUser);
    equal("cOperCode", filter.changedBy);
    if (filter.from.isValid())
        terms << QStringLiteral("dChanged>=") + timeLiteral(filter.from);
    if (filter.to.isValid())
        terms << QStringLiteral("dChanged<") + timeLiteral(filter.to);
    const dbkit::SqlForms forms(m_login);
    QString sql = historySelect(forms);
    if (!terms.isEmpty())
        sql += QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY dChanged DESC, iId DESC");
    return forms.firstRows(sql, qMax(1, filter.limit));
}

std::vector<HistoryEntry> HistoryReader::read(const HistoryFilter &filter)
{
    if (!dbkit::SqlForms(m_login).tableExists(QStringLiteral("ChangeHistory")))
        return {};
    QVariantList values;
    const QString sql = statement(filter, values);
    return readHistoryEntries(m_login, sql, values);
}

QHash<QString, QString> HistoryReader::departmentNames(const std::vector<HistoryEntry> &entries)
{
    QStringList codes;
    QSet<QString> seen;
    for (const HistoryEntry &entry : entries) {
        if (entry.table != warehouseHistory().name)
            continue;
        for (const RowImage &row : {entry.before, entry.after}) {
            if (!row)
                continue;
            const QString code = row->value(QStringLiteral("cDepCode")).toString();
            if (!code.isEmpty() && !seen.contains(code)) {
                seen.insert(code);
                codes << code;
            }
        }
    }
    // A few bound codes a statement, each found by the department's key.
    constexpr qsizetype perStatement = 100;
    QHash<QString, QString> names;
    for (qsizetype first = 0; first < codes.size(); first += perStatement) {
        const QStringList part = codes.mid(first, perStatement);
        QStringList marks(part.size(), QStringLiteral("?"));
        QVariantList values;
        for (const QString &code : part)
            values << code;
        const QString sql = QStringLiteral("SELECT cDepCode, cDepName FROM Department "
                                           "WHERE cDepCode IN (")
                            + marks.join(u',') + u')';
        for (const QVariantList &row : dbkit::selectBound(m_login, sql, values))
            names.insert(row.value(0).toString(), row.value(1).toString());
    }
    return names;
}

std::vector<std::pair<QString, QString>> HistoryReader::operators()
{
    std::vector<std::pair<QString, QString>> users;
    const dbkit::DbDataSetPtr rows = m_login.OpenDataSet(
        QStringLiteral("SELECT cuser_id, cuser_name FROM lxsystem..qd_user ORDER BY cuser_id"),
        dbkit::OpenMode::ReadOnly);
    for (; !rows->Eof(); rows->MoveNext())
        users.emplace_back(NullToEmpty(rows->Fields(0)), NullToEmpty(rows->Fields(1)));
    return users;
}

} // namespace services
