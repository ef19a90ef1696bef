// The history window: its controls, the reading under its filters, its keys
// and its print commands.
#include "HistoryWindow.h"

#include "HistoryText.h"
#include "RestoreButtons.h"
#include "data/Catalogue.h"
#include "data/ModuleState.h"
#include "data/UserErrors.h"
#include "forms/FormSlot.h"
#include "forms/ToolbarButtons.h"
#include "forms/ToolbarShortcuts.h"
#include "forms/WindowHelpers.h"
#include "print/PrintList.h"
#include "services/DatabaseFailure.h"
#include "suite/controls/SuperGrid.h"
#include "suite/controls/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <utility>

using namespace depotbase;

namespace {

constexpr char HistoryPrintFile[] = "LxHistory.mdb";
const QDate NoDate(2000, 1, 1);
// The help page of this window.
constexpr int HistoryHelpContext = 31100241;

constexpr std::array<const char *, 9> Pictures{
    "imgPSetup", "imgPrint", "imgPreview", "imgOutput",  "imgRefresh",
    "imgHelp",   "imgExit",  "imgAdd",     "imgHistory",
};

// The restore buttons' captions come from restorebuttons::setUp.
constexpr std::array<ToolbarButton, 12> Buttons{{
    {"TlbPSetup", 1, text::Setup, text::PrintSetup},
    {"TlbPrint", 2, text::Print, text::Print},
    {"TlbPreview", 3, text::Preview, text::Preview},
    {"TlbOutput", 4, text::Output, text::Output},
    {nullptr, 0, 0, 0},
    {"TlbRefresh", 5, text::Refresh, text::Refresh},
    {nullptr, 0, 0, 0},
    {restorebuttons::Restore, 8, 0, 0},
    {restorebuttons::RestoreEarlier, 9, 0, 0},
    {nullptr, 0, 0, 0},
    {"TlbHelp", 6, text::Help, text::Help},
    {"TlbExit", 7, text::Exit, text::Exit},
}};

// Widths in twips: the values before and after take the room.
constexpr std::array<int, historytext::ColumnCount> Widths{
    2100, 1000, 1100, 1200, 600, 1400, 600, 1800, 3600, 3600,
};

// The window's keys: its own restore commands and the lists' shared ones.
constexpr auto Shortcuts = WithSharedListShortcuts(restorebuttons::Shortcuts);

// The changed-fields column stands out (light yellow, 0x00BBGGRR).
constexpr uint32_t ChangedColour = 0x00E0FFFF;

// Opens a date box's calendar on the current month while the box says 不限,
// rather than on the month of the date that stands for no limit.
class CalendarOpener : public QObject {
public:
    explicit CalendarOpener(QDateEdit *box) : QObject(box), m_box(box) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && m_box->date() == NoDate) {
            const QDate today = QDate::currentDate();
            m_box->calendarWidget()->setCurrentPage(today.year(), today.month());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QDateEdit *m_box;
};

QDateEdit *dateBox(QWidget *parent, const char *name)
{
    auto *box = new QDateEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    box->setMinimumDate(NoDate);
    // The first date stands for no limit.
    box->setSpecialValueText(QStringLiteral("不限"));
    box->setDate(NoDate);
    // Months and weekdays in Chinese, whatever the system's language.
    QCalendarWidget *calendar = box->calendarWidget();
    calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    calendar->setFirstDayOfWeek(Qt::Monday);
    // The calendar opens inside a popup window of its own.
    calendar->window()->installEventFilter(new CalendarOpener(box));
    return box;
}

// Runs `work`; a failure to read the history is told over `window`.
void tellingReadFailure(QWidget *window, const std::function<void()> &work)
{
    services::guarded(work, [window](const services::DatabaseFailure &failure) {
        ShowNotice(window, UserErrorText(QStringLiteral("修改记录未能读取，请稍后重试。"),
                                         failure.number, failure.description));
    });
}

} // namespace

FrmHistory::FrmHistory(const services::Account &account, HistorySubject subject, bool readOnly,
                       QWidget *parent)
    : QDialog(parent), m_account(account), m_reader(account.login()), m_restore(account.login()),
      m_subject(std::move(subject)), m_readOnly(readOnly)
{
    setObjectName(QStringLiteral("FrmHistory"));
    setWindowFlags(Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(ListWindowSize(QSize(18900, 8400) / controls::twipsPerPixel));

    m_toolbar = CreateListToolbar(this);
    m_from = dateBox(this, "DtpFrom");
    m_to = dateBox(this, "DtpTo");
    m_operator = new QComboBox(this);
    m_operator->setObjectName(QStringLiteral("CboOperator"));
    m_operator->setMinimumContentsLength(12);
    auto *ask = new QPushButton(LoadResString(text::Query), this);
    ask->setObjectName(QStringLiteral("CmdQuery"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("LblCount"));
    m_grid = new SuperGrid(this);
    m_grid->setObjectName(QStringLiteral("SpGrdHistory"));

    auto *filters = new QHBoxLayout;
    filters->setContentsMargins(8, 4, 8, 4);
    filters->addWidget(new QLabel(QStringLiteral("修改日期 从"), this));
    filters->addWidget(m_from);
    filters->addWidget(new QLabel(QStringLiteral("到"), this));
    filters->addWidget(m_to);
    filters->addSpacing(16);
    filters->addWidget(new QLabel(QStringLiteral("操作员"), this));
    filters->addWidget(m_operator);
    filters->addWidget(ask);
    filters->addSpacing(16);
    filters->addWidget(m_count, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolbar);
    layout->addLayout(filters);
    layout->addWidget(m_grid, 1);

    connect(ask, &QPushButton::clicked, this, [this] { OnToolbarCommand("TlbRefresh"); });
    connect(m_grid, &SuperGrid::RowColChange, this, [this] { followCurrentRow(); });
    m_onTop = new QTimer(this);
    m_onTop->setSingleShot(true);
    m_onTop->setInterval(500);
    connect(m_onTop, &QTimer::timeout, this, [this] { readAgainWhenOnTop(); });
}

FrmHistory::~FrmHistory() = default;

QAction *FrmHistory::toolbarButton(const QString &key) const
{
    return ToolbarAction(*m_toolbar, key);
}

void FrmHistory::ShowHistory()
{
    showModalForm(*this, [this] { load(); }, [this] { unload(); });
}

void FrmHistory::load()
{
    setWindowTitle(QStringLiteral("修改记录 - ") + m_subject.title);
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
    BuildToolbar(*m_toolbar, LoadToolbarPictures(Pictures), Buttons,
                 [this](const QString &key) { OnToolbarCommand(key); });
    restorebuttons::setUp(*m_toolbar, m_readOnly);
    NameShortcutsInToolTips(*m_toolbar, Shortcuts);
    setUpGrid();
    fillOperators();
    // Followed before the first reading, so nothing committed after it is missed.
    m_following = services::ChangeFeed::follow(
        m_account, [this](const services::ChangeFeed::Changes &changes) { followChanges(changes); });
    query();
    m_printDb = OpenPrintWorkDb(SystemFolder(), QString::fromLatin1(HistoryPrintFile), this);
    m_grid->setFocus();
}

void FrmHistory::unload()
{
    m_following.reset();
    m_printDb.reset();
}

void FrmHistory::setUpGrid()
{
    m_grid->setCols(historytext::ColumnCount);
    m_grid->setRows(1);
    for (int col = 0; col < historytext::ColumnCount; ++col) {
        m_grid->setTextMatrix(0, col, historytext::columnTitle(col));
        m_grid->setColWidth(col, Widths[size_t(col)]);
        m_grid->setColKind(col, SuperGrid::KindText);
    }
    m_grid->setColBackColor(historytext::ColChanged, ChangedColour);
}

// Everyone who may sign in, by code: the history keeps the code of whoever
// changed something.
void FrmHistory::fillOperators()
{
    m_operator->clear();
    m_operator->addItem(QStringLiteral("全部"), QString());
    for (const auto &[code, name] : m_reader.operators())
        m_operator->addItem(code + u' ' + name, code);
}

services::HistoryFilter FrmHistory::currentFilter() const
{
    services::HistoryFilter filter = m_subject.filter;
    filter.limit = RowLimit;
    if (m_from->date() > NoDate)
        filter.from = QDateTime(m_from->date(), QTime(0, 0)).toUTC();
    if (m_to->date() > NoDate)
        filter.to = QDateTime(m_to->date().addDays(1), QTime(0, 0)).toUTC();
    filter.changedBy = m_operator->currentData().toString();
    return filter;
}

void FrmHistory::followChanges(const services::ChangeFeed::Changes &changes)
{
    const services::HistoryFilter filter = currentFilter();
    if (std::any_of(changes.begin(), changes.end(),
                    [&filter](const services::HistoryEntry &change) { return filter.selects(change); }))
        m_behind = true;
    readAgainWhenOnTop();
}

// A message box or a preview over the window keeps it as it is; it reads
// again once it is on top.
void FrmHistory::readAgainWhenOnTop()
{
    if (!m_behind || !isVisible())
        return;
    const QWidget *top = QApplication::activeModalWidget();
    if (top && top != this) {
        m_onTop->start();
        return;
    }
    m_behind = false;
    const services::HistoryEntry *current = currentEntry();
    const long long currentId = current ? current->id : 0;
    const int topRow = m_grid->TopRow();
    tellingReadFailure(this, [this] { query(); });
    // New rows come on top: the current change stays current.
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].id == currentId) {
            m_grid->setRow(int(i) + 1);
            m_grid->setTopRow(std::max(1, topRow));
            break;
        }
    followCurrentRow();
}

void FrmHistory::query()
{
    m_behind = false;
    m_entries = m_reader.read(currentFilter());
    const QHash<QString, QString> departments = m_reader.departmentNames(m_entries);
    m_grid->setRedraw(false);
    m_grid->setRows(int(m_entries.size()) + 1);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const QStringList cells = historytext::rowCells(m_entries[i], departments);
        m_grid->setRowTexts(int(i) + 1, std::vector<QString>(cells.begin(), cells.end()));
    }
    m_grid->setRedraw(true);
    if (m_grid->Rows() > 1)
        m_grid->setRow(1);
    m_count->setText(int(m_entries.size()) >= RowLimit
                         ? QStringLiteral("显示最近的 %1 条；更早的请按日期查询").arg(RowLimit)
                         : QStringLiteral("共 %1 条").arg(m_entries.size()));
    followCurrentRow();
}

const services::HistoryEntry *FrmHistory::currentEntry() const
{
    const int row = m_grid->Row();
    if (row < 1 || row > int(m_entries.size()) || row >= m_grid->Rows())
        return nullptr;
    return &m_entries[size_t(row - 1)];
}

void FrmHistory::followCurrentRow()
{
    const services::HistoryEntry *entry = currentEntry();
    restorebuttons::follow(
        *m_toolbar, entry ? services::HistoryRestore::kindOf(*entry) : services::RestoreKind::None,
        m_readOnly);
}

// Runs the restore the button of `key` offers on the current row, as long as
// that button is enabled; a success reads the history again, so the
// restore's own history row shows.
void FrmHistory::runRestore(const QString &key)
{
    const QAction *button = toolbarButton(key);
    const services::HistoryEntry *entry = currentEntry();
    if (!button || !button->isEnabled() || !entry)
        return;
    const services::ServiceResult answer = m_restore.restore(*entry);
    restorebuttons::tell(this, answer);
    if (answer.done())
        query();
}

void FrmHistory::OnToolbarCommand(const QString &key)
{
    tellingReadFailure(this, [this, &key] {
        if (key == QLatin1String("TlbRefresh"))
            query();
        else if (const short mode = PrintModeOfKey(key); mode >= 0)
            runPrintCommand(mode);
        else if (restorebuttons::kindOfCommand(key) != services::RestoreKind::None)
            runRestore(key);
        else if (key == QLatin1String("TlbHelp"))
            ShowHelpPage(this, HistoryHelpContext);
        else if (key == QLatin1String("TlbExit"))
            done(QDialog::Accepted);
    });
}

void FrmHistory::runPrintCommand(short mode)
{
    if (refuseEmptyList(mode, m_grid->Rows(), this))
        return;
    const ReportHost host{&m_control, this, nullptr};
    PrintAuthorityList(m_printDb.get(), *m_grid, QStringLiteral("修改记录"), mode, *this, host);
}

// The lists' keys, for the commands this window has.
void FrmHistory::keyPressEvent(QKeyEvent *event)
{
    const QString command = CommandOfKey(*event, Shortcuts);
    QAction *button = command.isEmpty() ? nullptr : toolbarButton(command);
    if (!button || !button->isEnabled()) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (command == QLatin1String("TlbPrint"))
        m_control.SetPrintConfirmation(KeyedPrintConfirmation(this, QStringLiteral("修改记录")));
    OnToolbarCommand(command);
    m_control.SetPrintConfirmation({});
}

void ShowChangeHistory(QWidget *parent, const services::Account &account,
                       const HistorySubject &subject, bool readOnly)
{
    tellingReadFailure(parent, [&] {
        FrmHistory window(account, subject, readOnly, parent);
        window.ShowHistory();
    });
}
