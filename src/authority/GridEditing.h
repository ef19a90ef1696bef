#pragma once

#include "RightsColumns.h"

#include "services/Account.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class AuthorityData;
class EditedRows;
class GridDropDown;
class InventoryReference;
class QWidget;
class SuperGrid;

// What the authority editor's grid does with the user's edits: the drop-down
// a cell offers, a committed cell taken and its row stored, an item picked
// through the inventory reference, and the checks of a row the cursor leaves.
// It follows the grid's signals from its construction on.
class GridEditing : public QObject, public RightsColumns {
public:
    // What the window lends: the parent of the inventory reference, its
    // guard that tells a database failure (the step then fails), and the
    // checks a row must pass before it is left.
    struct Window {
        QWidget *parent = nullptr;
        std::function<bool(const std::function<bool()> &step)> trap;
        std::function<bool()> mayLeaveRow;
    };

    GridEditing(SuperGrid &grid, EditedRows &rows, const AuthorityData &data,
                const services::Account &account, Window window);
    ~GridEditing() override;

    // Lets go of the inventory reference when the editor unloads.
    void unload();

private:
    void onDropDown(int row, int col, GridDropDown *list);
    void onCommit(int row, int col, QString &text);
    // The name of the drop-down item picked for a code or class cell.
    std::optional<QString> pickedName(int col) const;
    void completeRow(int row, int col, QString &text);
    void onReferenceButton(int row, int col);
    void onRowChanged(bool rowChanged);
    void onCursorMoved();

    SuperGrid &m_grid;
    EditedRows &m_rows;
    const AuthorityData &m_data;
    services::Account m_account;
    Window m_window;
    QStringList m_comboNames;  // names of the items of the cell drop-down
    std::unique_ptr<InventoryReference> m_reference;
};
