#pragma once

#include "AuthorityContext.h"
#include "AuthorityData.h"
#include "AuthorityEditorLayout.h"
#include "EditedRows.h"
#include "GridEditing.h"
#include "RightsColumns.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;
class SuperGrid;

// The authority editor: operators and warehouses in the tree, the rights of
// the selected one in the grid (an operator's warehouses in the operator
// view, a warehouse's operators in the warehouse view). A row is stored as
// soon as its code is chosen and the rights service accepts it, and again on
// every later commit. EditedRows keeps the grid's rows and the editing going
// on in them, GridEditing follows the grid's edits; the window holds the
// tree, the toolbar and the ways of leaving.
// ShowEditor loads the window, shows it modally and unloads it.
class FrmAuthority : public QDialog, public RightsColumns {
    Q_OBJECT
public:
    explicit FrmAuthority(const AuthorityContext &inputs, QWidget *parent = nullptr);
    ~FrmAuthority() override;
    void ShowEditor();
    // The right the next showing opens on (see RightToShow).
    void startOn(const RightToShow &right) { m_start = right; }

    // The other side a right of a node of this kind names (a warehouse for
    // an operator, an operator for a warehouse), by code or name; `code`
    // becomes its code. False when there is none.
    bool ResolveOtherSide(services::NodeKind node, QString &code);
    // A written row keeps its other side; false after telling.
    bool CheckOtherSide(int row);
    // Deletes the right of the current row and removes the row; false when
    // no row was removed.
    bool DeleteRight();

    void NodeClick(QTreeWidgetItem *node);
    void TbarClick(const QString &key);
    void AddGridRow();

    SuperGrid *authGrid() const { return m_widgets.grid; }
    QTreeWidget *authTree() const { return m_widgets.tree; }
    QAction *toolbarButton(const QString &key) const;
    // "c" + operator code, "s" + warehouse code, "c" and "s" for the roots.
    QTreeWidgetItem *node(const QString &key) const;
    // The grid's rows: the node shown, the row being edited, the written rows.
    const EditedRows &rows() const { return m_rows; }

    static constexpr int HelpContext = 31100141;

protected:
    // Esc and the close box leave only as the exit button does.
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // The grid reached with the keys enables delete, as a click does.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // AuthorityEditorLoad.cpp
    // The window's name, flags and widgets, made before its parts.
    static editorlayout::Widgets laidOut(FrmAuthority &window);
    void Form_Load();
    void Form_Unload();
    void showHelp();
    void showHistory();
    // Selects the operator of m_start and makes its right the current row.
    void showStartRight();

    // AuthorityEditorCommands.cpp
    // Add and delete: never enabled in a read-only editor.
    void enableCommand(const QString &key, bool enabled);
    bool checkRowBeforeLeaving();
    // The row checks, then a question before rows that are not stored are
    // dropped (否 goes back to the first): the one way of leaving for the
    // exit button, Esc and the close box.
    bool mayClose();
    bool mayDropUnstoredRows();

    // AuthorityEditorRules.cpp
    void stop(const QString &text);
    // A database error is told with the engine's text; the step then fails.
    bool trap(const std::function<bool()> &step);

    services::Account m_account;
    AuthorityData m_data;
    editorlayout::Widgets m_widgets;
    EditedRows m_rows;
    GridEditing m_editing;
    bool m_loaded = false;
    std::optional<RightToShow> m_start;
    QList<QIcon> ImageList1;
};
