// The authority list: loading, the grid and its fill, unloading.
#include "AuthorityList.h"

#include "AuthorityFilter.h"
#include "RightsFollower.h"
#include "data/Catalogue.h"
#include "data/ModuleState.h"
#include "data/UserErrors.h"
#include "forms/FormSlot.h"
#include "forms/ToolbarButtons.h"
#include "forms/ToolbarShortcuts.h"
#include "forms/WindowHelpers.h"
#include "services/DatabaseFailure.h"
#include "suite/controls/SuperGrid.h"
#include "suite/controls/Twips.h"
#include "suite/modal/ModalSeam.h"
#include "suite/report/RTPrn.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QToolBar>
#include <QVBoxLayout>
#include <array>

using namespace depotbase;

namespace {

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
    : QDialog(parent), m_inputs(inputs), m_toolbar(CreateListToolbar(this)),
      m_grid(new SuperGrid(this)), m_rows(*m_grid), m_queries(m_inputs.context.account.login())
{
    setObjectName(QStringLiteral("FrmWHAuth"));
    setWindowFlags(Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    // As wide as the warehouse list, so every column reads in full.
    resize(ListWindowSize(QSize(18900, 9600) / controls::twipsPerPixel));
    m_grid->setObjectName(QStringLiteral("SpGrdWAuth"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_grid, 1);

    // The list is read-only: a double click opens the editor on that row's right.
    connect(m_grid, &SuperGrid::DblClick, this, [this] {
        const int row = m_grid->MouseRow();
        runGuarded([this, row] { editRights(m_rows.rightOfRow(row)); });
    });
}

FrmWHAuth::~FrmWHAuth() = default;

services::ChangeFeed::Following *FrmWHAuth::following() const
{
    return m_follower ? &m_follower->following() : nullptr;
}

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
    // Followed before the rights are read, so no change after the reading is
    // missed. Changes wait while a command runs or a dialog is over the list.
    m_follower = std::make_unique<RightsFollower>(
        m_inputs.context.account,
        [this] {
            const QWidget *modal = QApplication::activeModalWidget();
            return m_commandsRunning > 0 || (modal && modal != this);
        },
        [this](const TouchedRights &touched) { return showChanges(touched); });
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
    // The grid has its place in the window now; its width gives the columns'.
    layout()->activate();
    m_rows.setup(m_grid->width() * controls::twipsPerPixel);
    m_rows.show(*rsAuthList);
    toolbarButton(QStringLiteral("TlbEdit"))->setEnabled(true);
    m_filtered = false;
    showListState();
    m_loaded = true;
    m_grid->setFocus();
}

void FrmWHAuth::Form_Activate()
{
    if (m_loaded)
        m_rows.colourNameColumn();
}

void FrmWHAuth::Form_Unload()
{
    m_follower.reset();
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

TouchedRights FrmWHAuth::showChanges(const TouchedRights &touched)
{
    const bool shown = services::guarded(
        [&] {
            QSet<long long> rights = touched.rights;
            for (const long long autoId : m_rows.rightsOnWarehouses(touched.warehouses))
                rights.insert(autoId);
            const services::RightsFilter filter =
                m_filtered ? m_shownFilter : services::RightsFilter{};
            m_rows.takeStored(rights,
                              m_queries.rightsByAutoIds({rights.begin(), rights.end()}, filter));
            showListState();
        },
        // The list goes on with what it shows.
        [](const services::DatabaseFailure &) {});
    return shown ? TouchedRights{} : touched;
}

void FrmWHAuth::showListState()
{
    const int shown = m_grid->Rows() - 1;
    setWindowTitle(LoadResString(text::WarehouseRights)
                   + (m_filtered ? QStringLiteral("（已过滤：显示 %1 条权限）")
                                 : QStringLiteral("（共 %1 条权限）"))
                         .arg(shown));
}
