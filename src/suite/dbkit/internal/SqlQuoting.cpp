#include "SqlQuoting.h"

#include <QList>
#include <QStringView>

#include <bitset>

namespace dbkit {

namespace {

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

// A character that does not occur in the statement outside its quoted parts,
// to stand for each quoted part in the masked statement. Values (which live
// in the quoted parts) may hold any character, so none is reserved: the first
// private-use character the statement's own SQL does not use is taken. Null
// when the SQL uses every one of them.
QChar freePlaceholder(const QString &sql)
{
    constexpr char16_t first = 0xE000;
    constexpr char16_t last = 0xF8FF;
    std::bitset<last - first + 1> used;
    for (qsizetype i = 0; i < sql.size();) {
        const qsizetype end = quotedEnd(sql, i);
        if (end != i) {
            i = end;
            continue;
        }
        const char16_t c = sql[i++].unicode();
        if (c >= first && c <= last)
            used.set(c - first);
    }
    for (std::size_t free = 0; free < used.size(); ++free)
        if (!used.test(free))
            return QChar(char16_t(first + free));
    return QChar();
}

QString mask(const QString &sql, QChar placeholder, QList<Span> *spans)
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
    const QChar placeholder = freePlaceholder(sql);
    return mask(sql, placeholder.isNull() ? QChar(0xE000) : placeholder, nullptr);
}

QString rewriteOutsideQuotes(const QString &sql,
                             const std::function<QString(const QString &)> &rewrite)
{
    const QChar placeholder = freePlaceholder(sql);
    if (placeholder.isNull())
        return sql;
    QList<Span> spans;
    const QString rewritten = rewrite(mask(sql, placeholder, &spans));
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
