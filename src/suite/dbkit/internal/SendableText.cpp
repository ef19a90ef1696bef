#include "SendableText.h"

#include "../DbError.h"

namespace dbkit {

void refuseUnsendable(const QString &text, int number, const QString &within)
{
    const QString &statement = within.isNull() ? text : within;
    // A NUL would end the text early inside the engine's client library.
    if (text.contains(QChar(0)))
        throw DbError(number, QStringLiteral("语句中含有空字符（NUL），不能执行。"), QString(),
                      QString(statement).replace(QChar(0), QLatin1String("\\0")));
    // Half of a UTF-16 pair has no character to stand for: one engine would
    // store another character in its place, another refuse it.
    if (!text.isValidUtf16())
        throw DbError(number,
                      QStringLiteral("语句中含有不成对的 UTF-16 代理字符，不能执行。"),
                      QString(), statement);
}

void refuseUnsendableValues(const QVariantList &values, const QString &statement)
{
    for (const QVariant &v : values)
        if (v.typeId() == QMetaType::QString)
            refuseUnsendable(v.toString(), ErrorNumber::General, statement);
}

} // namespace dbkit
