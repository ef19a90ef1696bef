// The authority editor's window: loading, the tree, the node click and the
// grid's fill.
#include "FrmAuthority.h"

#include "AuthorityStatements.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "forms/FormSlot.h"
#include "forms/WindowHelpers.h"
#include "suite/controls/GridColors.h"
#include "suite/controls/RefDialog.h"
#include "suite/controls/SuperGrid.h"
#include "suite/controls/Twips.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <vector>

using namespace depotbase;

namespace {

// The window's first size and the tree's share of it.
constexpr int WindowWidth = 960;
constexpr int TreeWidth = 220;
constexpr int KeyRole = Qt::UserRole;

} // namespace

FrmAuthority::FrmAuthority(const AuthorityContext &inputs, QWidget *parent)
    : QDialog(parent), m_login(inputs.login), m_readOnly(inputs.readOnly)
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
        showDbError(e);
    }
}

void FrmAuthority::Form_Load()
{
    setProperty("HelpContextID", HelpContext);
    rsAuth = m_login->OpenDataSet(authority::authTableStatement(),
                                  m_readOnly ? dbkit::OpenMode::ReadOnly
                                             : dbkit::OpenMode::Default);
    ImageList1.clear();
    for (const char *key : {"trchild", "trroot", "imgAdd", "imgDel", "imgHelp", "imgExit"})
        ImageList1.push_back(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(key))));
    buildToolbar();
    // The rights are read per node when one is clicked.
    LoadTree();
    setupGrid();

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
    rsAuth.reset();
    refInv.reset();
}

void FrmAuthority::LoadTree()
{
    rsUsers = m_login->OpenDataSet(authority::operatorSetStatement());
    rsWarehouses = m_login->OpenDataSet(authority::warehouseSetStatement());
    m_tree->clear();
    const auto addRoot = [this](const QString &key, const QString &text) {
        auto *root = new QTreeWidgetItem(m_tree, {text});
        root->setData(0, KeyRole, key);
        root->setIcon(0, ImageList1.at(1));
        return root;
    };
    const auto addChildren = [this](QTreeWidgetItem *root, dbkit::DbDataSet &data) {
        QList<QTreeWidgetItem *> children;
        const QString prefix = root->data(0, KeyRole).toString();
        for (data.MoveFirst(); !data.Eof(); data.MoveNext()) {
            const QString code = NullToEmpty(data.Fields(0));
            auto *child = new QTreeWidgetItem(
                {QLatin1Char('(') + code + QLatin1Char(')') + NullToEmpty(data.Fields(1))});
            child->setData(0, KeyRole, prefix + code);
            child->setIcon(0, ImageList1.at(0));
            children.push_back(child);
        }
        root->addChildren(children);
        root->setExpanded(true);
    };
    QTreeWidgetItem *operators = addRoot(QStringLiteral("c"), QStringLiteral("操作员"));
    QTreeWidgetItem *warehouses = addRoot(QStringLiteral("s"), QStringLiteral("仓库"));
    addChildren(operators, *rsUsers);
    addChildren(warehouses, *rsWarehouses);
    rsClasses = m_login->OpenDataSet(authority::classSetStatement());
}

QTreeWidgetItem *FrmAuthority::node(const QString &key) const
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *root = m_tree->topLevelItem(i);
        if (root->data(0, KeyRole).toString() == key)
            return root;
        if (!key.startsWith(root->data(0, KeyRole).toString()))
            continue;
        for (int c = 0; c < root->childCount(); ++c)
            if (root->child(c)->data(0, KeyRole).toString() == key)
                return root->child(c);
    }
    return nullptr;
}

void FrmAuthority::setupGrid()
{
    m_grid->setCols(ColumnCount);
    m_grid->setRows(1);
    writeTitles();
    layout()->activate();
    // Before its first showing the splitter has not placed the grid yet, so
    // the grid's width is the one the splitter is going to give it.
    const int splitterHandle = style()->pixelMetric(QStyle::PM_SplitterWidth);
    const int gridWidth =
        m_grid->isVisible() ? m_grid->width() : width() - TreeWidth - splitterHandle;
    const int quarter = int(std::lround(gridWidth * controls::twipsPerPixel / 4.0));
    for (int c : {0, 1, 3})
        m_grid->setColWidth(c, quarter);
    for (int c = ColClass; c <= ColInvStd; ++c)
        m_grid->setColWidth(c, m_grid->ColWidth(ColShowMoney));
    m_grid->setColWidth(ColAutoId, 0);
    for (int c : {ColShowMoney, ColOther, ColClass})
        m_grid->setColEditStyle(c, SuperGrid::EditDropDown);
    m_grid->setColEditStyle(ColInv, SuperGrid::EditButton);
    m_grid->setColLength(ColClass, 12);
    m_grid->setColLength(ColInv, 20);
    m_grid->setColLength(ColOther, 20);
    // The name cells a row fills itself are painted in this colour and
    // cannot be typed into.
    m_grid->setLockBackColor(controls::nameCellColor);
    for (int c : {0, 1, 4, 5, 6, 7, 8})
        m_grid->setColFlag(c, 1);
    m_grid->setEditable(true);
}

void FrmAuthority::writeTitles()
{
    const bool operatorView = nodeKind == 0;
    const QStringList titles{
        operatorView ? QStringLiteral("仓库代码") : QStringLiteral("操作员代码"),
        operatorView ? QStringLiteral("仓库名称") : QStringLiteral("操作员名称"),
        QString(),
        QStringLiteral("显示金额"),
        QStringLiteral("存货分类编码"),
        QStringLiteral("存货分类名称"),
        QStringLiteral("存货编码"),
        QStringLiteral("存货名称"),
        QStringLiteral("规格型号")};
    for (int c = 0; c < ColumnCount; ++c)
        m_grid->setTextMatrix(0, c, titles.at(c));
}

void FrmAuthority::LoadRights(const QString &nodeKey)
{
    // Only the node's own rights are read; a root has none of its own.
    rsRights.reset();
    if (nodeKey.size() > 1)
        rsRights = m_login->OpenDataSet(
            authority::rightsOfNodeStatement(nodeKey.startsWith('c') ? 0 : 1, nodeKey.mid(1)));
}

void FrmAuthority::NodeClick(QTreeWidgetItem *clicked)
{
    if (!clicked || !m_loaded)
        return;
    // A row that crosses another keeps the previous node's grid.
    if (!trap([this] { return CheckNoOverlap(curRow); }))
        return;
    toolbarButton(QStringLiteral("delbut"))->setEnabled(false);
    const QString key = clicked->data(0, KeyRole).toString();
    bool anyRight = false;
    const bool loaded = trap([&] {
        LoadRights(key);
        anyRight = rsRights && !rsRights->Eof();
        if (!anyRight) {
            dbkit::DbDataSetPtr probe =
                m_login->OpenDataSet(authority::anyRightStatement());
            anyRight = !probe->Eof() && probe->Fields(0).toInt() == 1;
        }
        return true;
    });
    if (!loaded)
        return;
    const bool isRoot = key.size() <= 1;
    nodeCode = key.mid(1);
    // The text is "(code)name": the name is what follows the code's ")".
    const QString text = clicked->text(0);
    nodeName = text.startsWith(QLatin1Char('(') + nodeCode + QLatin1Char(')'))
                   ? text.mid(nodeCode.size() + 2)
                   : text.mid(text.indexOf(QLatin1Char(')')) + 1);
    nodeKind = key.startsWith('c') ? 0 : 1;
    m_grid->setTextMatrix(0, ColOther, nodeKind == 0 ? QStringLiteral("仓库代码")
                                                     : QStringLiteral("操作员代码"));
    m_grid->setTextMatrix(0, ColOtherName, nodeKind == 0 ? QStringLiteral("仓库名称")
                                                         : QStringLiteral("操作员名称"));
    QAction *add = toolbarButton(QStringLiteral("addbut"));
    if (!anyRight) {
        // A completely empty rights table: the grid is left as it is.
        add->setEnabled(!isRoot);
        return;
    }
    m_grid->Clear();
    const int count = rsRights ? int(rsRights->RecordCount()) : 0;
    m_grid->setRows(count + 1);
    lastSavedRow = count;
    writeTitles();
    if (isRoot) {
        add->setEnabled(false);
        toolbarButton(QStringLiteral("delbut"))->setEnabled(false);
        curRow = 1;
        return;
    }
    fillRights();
    add->setEnabled(true);
    // Editing starts on the first row of the new node.
    curRow = 1;
    if (m_grid->Rows() > 1)
        m_grid->setRow(1);
}

void FrmAuthority::fillRights()
{
    const QString yes = LoadResString(25);
    const QString no = LoadResString(26);
    const int codeField = nodeKind == 0 ? 2 : 0;
    m_grid->setRedraw(false);
    int row = 1;
    for (rsRights->MoveFirst(); !rsRights->Eof(); rsRights->MoveNext(), ++row) {
        const auto text = [this](int field) { return NullToEmpty(rsRights->Fields(field)); };
        std::vector<QString> cells{text(codeField),
                                   text(codeField + 1),
                                   text(4),
                                   rsRights->Fields(5).toInt() != 0 ? yes : no,
                                   text(6),
                                   text(8),
                                   text(7),
                                   text(9),
                                   text(10)};
        m_grid->setRowTexts(row, std::move(cells));
        for (int c : NameColumns)
            m_grid->setCellBackColorAt(row, c, controls::nameCellColor);
    }
    m_grid->setRedraw(true);
}

void FrmAuthority::showHelp()
{
    ShowHelpPage(this, HelpContext);
}

void FrmAuthority::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        event->accept();
        showHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}
