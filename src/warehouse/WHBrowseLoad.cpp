// The warehouse list window: loading, layout, grid set-up and fill, and the
// moves through the list.
#include "frmWHBrowse.h"

#include "ListColumns.h"
#include "WarehouseStatements.h"
#include "frmWHCard.h"
#include "authority/FrmWHAuth.h"
#include "filter/frmFilter.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "data/ModuleState.h"
#include "services/WarehouseService.h"
#include "forms/ToolbarButtons.h"
#include "forms/WindowHelpers.h"
#include "suite/controls/SuperGrid.h"
#include "suite/controls/Twips.h"
#include "suite/locks/LockVouchDLL.h"
#include "suite/modal/ModalSeam.h"

#include <QApplication>
#include <QDate>
#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QSysInfo>
#include <QToolBar>
#include <algorithm>
#include <array>

using namespace depotbase;

namespace {

constexpr int HelpContext = 31100041;
constexpr int MaxComputerNameLength = 30;

int pixels(int twips)
{
    return twips / controls::twipsPerPixel;
}

} // namespace

frmWHBrowse::frmWHBrowse()
{
    Q_INIT_RESOURCE(depotbase);
    setObjectName(QStringLiteral("frmWHBrowse"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    // Wide enough for every column of the list, within the screen.
    QSize size(pixels(18900), pixels(9600));
    if (const QScreen *screen = QApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);

    m_toolbar = CreateListToolbar(this);

    m_grid = new SuperGrid(this);
    m_grid->setObjectName(QStringLiteral("SpGrdWH"));

    lblTitle1 = new QLabel(this);
    lblTitle1->setObjectName(QStringLiteral("lblTitle1"));
    lblTitle2 = new QLabel(this);
    lblTitle2->setObjectName(QStringLiteral("lblTitle2"));
    lblTitle1->hide();
    lblTitle2->hide();

    connect(m_grid, &SuperGrid::DblClick, this, [this] { OnToolbarCommand("TlbEdit"); });
    connect(m_grid, &SuperGrid::MouseDown, this,
            [this](int button, int shift, int x, int y) { onGridMouseDown(button, shift, x, y); });
}

frmWHBrowse::~frmWHBrowse() = default;

LockVouchDLL &frmWHBrowse::bLock()
{
    if (!m_lock)
        m_lock = std::make_unique<LockVouchDLL>();
    return *m_lock;
}

bool frmWHBrowse::isReadOnly() const
{
    return mRecObject && mRecObject->openMode() == dbkit::OpenMode::ReadOnly;
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
    openPrintWork();

    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
    CentreOnScreen(this);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_waitCursor = true;

    LoadToolbarImages();
    BuildListToolbar();
    // The toolbar's height with its buttons, for the layout.
    m_toolbarHeight = m_toolbar->sizeHint().height();
    SetupListGrid();

    // The window object outlives its loads: each load starts from a grid
    // that shows its selection, as a newly made one does, whatever an empty
    // list did to it last time.
    m_grid->setHighLight(1);
    m_grid->setFocusRect(1);
    showSelection(true);
    m_grid->setRows(1);
    m_grid->setRedraw(false);
    if (mRecObject)
        FillListGrid(*mRecObject);
    m_grid->setRedraw(true);
    m_filtered = false;
    m_loaded = true;
    showListState();
    layoutControls();
    // The grid has the focus when the window opens: the arrows move the rows.
    m_grid->setFocus();
}

void frmWHBrowse::Form_Activate()
{
    if (m_waitCursor) {
        QApplication::restoreOverrideCursor();
        m_waitCursor = false;
    }
    prepareTitleLabels();
}

void frmWHBrowse::prepareTitleLabels()
{
    QFont big = lblTitle1->font();
    big.setPointSize(15);
    lblTitle1->setFont(big);
    lblTitle1->setText(LoadResString(62));
    lblTitle1->adjustSize();
    lblTitle1->move((width() - lblTitle1->width()) / 2, lblTitle1->y());

    QFont small = lblTitle2->font();
    small.setPointSize(10);
    lblTitle2->setFont(small);
    lblTitle2->setText(QString::number(QDate::currentDate().year()) + QStringLiteral("年度"));
    lblTitle2->adjustSize();
    lblTitle2->move((width() - lblTitle2->width()) / 2, lblTitle2->y());

    lblTitle1->hide();
    lblTitle2->hide();
}

void frmWHBrowse::Form_Unload()
{
    if (m_waitCursor) {
        QApplication::restoreOverrideCursor();
        m_waitCursor = false;
    }
    mRecObject.reset();
    // The rows go with the window: a later load starts from an empty grid
    // and the memory is given back now.
    m_grid->setRows(1);
    closePrintWork();
    m_loaded = false;
}

void frmWHBrowse::layoutControls()
{
    m_toolbar->setGeometry(0, 0, width(), m_toolbarHeight);
    const int available = height() - m_toolbarHeight - pixels(300);
    if (available <= 0)
        return;
    m_grid->setGeometry(0, m_toolbarHeight + pixels(200), width() - pixels(100), available);
    prepareTitleLabels();
}

void frmWHBrowse::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    layoutControls();
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

void frmWHBrowse::SetupListGrid()
{
    m_grid->setCols(ListColumnCount);
    for (int col = 0; col < ListColumnCount; ++col) {
        const ListColumn &c = ListColumns[col];
        m_grid->setColKind(col, c.kind);
        m_grid->setColWidth(col, c.width);
        if (c.length > 0)
            m_grid->setColLength(col, c.length);
    }
    for (int col = 0; col < ListColumnCount; ++col)
        m_grid->setTextMatrix(0, col, LoadResString(ListColumns[col].titleId));
    for (int col = 0; col < ListColumnCount; ++col)
        m_grid->setColFlag(col, 1);
    if (blnBasicVersion)
        m_grid->setColWidth(PositionColumn, 0);
    widenCodeColumn();
    m_grid->setSort(1);
    m_grid->setFinishSetup(true);
}

// A code of its full length stays whole in the grid's font, even one made of
// its widest letters and digits.
void frmWHBrowse::widenCodeColumn()
{
    const QFontMetrics metrics(m_grid->font());
    int widest = 0;
    for (const QChar c : QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"))
        widest = std::max(widest, metrics.horizontalAdvance(c));
    // The cell's text margins and grid line on both sides.
    constexpr int CellPadding = 10;
    const ListColumn &code = ListColumns[0];
    const int needed = (widest * code.length + CellPadding) * controls::twipsPerPixel;
    m_grid->setColWidth(0, std::max(code.width, needed));
}

void frmWHBrowse::showSelection(bool visible)
{
    if (visible) {
        // An emptied list switched highlight and focus rectangle off; rows
        // shown again get them back with the colours.
        m_grid->setHighLight(1);
        m_grid->setFocusRect(1);
        m_grid->setBackColorSel(SysHighlight);
        m_grid->setForeColorSel(SysHighlightText);
        return;
    }
    m_grid->setHighLight(0);
    m_grid->setFocusRect(0);
    m_grid->setBackColorSel(SysInactiveBorder);
    m_grid->setForeColorSel(SysButtonText);
}

namespace {

// Field positions of the list columns in a data set, looked up once per fill.
std::array<int, ListColumnCount> columnFields(const dbkit::DbDataSet &data)
{
    std::array<int, ListColumnCount> fields{};
    for (int col = 0; col < ListColumnCount; ++col)
        fields[col] = RequiredField(data, ListColumns[col].field, QStringLiteral("the list"));
    return fields;
}

// The position flag as the list shows it: "是", "否", or nothing for Null.
QString positionText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    return value.toInt() != 0 ? QStringLiteral("是") : QStringLiteral("否");
}

void fillRow(SuperGrid &grid, int row, const dbkit::DbDataSet &data,
             const std::array<int, ListColumnCount> &fields)
{
    std::vector<QString> cells(ListColumnCount);
    for (int col = 0; col < ListColumnCount; ++col)
        cells[col] = col == PositionColumn ? positionText(data.Fields(fields[col]))
                                           : CellText(data, fields[col]);
    grid.setRowTexts(row, std::move(cells));
}

} // namespace

void frmWHBrowse::FillGridRow(int row, dbkit::DbDataSet &data)
{
    fillRow(*m_grid, row, data, columnFields(data));
}

void frmWHBrowse::FillListGrid(dbkit::DbDataSet &data)
{
    if (data.BOF() && data.Eof()) {
        showSelection(false);
        return;
    }
    showSelection(true);
    const auto fields = columnFields(data);
    data.MoveFirst();
    // One row per record, appended after the rows the grid already has; the
    // rows are made in one step rather than one at a time.
    int row = m_grid->Rows();
    m_grid->setRows(row + int(data.RecordCount()));
    while (!data.Eof()) {
        fillRow(*m_grid, row, data, fields);
        ++row;
        data.MoveNext();
    }
    data.MoveFirst();
}

bool frmWHBrowse::PositionDataSet(int moveKind)
{
    if (!mRecObject)
        return false;
    dbkit::DbDataSet &data = *mRecObject;
    data.Requery(-1);
    auto findGridRow = [&] {
        const QString code = m_grid->TextMatrix(m_grid->Row(), 0);
        data.FindFirst(warehouse::codeCriterion(code));
        return !data.NoMatch();
    };
    if (data.Eof() || data.BOF()) {
        if (data.RecordCount() == 0)
            return false;
        return findGridRow();
    }
    switch (moveKind) {
    case 2:
    case 3: {
        // From the warehouse of the grid's current row, not from the first record.
        if (!findGridRow())
            return false;
        const bool back = moveKind == 2;
        back ? data.MovePrevious() : data.MoveNext();
        if (back ? data.BOF() : data.Eof()) {
            back ? data.MoveFirst() : data.MoveLast();
            return false;
        }
        selectGridRowOfCurrent();
        return true;
    }
    case 5:
        return findGridRow();
    case 6:
        data.MoveFirst();
        return true;
    case 7:
        data.MoveLast();
        return true;
    default:
        return true;
    }
}

// Follows a move with the grid, so that the next move starts from there.
void frmWHBrowse::selectGridRowOfCurrent()
{
    const QString code = NullToEmpty(mRecObject->Fields(QStringLiteral("cWhCode")));
    const int rows = m_grid->Rows();
    const int here = m_grid->Row();
    auto shows = [&](int row) {
        return row >= 1 && row < rows && m_grid->TextMatrix(row, 0) == code;
    };
    // The neighbours first: a move goes one row up or down.
    int found = shows(here + 1) ? here + 1 : (shows(here - 1) ? here - 1 : -1);
    for (int row = 1; found < 0 && row < rows; ++row)
        if (shows(row))
            found = row;
    if (found > 0) {
        m_grid->setRow(found);
        m_grid->setRowSel(found);
    }
}

bool frmWHBrowse::FCur() { return PositionDataSet(5); }
bool frmWHBrowse::FFirst() { return PositionDataSet(6); }
bool frmWHBrowse::FLast() { return PositionDataSet(7); }
bool frmWHBrowse::FPrevious() { return PositionDataSet(2); }
bool frmWHBrowse::FNext() { return PositionDataSet(3); }

void frmWHBrowse::Fclose()
{
    qApp->removeEventFilter(this);
    if (isVisible())
        done(QDialog::Accepted);
    if (m_loaded)
        Form_Unload();
}

void frmWHBrowse::onGridMouseDown(int, int, int, int)
{
    if (m_grid->Rows() < 3 || m_grid->MouseRow() != 0)
        return;
    // A title click takes the whole column, so the sort covers every row;
    // afterwards only the warehouse that was current is selected again, so
    // that no later command acts on every row.
    const QString current = m_grid->TextMatrix(m_grid->Row(), 0);
    m_grid->setRow(1);
    m_grid->setRowSel(m_grid->Rows() - 1);
    const int col = m_grid->Col();
    if (col >= 0 && col <= ListColumnCount - 1)
        m_grid->setSort(1);
    int row = 1;
    for (int r = 1; r < m_grid->Rows(); ++r) {
        if (m_grid->TextMatrix(r, 0) == current) {
            row = r;
            break;
        }
    }
    m_grid->setRow(row);
    m_grid->setRowSel(row);
}
