#pragma once

#include "AuthorityContext.h"
#include "AuthorityData.h"
#include "RightsColumns.h"
#include "RowCommit.h"
#include "RowEntry.h"

#include "services/ServiceResult.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class GridDropDown;
class InventoryReference;
class SuperGrid;

// The authority editor: operators and warehouses in the tree, the rights of
// the selected one in the grid (an operator's warehouses in the operator
// view, a warehouse's operators in the warehouse view). A row is stored as
// soon as its code is chosen and the rights service accepts it, and again on
// every later commit. RowEntry decides what a committed cell becomes and
// RowCommit what a commit stores or refuses; the window shows their answers.
// ShowEditor loads the window, shows it modally and unloads it.
class FrmAuthority : public QDialog, public RightsColumns {
    Q_OBJECT
public:
    explicit FrmAuthority(const AuthorityContext &inputs, QWidget *parent = nullptr);
    ~FrmAuthority() override;
    void ShowEditor();
    // The right the next showing opens on (see RightToShow).
    void startOn(const RightToShow &right) { m_start = right; }

    // The checks of a row: true when it passes; a failure is told.
    // The other side a right of a node of this kind names (a warehouse for
    // an operator, an operator for a warehouse), by code or name; `code`
    // becomes its code.
    bool ResolveOtherSide(services::NodeKind node, QString &code);
    // The item cell of curRow as exactly one item's code, name and model.
    bool ResolveInventory();
    bool CheckRowUnique(int row);     // (not told: its callers tell it)
    bool CheckNoOverlap(int row);     // against the stored rights
    bool CheckShowMoney(int row);
    bool CheckOtherSide(int row);     // a written row keeps its other side

    services::ServiceResult InsertRight();   // stores curRow as a new right
    services::ServiceResult UpdateRight();   // rewrites the right of curRow
    // Deletes the right of the current row and removes the row; false when
    // no row was removed.
    bool DeleteRight();

    void NodeClick(QTreeWidgetItem *node);
    void TbarClick(const QString &key);
    void AddGridRow();

    SuperGrid *authGrid() const { return m_grid; }
    QTreeWidget *authTree() const { return m_tree; }
    QAction *toolbarButton(const QString &key) const;
    // "c" + operator code, "s" + warehouse code, "c" and "s" for the roots.
    QTreeWidgetItem *node(const QString &key) const;

    int curRow = 1;          // grid row being edited
    services::NodeKind nodeKind = services::NodeKind::Operator;  // whose rights are shown
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
    // The grid reached with the keys enables delete, as a click does.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // AuthorityLoad.cpp
    void Form_Load();
    void Form_Unload();
    void showHelp();
    void showHistory();
    // Selects the operator of m_start and makes its right the current row.
    void showStartRight();

    // AuthorityToolbar.cpp
    // Add and delete: never enabled in a read-only editor.
    void enableCommand(const QString &key, bool enabled);
    bool checkRowBeforeLeaving();
    // The row checks, then a question before rows that are not stored are
    // dropped (否 goes back to the first): the one way of leaving for the
    // exit button, Esc and the close box.
    bool mayClose();
    bool mayDropUnstoredRows();

    // AuthorityGridEdit.cpp
    void connectGrid();
    void onDropDown(int row, int col, GridDropDown *list);
    void onCommit(int row, int col, QString &text);
    // The name of the drop-down item picked for a code or class cell.
    std::optional<QString> pickedName(int col) const;
    void completeRow(int row, int col, QString &text);
    void onReferenceButton(int row, int col);
    void onRowChanged(bool rowChanged);
    void onCursorMoved();

    // AuthorityRules.cpp
    void stop(const QString &text);
    // A database error is told with the engine's text; the step then fails.
    bool trap(const std::function<bool()> &step);
    QString cell(int row, int col) const;
    int lastRow() const;

    // AuthorityWrites.cpp
    // A grid row with the editing state around it, for RowCommit; showRow
    // shows what RowCommit left of it.
    GridRow gridRow(int row) const;
    void showRow(const GridRow &row);
    // Stores the committed row; a refusal is told and the refused cells show
    // again what the table holds.
    void saveRow(int row, int col, QString &text);
    void refuseCells(int row, int col);

    services::Account m_account;
    AuthorityData m_data;
    RowCommit m_commit;
    RowEntry m_entry;
    bool m_loaded = false;
    std::optional<RightToShow> m_start;
    int m_insertedRow = 0;   // the row stored by the editing going on in it

    QTreeWidget *m_tree = nullptr;
    SuperGrid *m_grid = nullptr;
    QToolBar *m_toolbar = nullptr;
    QList<QIcon> ImageList1;

    std::unique_ptr<InventoryReference> refInv;
};
