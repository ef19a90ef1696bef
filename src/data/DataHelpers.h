#pragma once

#include <QString>
#include <QVariant>

namespace depotbase {

// "" for Null, else the value as text (0 gives "0").
QString NullToEmpty(const QVariant &value);

// Null when the box's text is "", else the text, so that assigning the
// result to a field stores the box's value.
QVariant EmptyToNull(const QString &boxText);

} // namespace depotbase
