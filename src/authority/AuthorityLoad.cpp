// The authority editor's window: loading, the tree and the node click.
#include "FrmAuthority.h"

#include "AuthorityStatements.h"
#include "AuthorityTree.h"
#include "EditorToolbar.h"
#include "RightsGrid.h"
#include "forms/FormSlot.h"
#include "forms/WindowHelpers.h"
#include "suite/controls/RefDialog.h"
#include "suite/controls/SuperGrid.h"
#include "suite/controls/Twips.h"
#include "suite/dbkit/DbError.h"

#include <QAction>
#include <QApplication>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

using namespace depotbase;

namespace {

// The window's first size and the tree's share of it.
constexpr int WindowWidth = 960;
constexpr int TreeWidth = 220;

} // namespace

FrmAuthority::FrmAuthority(const AuthorityContext &inputs, QWidget *parent)
    : QDialog(parent), m_login(inputs.login), m_rights(*m_login), m_readOnly(inputs.readOnly)
{
    Q_INIT_RESOURCE(depotbase);
    setObjectName(QStringLiteral("FrmAuthority"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(WindowWidth, 600);
    buildControls();
}

FrmAuthority::~FrmAuthority() = default;

void FrmAuthority::buildControls()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Tbar"));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setIconSize(QSize(24, 24));
    m_toolbar->setMovable(false);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("authTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);

    m_grid = new SuperGrid(this);
    m_grid->setObjectName(QStringLiteral("authGrid"));

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_tree);
    splitter->addWidget(m_grid);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({TreeWidth, WindowWidth - TreeWidth});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(splitter, 1);

    // A click runs the node click; the arrows do too, without a mouse.
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { NodeClick(item); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *item) { nodeClickFromKeyboard(item); });
    connectGrid();
}

bool FrmAuthority::nodeClickFromKeyboard(QTreeWidgetItem *node)
{
    // A mouse press changes the current node too; its click follows.
    if (!node || !m_loaded || QApplication::mouseButtons() != Qt::NoButton)
        return false;
    NodeClick(node);
    return true;
}

void FrmAuthority::ShowEditor()
{
    try {
        showModalForm(*this, [this] { Form_Load(); }, [this] { Form_Unload(); });
    } catch (const dbkit::DbError &e) {
        // An editor that cannot be read is not shown.
        stop(e.description());
    }
}

void FrmAuthority::Form_Load()
{
    setProperty("HelpContextID", HelpContext);
    ImageList1.clear();
    for (const char *key : {"trchild", "trroot", "imgAdd", "imgDel", "imgHelp", "imgExit"})
        ImageList1.push_back(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(key))));
    QWidget::setTabOrder(m_tree, m_grid->view());
    editortoolbar::build(*m_toolbar, ImageList1, m_grid->view(),
                         [this](const QString &key) { TbarClick(key); });
    // The rights are read per node when one is clicked.
    rsUsers = m_login->OpenDataSet(authority::operatorSetStatement());
    rsWarehouses = m_login->OpenDataSet(authority::warehouseSetStatement());
    authoritytree::fill(*m_tree, *rsUsers, *rsWarehouses, ImageList1);
    rsClasses = m_login->OpenDataSet(authority::classSetStatement());

    m_grid->setCols(ColumnCount);
    m_grid->setRows(1);
    rightsgrid::writeTitles(*m_grid, nodeKind);
    layout()->activate();
    // Before its first showing the splitter has not placed the grid yet, so
    // the grid's width is the one the splitter is going to give it.
    const int gridWidth = m_grid->isVisible()
                              ? m_grid->width()
                              : width() - TreeWidth - style()->pixelMetric(QStyle::PM_SplitterWidth);
    rightsgrid::setupColumns(*m_grid, int(std::lround(gridWidth * controls::twipsPerPixel)));

    setWindowTitle(QStringLiteral("权限配置窗口"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
    CentreOnScreen(this);
    curRow = 1;
    toolbarButton(QStringLiteral("addbut"))->setEnabled(false);
    toolbarButton(QStringLiteral("delbut"))->setEnabled(false);
    m_loaded = true;
    m_tree->setFocus();
}

void FrmAuthority::Form_Unload()
{
    m_loaded = false;
    rsRights.reset();
    rsUsers.reset();
    rsWarehouses.reset();
    rsClasses.reset();
    refInv.reset();
}

QTreeWidgetItem *FrmAuthority::node(const QString &key) const
{
    return authoritytree::find(*m_tree, key);
}

void FrmAuthority::LoadRights(const QString &nodeKey)
{
    // Only the node's own rights are read; a root has none of its own.
    rsRights.reset();
    if (nodeKey.size() > 1)
        rsRights = m_login->OpenDataSet(
            authority::rightsOfNodeStatement(nodeKey.startsWith('c') ? 0 : 1, nodeKey.mid(1)));
}

bool FrmAuthority::anyRightStored()
{
    if (rsRights && !rsRights->Eof())
        return true;
    dbkit::DbDataSetPtr probe = m_login->OpenDataSet(authority::anyRightStatement());
    return !probe->Eof() && probe->Fields(0).toInt() == 1;
}

void FrmAuthority::NodeClick(QTreeWidgetItem *clicked)
{
    if (!clicked || !m_loaded)
        return;
    // A row that crosses a stored right keeps the previous node's grid.
    if (!trap([this] { return CheckNoOverlap(curRow); }))
        return;
    toolbarButton(QStringLiteral("delbut"))->setEnabled(false);
    const QString key = authoritytree::keyOf(*clicked);
    bool anyRight = false;
    if (!trap([&] {
            LoadRights(key);
            anyRight = anyRightStored();
            return true;
        }))
        return;
    m_insertedRow = 0;
    const bool isRoot = key.size() <= 1;
    nodeCode = key.mid(1);
    nodeName = authoritytree::nameOf(*clicked, nodeCode);
    nodeKind = key.startsWith('c') ? 0 : 1;
    QAction *add = toolbarButton(QStringLiteral("addbut"));
    rightsgrid::writeTitles(*m_grid, nodeKind);
    if (!anyRight) {
        // A completely empty rights table: the grid is left as it is.
        add->setEnabled(!isRoot);
        return;
    }
    m_grid->Clear();
    const int count = rsRights ? int(rsRights->RecordCount()) : 0;
    m_grid->setRows(count + 1);
    lastSavedRow = count;
    rightsgrid::writeTitles(*m_grid, nodeKind);
    curRow = 1;
    add->setEnabled(!isRoot);
    if (isRoot)
        return;
    rightsgrid::fill(*m_grid, *rsRights, nodeKind);
    // Editing starts on the first row of the new node.
    if (m_grid->Rows() > 1)
        m_grid->setRow(1);
}

void FrmAuthority::showHelp()
{
    ShowHelpPage(this, HelpContext);
}
