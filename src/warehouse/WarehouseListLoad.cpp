// The warehouse list window: loading, activation and unloading, the grid's
// fill, and the moves through the list.
#include "WarehouseList.h"

#include "WarehouseListGrid.h"
#include "WarehouseListLayout.h"
#include "WarehouseCard.h"
#include "authority/AuthorityList.h"
#include "data/ModuleState.h"
#include "forms/WindowHelpers.h"
#include "data/Catalogue.h"
#include "services/WarehouseListRead.h"
#include "services/WarehouseListRows.h"
#include "suite/modal/ModalSeam.h"
#include "suite/controls/SuperGrid.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QIcon>
#include <QSysInfo>
#include <QTableView>

using namespace depotbase;

namespace {

constexpr int HelpContext = 31100041;
constexpr int MaxComputerNameLength = 30;

} // namespace

frmWHBrowse::frmWHBrowse()
    : m_data(mRecObject),
      m_fullRead(this, mRecObject,
                 {[this](long long rows) {
                      m_rowsRead = rows;
                      showListState();
                  },
                  [this](const QString &failure) { fullReadEnded(failure); }}),
      m_locks(this, dbs), m_printing(this), m_cards(this, m_locks),
      m_following({[this] { return busyForChanges(); },
                   [this](const ChangedWarehouses &changed) {
                       return showChangedWarehouses(changed);
                   }})
{
    Q_INIT_RESOURCE(depotbase);
    setObjectName(QStringLiteral("frmWHBrowse"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(listlayout::initialSize());

    buildControls(this);

    connect(m_grid, &SuperGrid::DblClick, this, [this] { OnToolbarCommand("TlbEdit"); });
    // A title click sorts every row: a list still being read is read first.
    connect(m_grid, &SuperGrid::MouseDown, this, [this](int, int, int, int) {
        if (m_grid->MouseRow() != 0 || m_fullRead.waitForEnd())
            listgrid::sortByTitleClick(*m_grid);
    });
    // The title counts the rows as they come and go, also while the card
    // adds warehouses or a delete removes them.
    QAbstractItemModel *rows = m_grid->view()->model();
    const auto countRows = [this] {
        if (m_loaded)
            showListState();
    };
    connect(rows, &QAbstractItemModel::rowsInserted, this, countRows);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, countRows);
    connect(rows, &QAbstractItemModel::modelReset, this, countRows);
}

frmWHBrowse::~frmWHBrowse() = default;

LockVouchDLL &frmWHBrowse::bLock()
{
    return m_locks.lockObject();
}

bool frmWHBrowse::isReadOnly() const
{
    return mRecObject && services::warehouse_list::isReadOnly(*mRecObject);
}

void frmWHBrowse::ShowList()
{
    showModalForm(*this, [this] { Form_Load(); }, [this] {
        if (m_loaded)
            Form_Unload();
    });
}

void frmWHBrowse::Form_Load()
{
    setProperty("HelpContextID", HelpContext);
    PCName = QSysInfo::machineHostName().left(MaxComputerNameLength);
    m_printing.open();

    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
    CentreOnScreen(this);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_waitCursor = true;

    loadControls(blnBasicVersion, isReadOnly(),
                 [this](const QString &key) { OnToolbarCommand(key); });
    followChanges();
    m_data.showAll(*m_grid);
    m_loaded = true;
    showListState();
    m_fullRead.follow();
    // Changes that came since the rows were read.
    m_following.showWhenFree();
    layoutControls(size());
    // The grid has the focus when the window opens: the arrows move the rows.
    m_grid->setFocus();
}

void frmWHBrowse::Form_Activate()
{
    if (m_waitCursor) {
        QApplication::restoreOverrideCursor();
        m_waitCursor = false;
    }
    prepareTitleLabels(width());
    // Changes kept while another window was over the list.
    m_following.showWhenFree();
}

void frmWHBrowse::Form_Unload()
{
    // Closing cancels a read still under way and ends the following.
    m_fullRead.stop();
    m_following.stop();
    if (m_waitCursor) {
        QApplication::restoreOverrideCursor();
        m_waitCursor = false;
    }
    mRecObject.reset();
    // The rows go with the window: a later load starts from an empty grid
    // and the memory is given back now.
    m_grid->setRows(1);
    m_printing.close();
    m_loaded = false;
}

void frmWHBrowse::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    layoutControls(size());
}

void frmWHBrowse::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    qApp->installEventFilter(this);
    Form_Activate();
}

void frmWHBrowse::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

using Move = services::warehouse_list::Move;

bool frmWHBrowse::FCur() { return moveBy(Move::Current); }
bool frmWHBrowse::FFirst() { return moveBy(Move::First); }
bool frmWHBrowse::FLast() { return moveBy(Move::Last); }
bool frmWHBrowse::FPrevious() { return moveBy(Move::Previous); }
bool frmWHBrowse::FNext() { return moveBy(Move::Next); }

// A move reads the whole list again: one still being read is read first.
bool frmWHBrowse::moveBy(Move move)
{
    return m_fullRead.waitForEnd() && m_data.position(*m_grid, move);
}

void frmWHBrowse::followFullRead(std::unique_ptr<services::warehouse_list::FullRead> read)
{
    m_rowsRead = 0;
    m_fullRead.hold(std::move(read));
}

void frmWHBrowse::fullReadEnded(const QString &failure)
{
    if (!failure.isEmpty()) {
        // The window goes on with the rows it shows.
        modal::message(this, QStringLiteral("仓库档案未能全部读取：") + failure,
                       modal::Icon::Critical, modal::Buttons::Ok,
                       LoadResString(text::MessageCaption));
        showListState();
        m_following.showWhenFree();
        return;
    }
    const int row = m_grid->Row();
    const int rowSel = m_grid->RowSel();
    const int top = m_grid->TopRow();
    m_data.showAll(*m_grid);
    m_grid->setTopRow(top);
    m_grid->setRow(row);
    m_grid->setRowSel(rowSel);
    showListState();
    // Changes kept while the rows were read; those the read already holds
    // are shown again as they are.
    m_following.showWhenFree();
}

void frmWHBrowse::Fclose()
{
    qApp->removeEventFilter(this);
    if (isVisible())
        done(QDialog::Accepted);
    if (m_loaded)
        Form_Unload();
}

