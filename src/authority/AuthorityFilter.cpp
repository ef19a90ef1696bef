#include "AuthorityFilter.h"

#include "forms/FormSlot.h"
#include "forms/WindowHelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>
#include <utility>

using namespace depotbase;

FrmWAFilter::FrmWAFilter(const services::Account &account, QWidget *parent)
    : QDialog(parent), m_account(account)
{
    setObjectName(QStringLiteral("FrmWAFilter"));
    buildControls();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *old, QWidget *) { onFocusChanged(old); });
}

FrmWAFilter::~FrmWAFilter() = default;

void FrmWAFilter::buildControls()
{
    auto *grid = new QGridLayout;
    const std::pair<const char *, const char *> rows[] = {
        {"Label1", "操作员编码:"}, {"Label2", "操作员名称:"},
        {"Label4", "仓库编码:"},   {"Label3", "仓库名称:"}};
    const char *boxNames[] = {"cidCmb", "cnameCmb", "sidCmb", "snameCmb"};
    QComboBox **boxes[] = {&cidCmb, &cnameCmb, &sidCmb, &snameCmb};
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(QString::fromUtf8(rows[i].second), this);
        label->setObjectName(QLatin1String(rows[i].first));
        auto *box = new QComboBox(this);
        box->setObjectName(QLatin1String(boxNames[i]));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        // Sized by a fixed text length, not by measuring thousands of entries.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(16);
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
        label->setBuddy(box);
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
        *boxes[i] = box;
    }

    Cmd4 = new QPushButton(QIcon(QStringLiteral(":/icons/cmdYes.png")),
                           QStringLiteral("确定(&O)"), this);
    Cmd4->setObjectName(QStringLiteral("Cmd4"));
    Cmd5 = new QPushButton(QIcon(QStringLiteral(":/icons/cmdNo.png")),
                           QStringLiteral("取消(&C)"), this);
    Cmd5->setObjectName(QStringLiteral("Cmd5"));
    connect(Cmd4, &QPushButton::clicked, this, [this] { confirm(); });
    connect(Cmd5, &QPushButton::clicked, this, [this] { reject(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmd4);
    buttons->addWidget(Cmd5);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
}

services::RightsFilter FrmWAFilter::ShowFilter(const QString &caption)
{
    showModalForm(*this, [this, &caption] {
        setWindowTitle(caption);
        m_chosen = {};
        for (QComboBox *box : boxes()) {
            box->clear();
            box->setEditText(QString());
        }
        FillFilterCombos();
        adjustSize();
        CentreOnScreen(this);
        cidCmb->setFocus();
    }, [] {});
    return m_chosen;
}

void FrmWAFilter::fillPair(Pairs read, QComboBox *codeBox, QComboBox *nameBox, Pairs &pairs)
{
    pairs = std::move(read);
    QStringList codes;
    QStringList names;
    codes.reserve(qsizetype(pairs.size()));
    names.reserve(qsizetype(pairs.size()));
    for (const services::CodeAndName &pair : pairs) {
        codes << pair.code;
        names << pair.name;
    }
    // Plain string models: thousands of entries fill at once.
    codeBox->setModel(new QStringListModel(codes, codeBox));
    nameBox->setModel(new QStringListModel(names, nameBox));
    // The boxes open empty: the user types or picks.
    codeBox->setCurrentIndex(-1);
    nameBox->setCurrentIndex(-1);
}

// The first row whose code (or name) is exactly `text`, -1 when none; among
// rows of one name, the one of `code` when it is there. Scanning the pair
// table takes microseconds; the box's own search of 10,000 entries through
// its model took most of a filter's time after the confirm.
int FrmWAFilter::rowOf(const Pairs &pairs, const QString &text, bool byName,
                       const QString &code)
{
    int first = -1;
    for (size_t row = 0; row < pairs.size(); ++row) {
        if ((byName ? pairs[row].name : pairs[row].code) != text)
            continue;
        if (!byName || code.isEmpty() || pairs[row].code == code)
            return int(row);
        if (first < 0)
            first = int(row);
    }
    return first;
}

// The row the box names: the entry picked from its list while the text is
// still that entry's, else the row its typed text matches. Names repeat, so
// only a picked entry tells which of two same-named rows is meant. The box
// itself takes a typed text for the first entry of that text when it loses
// the focus, so an entry that disagrees with the given code counts as typed.
int FrmWAFilter::chosenRow(const QComboBox *box, const Pairs &pairs, bool byName,
                           const QString &code)
{
    const QString text = box->currentText();
    if (text.isEmpty())
        return -1;
    const int picked = box->currentIndex();
    if (picked >= 0 && size_t(picked) < pairs.size() && box->itemText(picked) == text
        && (code.isEmpty() || pairs[size_t(picked)].code == code))
        return picked;
    return rowOf(pairs, text, byName, code);
}

void FrmWAFilter::FillFilterCombos()
{
    services::RightsQueries queries(m_account.login());
    fillPair(queries.operators(), cidCmb, cnameCmb, userPairs);
    fillPair(queries.warehouses(), sidCmb, snameCmb, warehousePairs);
}

bool FrmWAFilter::chosenCode(QComboBox *codeBox, QComboBox *nameBox, const Pairs &pairs,
                             QString &code)
{
    const QString t1 = codeBox->currentText();
    const QString t2 = nameBox->currentText();
    // A typed text counts as its list entry only when it is that entry exactly.
    const int i1 = chosenRow(codeBox, pairs, false, QString());
    const int i2 = chosenRow(nameBox, pairs, true, t1);
    code.clear();
    if (!t1.isEmpty() && !t2.isEmpty()) {
        if (i1 < 0 || i2 < 0)
            return true;
        if (pairs[size_t(i1)].code != pairs[size_t(i2)].code) {
            refuse(QStringLiteral("查不到满足条件的记录。"));
            return false;
        }
        code = t1;
    } else if (!t2.isEmpty()) {
        if (i2 >= 0)
            code = pairs[size_t(i2)].code;
    } else if (!t1.isEmpty()) {
        code = t1;
    }
    return true;
}

void FrmWAFilter::confirm()
{
    if (!bFilter && cidCmb->currentText().isEmpty() && cnameCmb->currentText().isEmpty()
        && sidCmb->currentText().isEmpty() && snameCmb->currentText().isEmpty()) {
        refuse(QStringLiteral("请输入定位条件。"));
        return;
    }
    services::RightsFilter chosen;
    chosen.lastBox = m_chosen.lastBox;
    if (!chosenCode(cidCmb, cnameCmb, userPairs, chosen.operatorCode)
        || !chosenCode(sidCmb, snameCmb, warehousePairs, chosen.warehouseCode))
        return;
    m_chosen = chosen;
    accept();
}

void FrmWAFilter::refuse(const QString &text)
{
    ShowNotice(this, text);
}

services::RightsFilterBox FrmWAFilter::boxOf(const QWidget *widget) const
{
    const std::array<QComboBox *, 4> all = boxes();
    for (size_t i = 0; i < all.size(); ++i)
        if (widget && (widget == all[i] || widget == all[i]->lineEdit()))
            return services::RightsFilterBox(int(i) + 1);
    return services::RightsFilterBox::None;
}

void FrmWAFilter::onFocusChanged(QWidget *old)
{
    // Only the box left last counts; the codes are read when the user confirms.
    if (const services::RightsFilterBox box = boxOf(old); box != services::RightsFilterBox::None)
        m_chosen.lastBox = box;
}

bool FrmWAFilter::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in a combo box only moves the focus to the confirm button.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && boxOf(static_cast<QWidget *>(watched)) != services::RightsFilterBox::None) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Cmd4->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
