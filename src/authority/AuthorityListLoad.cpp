// The authority list: loading, the grid and its fill, unloading.
#include "AuthorityList.h"

#include "AuthorityFilter.h"
#include "data/Catalogue.h"
#include "data/ModuleState.h"
#include "data/UserErrors.h"
#include "forms/DataSetGridSource.h"
#include "forms/FormSlot.h"
#include "forms/ToolbarButtons.h"
#include "forms/ToolbarShortcuts.h"
#include "forms/WindowHelpers.h"
#include "services/DatabaseFailure.h"
#include "services/RightsList.h"
#include "suite/controls/GridColors.h"
#include "suite/controls/SuperGrid.h"
#include "suite/controls/Twips.h"
#include "suite/modal/ModalSeam.h"
#include "suite/report/RTPrn.h"

#include <QAction>
#include <QKeyEvent>
#include <QToolBar>
#include <QVBoxLayout>
#include <array>
#include <cmath>

using namespace depotbase;

namespace {

constexpr int NameColumn = 2;
constexpr int ShowMoneyColumn = 3;
constexpr int ColumnCount = 10;

// Grid columns: title and the data set's field, in column order.
struct AuthColumn {
    const char *title;
    const char *field;
};

constexpr std::array<AuthColumn, ColumnCount> Columns{{
    {"操作员", "cuser_name"},
    {"仓库编码", "cWhCode"},
    {"仓库名称", "cWhName"},
    {"显示金额", "bDispMoney"},
    {"", "Id"},
    {"存货分类编码", "cInvCCode"},
    {"存货分类名称", "cInvCName"},
    {"存货编码", "cInvCode"},
    {"存货名称", "cInvName"},
    {"规格型号", "cInvStd"},
}};

// Pictures of ImageList1 in list order (index 1 to 14).
constexpr std::array<const char *, 14> Pictures{
    "imgAdd",   "imgDel",  "imgEdit", "imgFind",    "imgFilter", "imgRefresh", "imgFont",
    "imgPrint", "imgHelp", "imgExit", "imgPreview", "imgOutput", "imgPSetup", "imgHistory",
};

// Positions 5, 8 and 12 are separators.
constexpr std::array<ToolbarButton, 14> Buttons{{
    {"TlbPSetup", 13, text::Setup, text::PrintSetup},
    {"TlbPrint", 8, text::Print, text::Print},
    {"TlbPreview", 11, text::Preview, text::Preview},
    {"TlbOutput", 12, text::Output, text::Output},
    {nullptr, 0, 0, 0},
    {"TlbEdit", 3, text::EditRights, text::EditRights},
    {"TlbHistory", 14, text::HistoryCaption, text::HistoryCaption},
    {nullptr, 0, 0, 0},
    {"TlbFind", 4, text::Locate, text::Locate},
    {"TlbFilter", 5, text::Filter, text::Filter},
    {"TlbRefresh", 6, text::Refresh, text::Refresh},
    {nullptr, 0, 0, 0},
    {"TlbHelp", 9, text::Help, text::Help},
    {"TlbExit", 10, text::Exit, text::Exit},
}};

} // namespace

FrmWHAuth::FrmWHAuth(const AuthListInputs &inputs, QWidget *parent)
    : QDialog(parent), m_inputs(inputs), m_queries(m_inputs.context.account.login())
{
    setObjectName(QStringLiteral("FrmWHAuth"));
    setWindowFlags(Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    // As wide as the warehouse list, so every column reads in full.
    resize(ListWindowSize(QSize(18900, 9600) / controls::twipsPerPixel));

    m_toolbar = CreateListToolbar(this);

    m_grid = new SuperGrid(this);
    m_grid->setObjectName(QStringLiteral("SpGrdWAuth"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_grid, 1);

    // The list is read-only: a double click opens the editor on that row's right.
    connect(m_grid, &SuperGrid::DblClick, this, [this] {
        const int row = m_grid->MouseRow();
        runGuarded([this, row] { editRights(rightOfRow(row)); });
    });
}

FrmWHAuth::~FrmWHAuth() = default;

QAction *FrmWHAuth::toolbarButton(const QString &key) const
{
    return ToolbarAction(*m_toolbar, key);
}

void FrmWHAuth::ShowList()
{
    services::guarded(
        [this] { showModalForm(*this, [this] { Form_Load(); }, [this] { Form_Unload(); }); },
        [this](const services::DatabaseFailure &failure) {
            // A list that cannot be read is not shown.
            refuse(depotbase::UserErrorText(QStringLiteral("仓库权限列表未能读取，请稍后重试；"
                                                           "如仍不成功，请与系统管理员联系。"),
                                            failure.number, failure.description));
        });
}

void FrmWHAuth::Form_Load()
{
    setProperty("HelpContextID", HelpContext);
    rsAuthList = m_queries.rightsList();
    // The whole rights table served only editing in the list's cells, and the
    // operator and warehouse sets only those cells' checks and references;
    // the list offers no such editing, so none of them is read.
    printDb = OpenPrintWorkDb(SystemFolder(), QString::fromLatin1(AuthorityListPrintFile), this);

    setWindowTitle(LoadResString(text::WarehouseRights));
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
    CentreOnScreen(this);

    LoadAuthToolbarImages();
    BuildAuthToolbar();
    SetupAuthGrid();
    m_grid->setRows(1);
    m_grid->setRedraw(false);
    FillAuthGrid(*rsAuthList);
    m_grid->setRedraw(true);
    toolbarButton(QStringLiteral("TlbEdit"))->setEnabled(true);
    m_filtered = false;
    showListState();
    m_loaded = true;
    m_grid->setFocus();
}

void FrmWHAuth::Form_Activate()
{
    if (m_loaded)
        colourNameColumn();
}

void FrmWHAuth::Form_Unload()
{
    rsAuthList.reset();
    m_grid->setRows(1);
    printDb.reset();
    m_loaded = false;
}

void FrmWHAuth::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void FrmWHAuth::keyPressEvent(QKeyEvent *event)
{
    // As in the warehouse list, Esc does not close the list: 退出 and
    // Alt+F4 do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    const QString command = CommandOfKey(*event, SharedListShortcuts);
    QAction *button = command.isEmpty() ? nullptr : toolbarButton(command);
    if (!button || !button->isEnabled()) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    ReportHost &printHost = m_inputs.printHost;
    if (command == QLatin1String("TlbPrint") && printHost.control)
        printHost.control->SetPrintConfirmation(
            KeyedPrintConfirmation(this, QStringLiteral("权限列表")));
    OnToolbarCommand(command);
    if (printHost.control)
        printHost.control->SetPrintConfirmation({});
}

void FrmWHAuth::LoadAuthToolbarImages()
{
    ImageList1 = LoadToolbarPictures(Pictures);
}

void FrmWHAuth::BuildAuthToolbar()
{
    BuildToolbar(*m_toolbar, ImageList1, Buttons,
                 [this](const QString &key) { OnToolbarCommand(key); });
    NameShortcutsInToolTips(*m_toolbar, SharedListShortcuts);
}

void FrmWHAuth::SetupAuthGrid()
{
    m_grid->setCols(ColumnCount);
    // The grid has its place in the window now; its width gives the columns'.
    layout()->activate();
    const int width = m_grid->width() * controls::twipsPerPixel;
    // Shares of the width by what a column holds, so all nine columns show
    // at once; the operator code (column 4) stays hidden.
    constexpr std::array<int, ColumnCount> shares{10, 8, 14, 7, 0, 10, 13, 11, 16, 10};
    for (int col = 0; col < ColumnCount; ++col)
        m_grid->setColWidth(col, width * shares[size_t(col)] / 100);
    for (int col : {1, 2}) {
        m_grid->setColKind(col, SuperGrid::KindText);
        m_grid->setColFlag(col, 1);
        m_grid->setColEditStyle(col, SuperGrid::EditButton);
        m_grid->setColLength(col, 10);
    }
    for (int col = 0; col < ColumnCount; ++col)
        m_grid->setTextMatrix(0, col, QString::fromUtf8(Columns[size_t(col)].title));
}

namespace {

// The show-money flag as the list shows it: Null says "否" like false.
QString showMoneyText(const QVariant &flag)
{
    return !flag.isNull() && flag.toInt() != 0 ? QStringLiteral("是") : QStringLiteral("否");
}

} // namespace

void FrmWHAuth::FillAuthGrid(const dbkit::DbDataSet &rows)
{
    const int count = services::rightslist::count(rows);
    if (count == 0)
        return;
    std::vector<const char *> names;
    for (const AuthColumn &column : Columns)
        names.push_back(column.field);
    const std::vector<int> fields = services::rightslist::fieldPositions(rows, names);
    std::vector<DataSetGridSource::Column> columns(ColumnCount);
    for (int col = 0; col < ColumnCount; ++col)
        columns[size_t(col)] = {fields[size_t(col)],
                                col == ShowMoneyColumn ? &showMoneyText : nullptr};
    // The rows are read from the rows set's rows without a copy.
    colourNameColumn();
    const int first = m_grid->Rows();
    m_grid->setRows(first + count);
    m_grid->showSource(first, std::make_shared<DataSetGridSource>(rows, std::move(columns)));
    // The first right is the current one, with the view at the left edge.
    if (m_grid->Rows() > 1) {
        m_grid->setCol(0);
        m_grid->setRow(1);
    }
}

void FrmWHAuth::showListState()
{
    const int shown = m_grid->Rows() - 1;
    setWindowTitle(LoadResString(text::WarehouseRights)
                   + (m_filtered ? QStringLiteral("（已过滤：显示 %1 条权限）")
                                 : QStringLiteral("（共 %1 条权限）"))
                         .arg(shown));
}

void FrmWHAuth::colourNameColumn()
{
    m_grid->setColBackColor(NameColumn, controls::nameCellColor);
}
