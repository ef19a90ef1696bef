#include "SqlQuoting.h"

#include <QList>
#include <QStringView>

namespace dbkit {

namespace {

// Stands for one quoted part in a masked statement (a private-use character,
// which never occurs in the SQL of a statement).
constexpr QChar placeholder(0xE000);

struct Span {
    qsizetype start;
    qsizetype length;
};

// Where the quoted part opening at `at` ends (one past its last character);
// `at` itself when nothing is opened there. An unterminated part runs to the end.
qsizetype quotedEnd(const QString &sql, qsizetype at)
{
    const qsizetype size = sql.size();
    const QChar c = sql[at];
    const QChar next = at + 1 < size ? sql[at + 1] : QChar();
    if (c == '\'' || c == '"' || c == '[') {
        const QChar close = c == '[' ? QChar(']') : c;
        for (qsizetype i = at + 1; i < size; ++i) {
            if (sql[i] != close)
                continue;
            if (i + 1 < size && sql[i + 1] == close) {
                ++i;  // a doubled quote stands for itself
                continue;
            }
            return i + 1;
        }
        return size;
    }
    if (c == '-' && next == '-') {
        const qsizetype end = sql.indexOf('\n', at);
        return end < 0 ? size : end;
    }
    if (c == '/' && next == '*') {
        const qsizetype end = sql.indexOf(QLatin1String("*/"), at + 2);
        return end < 0 ? size : end + 2;
    }
    return at;
}

QString mask(const QString &sql, QList<Span> *spans)
{
    QString out;
    out.reserve(sql.size());
    for (qsizetype i = 0; i < sql.size();) {
        const qsizetype end = quotedEnd(sql, i);
        if (end == i) {
            out.append(sql[i++]);
            continue;
        }
        if (spans)
            spans->append({i, end - i});
        out.append(placeholder);
        i = end;
    }
    return out;
}

} // namespace

QString maskQuoted(const QString &sql)
{
    return mask(sql, nullptr);
}

QString rewriteOutsideQuotes(const QString &sql,
                             const std::function<QString(const QString &)> &rewrite)
{
    if (sql.contains(placeholder))
        return sql;
    QList<Span> spans;
    const QString rewritten = rewrite(mask(sql, &spans));
    if (rewritten.count(placeholder) != spans.size())
        return sql;
    QString out;
    out.reserve(rewritten.size() + sql.size());
    qsizetype next = 0;
    for (const QChar c : rewritten) {
        if (c == placeholder) {
            const Span &s = spans[next++];
            out.append(QStringView(sql).mid(s.start, s.length));
        } else {
            out.append(c);
        }
    }
    return out;
}

} // namespace dbkit
