#pragma once

#include "services/ServiceResult.h"

#include <QString>
#include <functional>

class QWidget;
class SuperGrid;
class WarehouseListLocks;
namespace services {
class WarehouseService;
}

// Deleting the warehouses of the list's grid rows: the questions, the deletes
// through the warehouse service (which locks, reads again and deletes by
// key, releasing its lock on every path), and the rows that go.
class WarehouseListDeletion {
public:
    WarehouseListDeletion(QWidget *window, services::WarehouseService &service, SuperGrid &grid,
                          WarehouseListLocks &locks);

    // Deletes the warehouse of the current row after asking. True when it
    // was found (deleted, declined, or held by another operator's lock).
    bool deleteCurrent();
    // Deletes rows firstRow to lastRow (either direction) after asking, always
    // the warehouse of the current row: each removal brings the next selected
    // row into place, or moves the current row up. True when every row went
    // or the user declined.
    bool deleteRows(long &firstRow, long &lastRow);

    // The code of the warehouse last deleted or tried.
    QString lastCode() const { return m_code; }
    // True when rows went: warehouses deleted, or found gone meanwhile.
    bool removedRows() const { return m_removedRows; }

private:
    // Deletes one warehouse through the service, removing its row when it
    // went or was gone already; a refusal comes back untold.
    services::ServiceResult deleteCode(const QString &code);
    void tellRefusal(const services::ServiceResult &refusal);
    bool askAndDeleteCurrent();
    bool askAndDeleteRows(long &firstRow, long &lastRow);
    // Runs a delete command; a database failure inside it is told as the
    // delete's error and counts as false.
    bool told(const std::function<bool()> &command);

    QWidget *m_window;
    services::WarehouseService &m_service;
    SuperGrid &m_grid;
    WarehouseListLocks &m_locks;
    QString m_code;
    int m_deleted = 0;
    bool m_removedRows = false;
};
