#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace dbkit {
class DbLogin;
class DbDataSet;
}

namespace services {

// A leaf department a warehouse may belong to.
struct Department {
    QString code;
    QString name;
};

// The leaf departments (code, name, person) the warehouse card offers, by
// code, read once and again before each look-up, so departments other
// operators added or removed since are found as they are now.
class DepartmentLookup {
public:
    // Reads the leaf departments; a failure is raised as dbkit::DbError.
    explicit DepartmentLookup(dbkit::DbLogin &login);

    static QString statement();

    // The department whose code is `text`, else the first by code whose
    // name it is (a typed code wins over a department whose name it is).
    // Texts compare exactly.
    std::optional<Department> find(const QString &text);
    // The departments as they are now, for a reference dialog to show and
    // position; current() is then the one it stands on.
    std::shared_ptr<dbkit::DbDataSet> rows();
    Department current() const;

private:
    std::optional<Department> firstWhere(const QString &column, const QString &text);

    std::shared_ptr<dbkit::DbDataSet> m_rows;
};

} // namespace services
