#pragma once

#include "AuthorityContext.h"
#include "RightsColumns.h"

#include "services/RightsService.h"
#include "suite/dbkit/DbLogin.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class GridDropDown;
class InventoryReference;
class SuperGrid;

// The authority editor: a tree of operators and warehouses on the left, the
// rights of the selected one in the grid on the right. Selecting an operator
// lists its warehouses (operator view); selecting a warehouse lists its
// operators (warehouse view). A row is written as soon as its code and name
// are filled and the rights service accepts it, and rewritten on every later
// commit; there is no save command. The service decides and writes; the
// window shows its answers.
//
// openAuthorityEditor makes it afresh for each opening: ShowEditor loads it,
// shows it modally and unloads it.
class FrmAuthority : public QDialog, public RightsColumns {
    Q_OBJECT
public:
    explicit FrmAuthority(const AuthorityContext &inputs, QWidget *parent = nullptr);
    ~FrmAuthority() override;

    // Loads the window, shows it modally and unloads it when it closes.
    void ShowEditor();

    // ---- the checks of a row; each returns true when the row passes ----
    // kind 0 looks up a warehouse, 1 an operator, by code or name; a match
    // turns `code` into the record's code.
    bool ResolveOtherSide(int kind, QString &code);
    // Resolves the inventory cell of curRow to exactly one item and fills the
    // item's code, name and model (规格型号); empties them otherwise.
    bool ResolveInventory();
    // False when another grid row has the same other side, class and item.
    bool CheckRowUnique(int row);
    // False (after its message) when the row's right is a duplicate of a
    // stored right or crosses one of the same operator and warehouse.
    bool CheckNoOverlap(int row);
    bool CheckShowMoney(int row);
    // A written row must keep its other side.
    bool CheckOtherSide(int row);

    // ---- the writes, through the rights service ----
    services::ServiceResult InsertRight();   // stores curRow as a new right
    services::ServiceResult UpdateRight();   // rewrites the right of curRow
    // Deletes the right of the grid's current row and removes the row;
    // false when no row was removed.
    bool DeleteRight();

    // ---- window operations ----
    void NodeClick(QTreeWidgetItem *node);
    void TbarClick(const QString &key);
    void AddGridRow();

    SuperGrid *authGrid() const { return m_grid; }
    QTreeWidget *authTree() const { return m_tree; }
    QToolBar *Tbar() const { return m_toolbar; }
    QAction *toolbarButton(const QString &key) const;
    // The tree node of a key ("c" + operator code, "s" + warehouse code,
    // "c" and "s" for the roots); nullptr when there is none.
    QTreeWidgetItem *node(const QString &key) const;
    bool isReadOnly() const { return m_readOnly; }

    // ---- window state ----
    int curRow = 1;          // grid row being edited
    int nodeKind = 0;        // 0 operator view, 1 warehouse view
    QString nodeCode;        // code of the selected node
    QString nodeName;        // name of the selected node
    int lastSavedRow = 0;    // last grid row known to be written
    bool rowMoved = false;   // the grid reported a cursor move
    QStringList comboNames;  // names of the items of the cell drop-down

    static constexpr int HelpContext = 31100141;

protected:
    // Esc and the close box leave only as the exit button does.
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Loading and the node click (AuthorityLoad.cpp)
    void Form_Load();
    void Form_Unload();
    void LoadRights(const QString &nodeKey);
    bool anyRightStored();
    void showHelp();
    bool nodeClickFromKeyboard(QTreeWidgetItem *node);

    // Toolbar and leaving (AuthorityToolbar.cpp)
    bool checkRowBeforeLeaving();
    bool mayClose();

    // Grid editing (AuthorityGridEdit.cpp)
    void connectGrid();
    void onDropDown(int row, int col, GridDropDown *list);
    void onCommit(int row, int col, QString &text);
    bool commitOtherSide(int row, QString &text);
    bool commitClass(int row);
    bool commitInventory(int row, QString &text);
    void completeRow(int row, int col, QString &text);
    void onReferenceButton(int row, int col);
    void onRowChanged(bool rowChanged);
    void onCursorMoved();
    void onShowMoneyDefault();

    // Messages and cells (AuthorityRules.cpp)
    void stop(const QString &text);
    // Runs one step of a handler; a database error is shown with the
    // engine's text and the step counts as failed (the row stays as typed).
    bool trap(const std::function<bool()> &step);
    bool refuseWhenReadOnly();
    static QString readOnlyText();
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString &text);
    void clearCells(int row, int firstCol, int lastCol);
    int lastRow() const;

    // Writes (AuthorityWrites.cpp)
    services::RightRecord rightOfRow(int row) const;
    void setRowNew(int row);
    // Inserts or updates the committed row; a refusal is told and the
    // refused cells show again what the table holds.
    void saveRow(int row, int col, QString &text);
    void treatAsUnwritten(int row, const QString &message);
    void refuseCells(int row, int col);
    void restoreStored(int row, int col);

    dbkit::DbLoginPtr m_login;
    services::RightsService m_rights;
    bool m_readOnly = false;
    bool m_loaded = false;
    // The row stored by the editing still going on in it (0: none).
    int m_insertedRow = 0;

    QTreeWidget *m_tree = nullptr;
    SuperGrid *m_grid = nullptr;
    QToolBar *m_toolbar = nullptr;
    QList<QIcon> ImageList1;

    dbkit::DbDataSetPtr rsRights;
    dbkit::DbDataSetPtr rsUsers;
    dbkit::DbDataSetPtr rsWarehouses;
    dbkit::DbDataSetPtr rsClasses;
    std::unique_ptr<InventoryReference> refInv;
};
