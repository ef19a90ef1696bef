#pragma once

// Internal: refuses text no engine takes back as it was sent.

#include <QString>
#include <QVariantList>

namespace dbkit {

// Throws DbError `number` when a statement or criterion holds a character no
// engine takes back as it was sent: a NUL, or half of a UTF-16 pair. The
// error names `within` as its statement (the text itself when null).
void refuseUnsendable(const QString &text, int number, const QString &within = QString());
// The same for the text values bound to `statement` (DbError General).
void refuseUnsendableValues(const QVariantList &values, const QString &statement);

} // namespace dbkit
