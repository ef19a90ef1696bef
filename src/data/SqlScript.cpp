#include "SqlScript.h"

namespace depotbase {

namespace {

// Length of a dollar-quote tag ("$$" or "$name$") starting at `pos`, 0 when
// there is none.
qsizetype dollarTagLength(const QString &s, qsizetype pos)
{
    qsizetype i = pos + 1;
    while (i < s.size() && (s[i].isLetterOrNumber() || s[i] == QLatin1Char('_')))
        ++i;
    if (i < s.size() && s[i] == QLatin1Char('$')) {
        // "$1" is a parameter, not a tag.
        if (i > pos + 1 && s[pos + 1].isDigit())
            return 0;
        return i - pos + 1;
    }
    return 0;
}

} // namespace

QStringList splitSqlScript(const QString &script)
{
    QStringList statements;
    QString current;
    const qsizetype n = script.size();
    qsizetype i = 0;

    auto finish = [&] {
        const QString statement = current.trimmed();
        if (!statement.isEmpty())
            statements << statement;
        current.clear();
    };
    // Copies a quoted run ending with `close`; a doubled closing quote stays inside.
    auto copyQuoted = [&](QChar close) {
        current += script[i++];
        while (i < n) {
            const QChar c = script[i++];
            current += c;
            if (c == close) {
                if (i < n && script[i] == close) {
                    current += script[i++];
                    continue;
                }
                return;
            }
        }
    };

    while (i < n) {
        const QChar c = script[i];
        const QChar next = i + 1 < n ? script[i + 1] : QChar();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            copyQuoted(c);
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            while (i < n && script[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = script.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            current += QLatin1Char(' ');
        } else if (c == QLatin1Char('$') && dollarTagLength(script, i) > 0) {
            const QString tag = script.mid(i, dollarTagLength(script, i));
            const qsizetype end = script.indexOf(tag, i + tag.size());
            const qsizetype stop = end < 0 ? n : end + tag.size();
            current += script.mid(i, stop - i);
            i = stop;
        } else if (c == QLatin1Char(';')) {
            finish();
            ++i;
        } else {
            current += c;
            ++i;
        }
    }
    finish();
    return statements;
}

} // namespace depotbase
