// The authority editor's window: loading and unloading, the tree.
#include "AuthorityEditor.h"

#include "AuthorityTree.h"
#include "AuthorityEditorLayout.h"
#include "AuthorityEditorToolbar.h"
#include "RightsFollower.h"
#include "RightsGrid.h"
#include "forms/FormSlot.h"
#include "forms/WindowHelpers.h"
#include "suite/controls/SuperGrid.h"

#include <QAction>
#include <QSignalBlocker>
#include <QTableView>
#include <QTreeWidget>
#include <utility>

using namespace depotbase;

FrmAuthority::FrmAuthority(const AuthorityContext &inputs, QWidget *parent)
    : QDialog(parent), m_account(inputs.account), m_data(m_account), m_widgets(laidOut(*this)),
      m_rows(*m_widgets.grid, m_account, inputs.readOnly,
             [this](const QString &text) { stop(text); }),
      m_editing(*m_widgets.grid, m_rows, m_data, m_account,
                {this, [this](const std::function<bool()> &step) { return trap(step); },
                 [this] { return checkRowBeforeLeaving(); }})
{
    // A click runs the node click; the arrows and typing do too, without a
    // mouse.
    m_widgets.tree->onNodeChosen([this](QTreeWidgetItem *node) { NodeClick(node); });
    // A click in the grid, or the grid reached with the keys, enables delete.
    connect(m_widgets.grid, &SuperGrid::Click, this,
            [this] { enableCommand(QStringLiteral("delbut"), true); });
    m_widgets.grid->view()->installEventFilter(this);
}

editorlayout::Widgets FrmAuthority::laidOut(FrmAuthority &window)
{
    Q_INIT_RESOURCE(depotbase);
    window.setObjectName(QStringLiteral("FrmAuthority"));
    window.setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    return editorlayout::build(window);
}

FrmAuthority::~FrmAuthority() = default;

void FrmAuthority::ShowEditor()
{
    // An editor that cannot be read is not shown; the error is told.
    trap([this] {
        showModalForm(*this, [this] { Form_Load(); }, [this] { Form_Unload(); });
        return true;
    });
}

void FrmAuthority::Form_Load()
{
    setProperty("HelpContextID", HelpContext);
    ImageList1 = editorlayout::images();
    SuperGrid &grid = *m_widgets.grid;
    QWidget::setTabOrder(m_widgets.tree, grid.view());
    editortoolbar::build(*m_widgets.toolbar, ImageList1, grid.view(),
                         [this](const QString &key) { TbarClick(key); });
    // Followed before any node's rights are read.
    startFollowing();
    m_data.open();
    m_loader = std::make_unique<NodeRightsLoader>(
        m_account, *this,
        [this](const NodeRightsLoader::Result &loaded) { showLoadedNode(loaded); });
    authoritytree::fill(*m_widgets.tree, m_data.operators(), m_data.warehouses(), ImageList1);
    rightsgrid::prepare(grid, m_rows.node.kind, editorlayout::gridWidthTwips(*this, grid));

    setWindowTitle(m_rows.readOnly() ? QStringLiteral("权限配置窗口（只读）")
                                       : QStringLiteral("权限配置窗口"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
    CentreOnScreen(this);
    m_rows.curRow = 1;
    enableCommand(QStringLiteral("addbut"), false);
    enableCommand(QStringLiteral("delbut"), false);
    m_loaded = true;
    m_widgets.tree->setFocus();
    if (m_start)
        showStartRight();
}

void FrmAuthority::showStartRight()
{
    const RightToShow right = *std::exchange(m_start, std::nullopt);
    QTreeWidgetItem *operatorNode = node(QStringLiteral("c") + right.operatorCode);
    if (!operatorNode)
        return;
    // The node is chosen here, not by the tree's signal: that one waits for
    // the mouse button that opened the editor to be let go.
    {
        const QSignalBlocker quiet(m_widgets.tree);
        m_widgets.tree->setCurrentItem(operatorNode);
    }
    NodeClick(operatorNode);
    if (m_nodeLoad != 0 && m_rows.node.kind == services::NodeKind::Operator
        && m_rows.node.code == right.operatorCode)
        m_rightToMakeCurrent = right;
}

void FrmAuthority::Form_Unload()
{
    m_loaded = false;
    m_follower.reset();
    // Waits for the worker, which closes its login; a result still posted
    // to the window is dropped as no load is waited for any more.
    m_loader.reset();
    m_nodeLoad = 0;
    m_rightToMakeCurrent.reset();
    m_data.close();
    m_editing.unload();
}

QTreeWidgetItem *FrmAuthority::node(const QString &key) const
{
    return authoritytree::find(*m_widgets.tree, key);
}

void FrmAuthority::showHelp()
{
    ShowHelpPage(this, HelpContext);
}
