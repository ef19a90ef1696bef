#pragma once

#include "AuthorityContext.h"
#include "AuthorityData.h"
#include "AuthorityEditorLayout.h"
#include "EditedRows.h"
#include "GridEditing.h"
#include "NodeRightsLoader.h"
#include "NodeTree.h"
#include "RightsColumns.h"
#include "RightsFollower.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
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
// A node click shows the node at once in an empty grid and has its rights
// read by NodeRightsLoader on a thread of its own; they are shown when they
// arrive, unless another node was chosen meanwhile. While they are on their
// way add and delete are disabled (their keys do nothing), as there is no
// row to delete and no stored right to check a new one against; history,
// help and exit stay.
// While it is open the grid follows the node's rights as other seats and
// windows change them (AuthorityEditorFollow.cpp).
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

    // Shows `node` and starts reading its rights; see above.
    void NodeClick(QTreeWidgetItem *node);
    // True while the rights of the node chosen last are on their way, or a
    // node reached by typing waits for the typing to pause.
    bool nodeLoading() const;
    // Runs the window's events until nodeLoading() is false. For callers
    // that drive the editor from code and read the grid next.
    void waitForNode();
    void TbarClick(const QString &key);
    void AddGridRow();

    SuperGrid *authGrid() const { return m_widgets.grid; }
    QTreeWidget *authTree() const { return m_widgets.tree; }
    QAction *toolbarButton(const QString &key) const;
    // "c" + operator code, "s" + warehouse code, "c" and "s" for the roots.
    QTreeWidgetItem *node(const QString &key) const;
    // The grid's rows: the node shown, the row being edited, the written rows.
    const EditedRows &rows() const { return m_rows; }
    // The change feed followed while the window is loaded; nullptr otherwise.
    services::ChangeFeed::Following *following() const;

    static constexpr int HelpContext = 31100141;

signals:
    // The node chosen last is shown with its rights, its load failed and was
    // told, or the choice ended without a load (a root, a refused click).
    void nodeLoadEnded();

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
    // Selects the operator of m_start and makes its right the current row
    // once its rights are shown.
    void showStartRight();

    // AuthorityEditorNode.cpp
    // Shows the rights of the load waited for; any other result is dropped.
    void showLoadedNode(const NodeRightsLoader::Result &loaded);
    void endNodeLoad();

    // AuthorityEditorFollow.cpp
    void startFollowing();
    // Changes wait while a node loads or a dialog is open.
    bool busyForChanges() const;
    // Shows the node's rights a batch of changes touched as they are now;
    // hands back what waits for the cell being edited, or all when they
    // could not be read.
    TouchedRights showChanges(const TouchedRights &touched);

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
    void tellFailure(const services::DatabaseFailure &failure);

    services::Account m_account;
    AuthorityData m_data;
    editorlayout::Widgets m_widgets;
    EditedRows m_rows;
    GridEditing m_editing;
    bool m_loaded = false;
    std::optional<RightToShow> m_start;
    std::unique_ptr<NodeRightsLoader> m_loader;  // while the window is loaded
    std::unique_ptr<RightsFollower> m_follower;  // likewise
    unsigned long long m_nodeLoad = 0;           // the load waited for; 0: none
    std::optional<RightToShow> m_rightToMakeCurrent;  // once the node's rights are shown
    QList<QIcon> ImageList1;
};
