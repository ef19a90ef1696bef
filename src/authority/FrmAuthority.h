#pragma once

#include "AuthorityContext.h"

#include "suite/dbkit/DbLogin.h"

#include <QDialog>
#include <QList>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class GridDropDown;
class RefDialog;
class SuperGrid;

namespace dbkit {
class DbError;
}

// The authority editor: a tree of operators and warehouses on the left, the
// rights of the selected one in the grid on the right. Selecting an operator
// lists its warehouses (operator view); selecting a warehouse lists its
// operators (warehouse view). A row is written to WarehAuth as soon as its
// code and name are filled, and rewritten on every later commit; there is no
// save command.
//
// openAuthorityEditor makes it afresh for each opening: ShowEditor loads it,
// shows it modally and unloads it.
class FrmAuthority : public QDialog {
    Q_OBJECT
public:
    explicit FrmAuthority(const AuthorityContext &inputs, QWidget *parent = nullptr);
    ~FrmAuthority() override;

    // Loads the window, shows it modally and unloads it when it closes.
    void ShowEditor();

    // Grid columns.
    enum Column {
        ColOther = 0,      // code of the other side (warehouse or operator)
        ColOtherName = 1,
        ColAutoId = 2,     // hidden: Auto_id of a written row
        ColShowMoney = 3,
        ColClass = 4,
        ColClassName = 5,
        ColInv = 6,
        ColInvName = 7,
        ColInvStd = 8,
        ColumnCount = 9
    };
    // The columns that show a name; they stand out in the name colour.
    static constexpr int NameColumns[] = {ColOtherName, ColClassName, ColInvName, ColInvStd};

    // ---- the rules of a right; each returns true when the row passes ----
    // kind 0 looks up a warehouse, 1 an operator, by code or name; a match
    // turns `code` into the record's code.
    bool ResolveOtherSide(int kind, QString &code);
    // Resolves the inventory cell of curRow to exactly one item and fills the
    // item's code, name and model (规格型号); empties them otherwise.
    bool ResolveInventory();
    // False when another grid row has the same other side, class and item.
    bool CheckRowUnique(int row);
    // False when item `inv` or class `cls` overlaps class `otherCls` (or,
    // with all three empty, when the operator already has the warehouse).
    bool CheckPair(const QString &inv, const QString &cls, const QString &otherCls);
    // Items and classes of one operator and warehouse must not cross.
    bool CheckNoOverlap(int row);
    bool CheckShowMoney(int row);
    // A written row must keep its other side.
    bool CheckOtherSide(int row);

    // ---- the writes, all through rsAuth ----
    bool InsertRight();    // writes curRow as a new record
    bool UpdateRight();    // rewrites the record of curRow
    // Deletes the record of the grid's current row and removes the row;
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

    // ---- window state (the rules read it) ----
    int curRow = 1;          // grid row being edited
    int nodeKind = 0;        // 0 operator view, 1 warehouse view
    QString nodeCode;        // code of the selected node
    QString nodeName;        // name of the selected node
    int lastSavedRow = 0;    // last grid row known to be written
    bool rowMoved = false;   // the grid reported a cursor move
    int skipClassEdit = 0;   // one-shot guard of the class column
    QStringList comboNames;  // names of the items of the cell drop-down

    static constexpr int HelpContext = 31100141;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Loading (AuthorityLoad.cpp)
    void Form_Load();
    void Form_Unload();
    void buildControls();
    void setupGrid();
    void LoadRights(const QString &nodeKey);
    void LoadTree();
    void fillRights();
    void writeTitles();
    void showHelp();
    bool nodeClickFromKeyboard(QTreeWidgetItem *node);

    // Toolbar (AuthorityToolbar.cpp)
    void buildToolbar();
    bool checkRowBeforeLeaving();

    // Grid editing (AuthorityGridEdit.cpp)
    void connectGrid();
    void onDropDown(int row, int col, GridDropDown *list);
    void onCommit(int row, int col, QString &text);
    bool commitOtherSide(int row, QString &text);
    bool commitClass(int row, QString &text);
    bool commitInventory(int row, QString &text);
    void completeRow(int row, int col, QString &text);
    void onReferenceButton(int row, int col);
    void onRowChanged(bool rowChanged);
    void onCursorMoved();
    void onShowMoneyDefault();
    void onBeforeEdit(bool &cancel);

    // Messages and errors (AuthorityRules.cpp)
    void stop(const QString &text);
    void showDbError(const dbkit::DbError &error);
    // Runs one step of a handler; a database error is shown with the
    // engine's text and the step counts as failed (the row stays as typed).
    bool trap(const std::function<bool()> &step);
    bool refuseWhenReadOnly();
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString &text);
    void clearCells(int row, int firstCol, int lastCol);
    int lastRow() const;

    // Writes (AuthorityWrites.cpp)
    void collectRight(bool withNodeSide);
    // Puts rsAuth on the record with this Auto_id, reading the table again
    // when the record was written after rsAuth was opened; false when the
    // table no longer holds it.
    bool findAuthRecord(long long autoId);
    void treatAsUnwritten(int row);
    // Writes the row through rsAuth: a new record (autoId 0) or the record
    // of autoId. Duplicates and records gone meanwhile are told here.
    bool writeRight(int row, long long autoId, bool withNodeSide);

    dbkit::DbLoginPtr m_login;
    bool m_readOnly = false;
    bool m_loaded = false;

    QTreeWidget *m_tree = nullptr;
    SuperGrid *m_grid = nullptr;
    QToolBar *m_toolbar = nullptr;
    QList<QIcon> ImageList1;

    dbkit::DbDataSetPtr rsRights;
    dbkit::DbDataSetPtr rsUsers;
    dbkit::DbDataSetPtr rsWarehouses;
    dbkit::DbDataSetPtr rsClasses;
    dbkit::DbDataSetPtr rsAuth;
    std::unique_ptr<RefDialog> refInv;
};
