#pragma once

#include "DbLogin.h"

#include <QString>
#include <QVariantList>
#include <vector>

namespace dbkit {

// Runs a reading statement whose "?" placeholders are bound to `values`, and
// returns its rows, each as the list of its columns' values (Null as a null
// QVariant). For short keyed reads: the rows are copied out whole, so a
// large result belongs in a data set instead. The statement goes through the
// login's dialect and time limit like any other; a failure throws DbError.
std::vector<QVariantList> selectBound(DbLogin &login, const QString &sql,
                                      const QVariantList &values);

} // namespace dbkit
