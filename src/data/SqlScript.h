#pragma once

#include <QString>
#include <QStringList>

namespace depotbase {

// Splits a script of SQL statements at the semicolons that end them. Text in
// single quotes, double-quoted names, dollar-quoted bodies and comments are
// kept whole, so a ';' inside them never splits. Comments are dropped;
// statements come back trimmed, without their ';', empty ones left out.
QStringList splitSqlScript(const QString &script);

} // namespace depotbase
