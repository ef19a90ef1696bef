#include "TableCatalog.h"

#include "SqlQuoting.h"

#include <QRegularExpression>

namespace dbkit {

namespace {

using Re = QRegularExpression;
constexpr auto ci = QRegularExpression::CaseInsensitiveOption;

// The FROM clause: from the first top-level FROM to the first clause keyword.
QString fromClause(const QString &sql, QString *selectList)
{
    static const Re from(QStringLiteral("\\bfrom\\b"), ci);
    static const Re end(QStringLiteral("\\b(where|order|group|having|limit|union|offset)\\b"), ci);
    static const Re select(QStringLiteral("^\\s*select\\s+(?:distinct\\s+)?"), ci);
    const auto f = from.match(sql);
    if (!f.hasMatch())
        return QString();
    const auto s = select.match(sql);
    if (!s.hasMatch())
        return QString();
    *selectList = sql.mid(s.capturedEnd(), f.capturedStart() - s.capturedEnd());
    QString clause = sql.mid(f.capturedEnd());
    if (const auto e = end.match(clause); e.hasMatch())
        clause.truncate(e.capturedStart());
    return clause;
}

} // namespace

QString baseTableOf(const QString &statement)
{
    static const Re name(QStringLiteral("^\\s*([A-Za-z_][\\w]*(?:\\.[A-Za-z_][\\w]*)?)"
                                        "(?:\\s+(?:as\\s+)?([A-Za-z_]\\w*))?\\s*$"), ci);
    static const Re star(QStringLiteral("([A-Za-z_][\\w]*)\\.\\*"));
    static const Re joinTable(QStringLiteral("(?:^|\\bjoin\\s+)([A-Za-z_][\\w.]*)"
                                             "(?:\\s+(?:as\\s+)?(?!on\\b|left\\b|right\\b|inner\\b"
                                             "|full\\b|cross\\b|join\\b)([A-Za-z_]\\w*))?"), ci);
    // Table names are never quoted in the component's statements; a literal
    // holding "from" or "where" must not be read as a clause.
    QString selectList;
    const QString clause = fromClause(maskQuoted(statement), &selectList).trimmed();
    if (clause.isEmpty())
        return QString();
    // A single table, perhaps with an alias.
    if (const auto m = name.match(clause); m.hasMatch() && !clause.contains(','))
        return m.captured(1);
    // A join: the table whose * is selected, by name or alias.
    const auto s = star.match(selectList);
    if (!s.hasMatch() || clause.contains(','))
        return QString();
    const QString wanted = s.captured(1);
    for (auto it = joinTable.globalMatch(clause); it.hasNext();) {
        const auto t = it.next();
        QString table = t.captured(1);
        const QString shortName = unprefixedName(table);
        if (wanted.compare(shortName, Qt::CaseInsensitive) == 0
            || wanted.compare(t.captured(2), Qt::CaseInsensitive) == 0)
            return table;
    }
    return QString();
}

QString unprefixedName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.mid(dot + 1);
}

} // namespace dbkit
