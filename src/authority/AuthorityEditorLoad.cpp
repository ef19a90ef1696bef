// The authority editor's window: loading, the tree and the node click.
#include "AuthorityEditor.h"

#include "AuthorityTree.h"
#include "AuthorityEditorLayout.h"
#include "AuthorityEditorToolbar.h"
#include "InventoryReference.h"
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
    : QDialog(parent), m_account(inputs.account), m_data(m_account),
      m_commit(m_account, inputs.readOnly, [this](const QString &text) { stop(text); }),
      m_entry(m_account, m_commit, [this](const QString &text) { stop(text); })
{
    Q_INIT_RESOURCE(depotbase);
    setObjectName(QStringLiteral("FrmAuthority"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    const editorlayout::Widgets widgets = editorlayout::build(*this);
    m_toolbar = widgets.toolbar;
    m_tree = widgets.tree;
    m_grid = widgets.grid;
    // A click runs the node click; the arrows do too, without a mouse.
    authoritytree::onNodeChosen(*m_tree, *this,
                                [this](QTreeWidgetItem *node) { NodeClick(node); });
    connectGrid();
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
    QWidget::setTabOrder(m_tree, m_grid->view());
    editortoolbar::build(*m_toolbar, ImageList1, m_grid->view(),
                         [this](const QString &key) { TbarClick(key); });
    m_data.open();
    authoritytree::fill(*m_tree, m_data.operators(), m_data.warehouses(), ImageList1);
    rightsgrid::prepare(*m_grid, nodeKind, editorlayout::gridWidthTwips(*this, *m_grid));

    setWindowTitle(m_commit.readOnly() ? QStringLiteral("权限配置窗口（只读）")
                                       : QStringLiteral("权限配置窗口"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
    CentreOnScreen(this);
    curRow = 1;
    enableCommand(QStringLiteral("addbut"), false);
    enableCommand(QStringLiteral("delbut"), false);
    m_loaded = true;
    m_tree->setFocus();
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
        const QSignalBlocker quiet(m_tree);
        m_tree->setCurrentItem(operatorNode);
    }
    NodeClick(operatorNode);
    if (nodeKind != services::NodeKind::Operator || nodeCode != right.operatorCode)
        return;
    for (int row = 1; row <= lastSavedRow; ++row) {
        if (cell(row, ColOther) == right.warehouseCode && cell(row, ColClass) == right.classCode
            && cell(row, ColInv) == right.itemCode) {
            m_grid->setRow(row);
            curRow = row;
            return;
        }
    }
}

void FrmAuthority::Form_Unload()
{
    m_loaded = false;
    m_data.close();
    refInv.reset();
}

QTreeWidgetItem *FrmAuthority::node(const QString &key) const
{
    return authoritytree::find(*m_tree, key);
}

void FrmAuthority::NodeClick(QTreeWidgetItem *clicked)
{
    if (!clicked || !m_loaded)
        return;
    // A row that crosses a stored right keeps the previous node's grid.
    if (!trap([this] { return CheckNoOverlap(curRow); }))
        return;
    // A node with thousands of rights takes a while to read and show.
    const WaitCursor busy;
    enableCommand(QStringLiteral("delbut"), false);
    const QString key = authoritytree::keyOf(*clicked);
    if (!trap([&] {
            m_data.loadNode(key);
            return true;
        }))
        return;
    m_insertedRow = 0;
    const bool isRoot = key.size() <= 1;
    nodeCode = key.mid(1);
    nodeName = authoritytree::nameOf(*clicked, nodeCode);
    nodeKind = authoritytree::kindOfKey(key);
    enableCommand(QStringLiteral("addbut"), !isRoot);
    // The grid always shows the new node's rights alone, even when no right
    // is stored at all: a row left over from the previous node would be
    // stored under this one.
    curRow = 1;
    lastSavedRow = rightsgrid::show(*m_grid, m_data.nodeRights(), nodeKind);
    std::vector<GridRow> shown;
    shown.reserve(size_t(lastSavedRow));
    for (int row = 1; row <= lastSavedRow; ++row)
        shown.push_back(gridRow(row));
    m_commit.rememberRead(shown);
    // Editing starts on the first row of the new node.
    if (m_grid->Rows() > 1)
        m_grid->setRow(1);
    rightsgrid::markStoreState(*m_grid, m_grid->Row());
}

void FrmAuthority::showHelp()
{
    ShowHelpPage(this, HelpContext);
}
