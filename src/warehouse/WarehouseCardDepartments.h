#pragma once

#include "services/DepartmentLookup.h"

#include <QString>
#include <memory>
#include <optional>

class QWidget;
class RefDialog;

// A leaf department the card's department box may name.
using CardDepartment = services::Department;

// The departments of the card's department box: the leaf departments
// (rsDepartment, read by the department look-up), the reference dialog over
// them, and which department the box's text stands for.
class WarehouseCardDepartments {
public:
    WarehouseCardDepartments();
    ~WarehouseCardDepartments();
    WarehouseCardDepartments(const WarehouseCardDepartments &) = delete;
    WarehouseCardDepartments &operator=(const WarehouseCardDepartments &) = delete;

    // Reads the leaf departments and makes the reference dialog over `card`.
    void open(dbkit::DbLogin &login, QWidget *card);
    void close();

    // The department the box's text names: the one the box was given while
    // it still shows that name (even when another department has the same
    // name), else a department whose code is the text, else one whose name
    // it is. The found department is remembered as the box's.
    std::optional<CardDepartment> find(const QString &boxText);
    // Shows the reference dialog; the chosen department, remembered as the box's.
    std::optional<CardDepartment> choose();
    // The department the box shows (a stored warehouse's), or none; no code
    // is resolved until the box is checked again.
    void remember(const QString &code, const QString &name);

    // The code of the department last found or chosen for the box: what a
    // save stores. Empty until then, and after forget().
    QString code() const { return m_resolved; }
    void forget() { m_resolved.clear(); }

private:
    std::unique_ptr<services::DepartmentLookup> rsDepartment;
    std::unique_ptr<RefDialog> m_ref;
    CardDepartment m_shown;
    QString m_resolved;
};
