#pragma once

#include <QString>

class SuperGrid;
namespace dbkit {
class DbLogin;
}

// What the warehouse card needs from the window that opens it, handed to the
// card when it is shown. The warehouse list implements it.
class WarehouseCardHost {
public:
    // The login the card reads and writes through.
    virtual dbkit::DbLogin &login() = 0;
    // True when the list was opened read-only: the card's save is refused.
    virtual bool isReadOnly() const = 0;
    // The list's grid, whose rows the card keeps in step with what it saved.
    virtual SuperGrid &grid() = 0;
    // Selection colours of the grid: shown while it lists rows.
    virtual void showSelection(bool visible) = 0;
    // True when other tables use the warehouse of `code`; a database failure
    // that says nothing about use is raised.
    virtual bool onUsed(const QString &code) = 0;
    // Releases the lock the list took on the warehouse being edited.
    virtual void releaseEditLock() = 0;

protected:
    ~WarehouseCardHost() = default;
};
