#pragma once

#include "suite/dbkit/DbLogin.h"

#include <QString>
#include <QVariant>

class QWidget;

// Opens a list's data set: open mode 4 when readOnly, else 2. On failure
// returns nullptr; when the table is held exclusively by another operator
// (3261) it first tells the user, naming the table by displayName.
dbkit::DbDataSetPtr OpenListDataSet(dbkit::DbLogin &login, const QString &sql, bool readOnly,
                                    const QString &displayName, QWidget *parent = nullptr);

// "" for Null, else the value as text (0 gives "0").
QString NullToEmpty(const QVariant &value);

// Null when the box's text is "", else the text, so that assigning the
// result to a field stores the box's value.
QVariant EmptyToNull(const QString &boxText);
