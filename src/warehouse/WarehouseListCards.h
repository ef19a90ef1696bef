#pragma once

#include "WarehouseCardHost.h"
#include "forms/FormSlot.h"
#include "services/Account.h"

#include <QString>

class QWidget;
class SuperGrid;
class WarehouseListLocks;
class frmWHCard;

// The warehouse list's side of its card: opens the card to add a warehouse
// or to edit one (locked and read by key first), and is the card's host. It
// shows what the card stored in the list's grid and keeps the card away from
// everything else of the list.
class WarehouseListCards : public WarehouseCardHost {
public:
    WarehouseListCards(QWidget *list, WarehouseListLocks &locks);
    ~WarehouseListCards();
    WarehouseListCards(const WarehouseListCards &) = delete;
    WarehouseListCards &operator=(const WarehouseListCards &) = delete;

    // The list's grid, and the login, read-only flag and computer name the
    // card works with.
    void attach(SuperGrid &grid, const services::Account &account, bool readOnly,
                const QString &computer);

    // Shows the card empty, to add warehouses.
    void add();
    // Locks the warehouse of `code` (not on a read-only list), reads it and
    // shows it on the card; the lock goes when the card closes. A lock held
    // by another operator and a warehouse gone meanwhile are told.
    void edit(const QString &code);

    // True once the card stored or dropped a row since the last call.
    bool takeRowsChanged();

    dbkit::DbLogin &login() override { return m_account.login(); }
    const services::Account &account() const override { return m_account; }
    bool isReadOnly() const override { return m_readOnly; }
    services::WarehouseService &warehouses() override;
    void showSavedWarehouse(const services::WarehouseRecord &stored, bool added) override;
    void showDepartmentStyle(const QString &depName, const QString &style) override;
    void dropEditedRow() override;
    void releaseEditLock() override;

private:
    QWidget *m_list;
    SuperGrid *m_grid = nullptr;
    WarehouseListLocks &m_locks;
    services::Account m_account;
    bool m_readOnly = false;
    QString m_computer;
    QString m_editCode;
    bool m_rowsChanged = false;
    depotbase::FormSlot<frmWHCard> m_card;
};
