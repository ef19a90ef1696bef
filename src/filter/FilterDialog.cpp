#include "FilterDialog.h"

#include "FilterColumns.h"
#include "FilterKeys.h"
#include "data/Catalogue.h"
#include "data/ModuleState.h"
#include "forms/FormSlot.h"
#include "forms/WindowHelpers.h"
#include "services/WarehouseQueries.h"
#include "suite/controls/GridSorter.h"
#include "suite/modal/ModalSeam.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace depotbase;

namespace {

constexpr int HelpContext = 31100041;

} // namespace

frmFilter::frmFilter()
{
    setObjectName(QStringLiteral("frmFilter"));
    setWindowTitle(LoadResString(text::FilterConditions));
    buildControls();
}

frmFilter::~frmFilter() = default;

void frmFilter::buildControls()
{
    auto *outer = new QVBoxLayout(this);
    auto *grid = new QGridLayout();
    outer->addLayout(grid);
    const auto &columns = filtercolumns::columns();
    for (int row = 0; row < filtercolumns::Count; ++row) {
        const filtercolumns::Column &c = columns.at(size_t(row));
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(c.label));
        auto *box = new QComboBox(this);
        box->setObjectName(QLatin1String(c.box));
        box->setEditable(true);
        // Enter moves on; it never adds the typed text to the value list.
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumWidth(220);
        box->lineEdit()->installEventFilter(this);
        box->installEventFilter(this);
        box->view()->installEventFilter(this);
        if (row == filtercolumns::QuotaRow)
            box->setValidator(new filterkeys::QuotaValidator(box));
        else
            box->setValidator(new filterkeys::TextValidator(box));
        label->setBuddy(box);
        auto *button = new QPushButton(this);
        button->setObjectName(QLatin1String(c.button));
        button->setAutoDefault(false);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, row] { fillValueList(row); });
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(button, row, 2);
        m_boxes.at(size_t(row)) = box;
        m_valueButtons.at(size_t(row)) = button;
    }
    chkWHPos = new QCheckBox(this);
    chkWHPos->setObjectName(QStringLiteral("chkWHPos"));
    // Partly checked: any warehouse; checked: managed; cleared: not managed.
    chkWHPos->setTristate(true);
    chkWHPos->installEventFilter(this);
    grid->addWidget(chkWHPos, filtercolumns::Count, 1);

    auto *buttons = new QHBoxLayout();
    buttons->addStretch();
    cmdYes = new QPushButton(this);
    cmdYes->setObjectName(QStringLiteral("cmdYes"));
    cmdNo = new QPushButton(this);
    cmdNo->setObjectName(QStringLiteral("cmdNo"));
    for (QPushButton *b : {cmdYes, cmdNo}) {
        b->setAutoDefault(false);
        b->installEventFilter(this);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);
    connect(cmdYes, &QPushButton::clicked, this, [this] { confirm(); });
    connect(cmdNo, &QPushButton::clicked, this, [this] { reject(); });
}

bool frmFilter::ShowFilter(const QString &caption, const services::WarehouseFilter &start)
{
    m_find = start.find;
    return showModalForm(*this, [this, &caption, &start] {
        Form_Load();
        showChoice(start);
        setWindowTitle(caption);
    }, [] {}) == QDialog::Accepted;
}

void frmFilter::showChoice(const services::WarehouseFilter &start)
{
    for (int row = 0; row < filtercolumns::Count; ++row)
        m_boxes.at(size_t(row))->setEditText(start.texts.at(size_t(row)));
    switch (start.positions) {
    case services::FilterPositions::Managed:
        chkWHPos->setCheckState(Qt::Checked);
        break;
    case services::FilterPositions::NotManaged:
        chkWHPos->setCheckState(Qt::Unchecked);
        break;
    case services::FilterPositions::Any:
        chkWHPos->setCheckState(Qt::PartiallyChecked);
        break;
    }
}

// Each showing starts like a newly loaded dialog: empty boxes without value
// lists, the check box at "any".
void frmFilter::Form_Load()
{
    setProperty("HelpContextID", HelpContext);
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
    const auto &columns = filtercolumns::columns();
    for (int row = 0; row < filtercolumns::Count; ++row) {
        auto *label = findChild<QLabel *>(QLatin1String(columns.at(size_t(row)).label));
        label->setText(LoadResString(columns.at(size_t(row)).caption));
        m_valueButtons.at(size_t(row))->setText(LoadResString(text::PossibleValues));
        QComboBox *box = m_boxes.at(size_t(row));
        box->clear();
        box->setEditText(QString());
    }
    chkWHPos->setText(LoadResString(text::PositionManaged));
    chkWHPos->setCheckState(Qt::PartiallyChecked);
    chkWHPos->setVisible(!blnBasicVersion);
    cmdYes->setIcon(QIcon(QStringLiteral(":/icons/cmdYes.png")));
    // Alt+O and Alt+C press the buttons; Ctrl+Enter confirms, Esc cancels.
    cmdYes->setText(QStringLiteral("确定(&O)"));
    cmdYes->setToolTip(QStringLiteral("确定 (Ctrl+Enter)"));
    cmdNo->setIcon(QIcon(QStringLiteral(":/icons/cmdNo.png")));
    cmdNo->setText(QStringLiteral("取消(&C)"));
    cmdNo->setToolTip(QStringLiteral("取消 (Esc)"));
    adjustSize();
    CentreOnScreen(this);
    m_boxes.front()->setFocus();
}

// Fills a box's list with the values its column holds, read afresh on every
// press; the text the user typed stays.
void frmFilter::fillValueList(int row)
{
    if (!queries)
        return;
    const services::ReadOutcome<QStringList> values =
        queries->filterValues(services::FilterField(row));
    if (values.failed()) {
        modal::message(this, values.failure, modal::Icon::Critical, modal::Buttons::Ok,
                       LoadResString(text::MessageCaption));
        return;
    }
    QComboBox *box = m_boxes.at(size_t(row));
    const QString typed = box->currentText();
    box->clear();
    const QStringList &items = values.rows;
    // Listed in the order the grid sorts: numbers by value, Chinese by pinyin.
    const std::vector<QAnyStringView> texts(items.begin(), items.end());
    QStringList sorted;
    for (int index : controls::sortOrder(texts, row == filtercolumns::QuotaRow, false))
        sorted.push_back(items.at(index));
    box->addItems(sorted);
    box->setCurrentIndex(-1);
    box->setEditText(typed);
}

void frmFilter::confirm()
{
    std::array<QString, filtercolumns::Count> texts;
    for (int row = 0; row < filtercolumns::Count; ++row)
        texts.at(size_t(row)) = m_boxes.at(size_t(row))->currentText();
    const QString &quota = texts.at(size_t(filtercolumns::QuotaRow));
    if (!quota.isEmpty() && !services::isQuotaNumber(quota)) {
        // Told before the dialog closes, so the user corrects it in place.
        QComboBox *box = m_boxes.at(size_t(filtercolumns::QuotaRow));
        modal::message(this,
                       QStringLiteral("资金定额“%1”不是有效的数字，请输入如 1200 或 12.5 的数字！")
                           .arg(quota),
                       modal::Icon::Exclamation, modal::Buttons::Ok,
                       LoadResString(text::MessageCaption));
        box->setFocus(Qt::OtherFocusReason);
        box->lineEdit()->selectAll();
        return;
    }
    m_choice = {texts, positionChoice(), m_find};
    accept();
}

services::FilterPositions frmFilter::positionChoice() const
{
    // The basic version has no position management to ask about.
    if (blnBasicVersion)
        return services::FilterPositions::Any;
    switch (chkWHPos->checkState()) {
    case Qt::Checked:
        return services::FilterPositions::Managed;
    case Qt::Unchecked:
        return services::FilterPositions::NotManaged;
    default:
        return services::FilterPositions::Any;
    }
}

// Enter while a box's value list is open picks the highlighted value, whether
// the platform hands the key to the list or to the box behind it.
bool frmFilter::pickFromOpenList(int row)
{
    QComboBox *box = m_boxes.at(size_t(row));
    const QAbstractItemView *list = box->view();
    if (!list->isVisible())
        return false;
    if (list->currentIndex().isValid())
        box->setCurrentIndex(list->currentIndex().row());
    box->hidePopup();
    return true;
}

int frmFilter::boxRowOf(QObject *watched) const
{
    for (int row = 0; row < filtercolumns::Count; ++row) {
        // Keys reach the box first; its line edit sees those sent to it
        // directly, its value list those typed while the list is open.
        const QComboBox *box = m_boxes.at(size_t(row));
        if (watched == box || watched == box->lineEdit() || watched == box->view())
            return row;
    }
    return -1;
}

bool frmFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
        ShowHelpPage(this, HelpContext);
        return true;
    }
    if (filterkeys::isEnter(*key)
        && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        confirm();
        return true;
    }
    const int row = boxRowOf(watched);
    // Enter in a value list picks, and only picks: the list itself may have
    // picked and closed already when the key reaches it.
    if (filterkeys::isEnter(*key) && row >= 0
        && (pickFromOpenList(row) || watched == m_boxes.at(size_t(row))->view()))
        return true;
    if (filterkeys::isEnter(*key) && (watched == cmdYes || watched == cmdNo)) {
        // Enter on a focused 确定 or 取消 presses it, as a user expects.
        static_cast<QPushButton *>(watched)->click();
        return true;
    }
    if (filterkeys::isEnter(*key)) {
        // Enter anywhere else in the dialog moves on as Tab does.
        focusNextChild();
        return true;
    }
    if (row >= 0 && filterkeys::isRefused(*key, row == filtercolumns::QuotaRow)) {
        modal::beep();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
