#pragma once

#include "services/HistoryReader.h"

#include <QHash>
#include <QString>
#include <QStringList>

// How the history window words a change: the captions of the kept tables'
// columns, the actions, and the cells of one grid row.
namespace historytext {

// The grid's columns, in order.
enum Column {
    ColTime,
    ColOperatorCode,
    ColOperatorName,
    ColComputer,
    ColObject,
    ColKey,
    ColAction,
    ColChanged,
    ColBefore,
    ColAfter,
    ColumnCount
};
QString columnTitle(int column);

QString actionText(const QString &action);
QString columnCaption(const QString &table, const QString &column);

// The cells of one change: the time in local time, who, what (a right by its
// operator and warehouse), the captions of the changed fields, and the
// values before and after: a change shows only its changed fields, an add
// or a delete the filled fields of the whole row. A warehouse's department
// shows its code and, when `departmentNames` knows it, its name.
QStringList rowCells(const services::HistoryEntry &entry,
                     const QHash<QString, QString> &departmentNames = {});

} // namespace historytext
