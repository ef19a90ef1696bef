#pragma once

#include <QString>
#include <memory>

class QWidget;
namespace dbkit {
class DbLogin;
class DbDataSet;
}

namespace depotbase {

// Opens a list's data set: open mode 4 when readOnly, else 2. On failure
// returns nullptr; when the table is held exclusively by another operator
// (3261) it first tells the user, naming the table by displayName.
std::shared_ptr<dbkit::DbDataSet> OpenListDataSet(dbkit::DbLogin &login, const QString &sql,
                                                  bool readOnly, const QString &displayName,
                                                  QWidget *parent = nullptr);

} // namespace depotbase
