#include "WarehouseCardControls.h"

#include "WarehouseCardBar.h"
#include "data/Catalogue.h"
#include "services/WarehouseRules.h"
#include "suite/controls/EditBox.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>
#include <array>

namespace text = depotbase::text;

using depotbase::LoadResString;

namespace {

constexpr std::array<const char *, 4> CardPictures{{"imgAdd", "imgSave", "imgHelp", "imgExit"}};

struct CardButton {
    const char *key;
    int image;  // 1-based index into the pictures
    int caption;
    int tip;    // 0: the save button's own tip
};

constexpr std::array<CardButton, 4> CardButtons{{{"TlbAdd", 1, text::Add, text::Add},
                                                 {"TlbSave", 2, text::Save, 0},
                                                 {"TlbHelp", 3, text::Help, text::Help},
                                                 {"TlbExit", 4, text::Exit, text::Exit}}};

EditBox *makeBox(QWidget *parent, const char *name, int maxLength, bool numbers = false)
{
    auto *box = new EditBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    box->setRefusedChars(numbers ? QStringLiteral("'|-") : QStringLiteral("'|"));
    box->setNumbersOnly(numbers);
    // The fund quota's column keeps four decimals.
    if (numbers)
        box->setDecimals(4);
    return box;
}

QLabel *makeLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

void WarehouseCardControls::buildControls(QWidget *card)
{
    auto *layout = new QVBoxLayout(card);
    layout->setContentsMargins(0, 0, 0, 8);
    Toolbar1 = new QToolBar(card);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setMovable(false);
    layout->addWidget(Toolbar1);
    ChangedBar = new WarehouseCardBar(card);
    layout->addWidget(ChangedBar);

    Frame1 = new QGroupBox(card);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    layout->addWidget(Frame1);
    auto *grid = new QGridLayout(Frame1);

    lblcWhCode = makeLabel(Frame1, "lblcWhCode");
    lblcWhName = makeLabel(Frame1, "lblcWhName");
    lblcDepCode = makeLabel(Frame1, "lblcDepCode");
    lblcWhAddress = makeLabel(Frame1, "lblcWhAddress");
    lblcWhPhone = makeLabel(Frame1, "lblcWhPhone");
    lblcWhPerson = makeLabel(Frame1, "lblcWhPerson");
    lblcWhValueStyle = makeLabel(Frame1, "lblcWhValueStyle");
    lbliFundQuota = makeLabel(Frame1, "lbliFundQuota");
    lblcWhMemo = makeLabel(Frame1, "lblcWhMemo");

    EdtcWhCode = makeBox(Frame1, "EdtcWhCode", 10);
    EdtcWhName = makeBox(Frame1, "EdtcWhName", 20);
    EdtcDepCode = makeBox(Frame1, "EdtcDepCode", 20);
    EdtcWhAddress = makeBox(Frame1, "EdtcWhAddress", 30);
    // Wide enough for an address of its full 30 (Chinese) characters.
    EdtcWhAddress->setMinimumWidth(
        EdtcWhAddress->fontMetrics().horizontalAdvance(QString(30, QChar(0x4ED3))) + 12);
    EdtcWhPhone = makeBox(Frame1, "EdtcWhPhone", 20);
    EdtcWhPerson = makeBox(Frame1, "EdtcWhPerson", 10);
    EdtiWhFundQuota = makeBox(Frame1, "EdtiWhFundQuota", 17, true);
    EdtcWhMemo = makeBox(Frame1, "EdtcWhMemo", 20);

    CmbcWhValueStyle = new QComboBox(Frame1);
    CmbcWhValueStyle->setObjectName(QStringLiteral("CmbcWhValueStyle"));
    CmbcWhValueStyle->setEditable(false);
    ChkbWhPos = new QCheckBox(Frame1);
    ChkbWhPos->setObjectName(QStringLiteral("ChkbWhPos"));
    cmdRef = new QPushButton(Frame1);
    cmdRef->setObjectName(QStringLiteral("cmdRef"));
    // The button must not take the focus: leaving the department box for it
    // would check a half-typed department before the reference opens.
    cmdRef->setFocusPolicy(Qt::NoFocus);

    auto *department = new QHBoxLayout;
    department->setContentsMargins(0, 0, 0, 0);
    department->addWidget(EdtcDepCode, 1);
    department->addWidget(cmdRef);

    grid->addWidget(lblcWhCode, 0, 0);
    grid->addWidget(EdtcWhCode, 0, 1);
    grid->addWidget(lblcWhName, 0, 2);
    grid->addWidget(EdtcWhName, 0, 3);
    grid->addWidget(lblcDepCode, 1, 0);
    grid->addLayout(department, 1, 1);
    grid->addWidget(lblcWhAddress, 1, 2);
    grid->addWidget(EdtcWhAddress, 1, 3);
    grid->addWidget(lblcWhPhone, 2, 0);
    grid->addWidget(EdtcWhPhone, 2, 1);
    grid->addWidget(lblcWhPerson, 2, 2);
    grid->addWidget(EdtcWhPerson, 2, 3);
    grid->addWidget(lblcWhValueStyle, 3, 0);
    grid->addWidget(CmbcWhValueStyle, 3, 1);
    grid->addWidget(lbliFundQuota, 3, 2);
    grid->addWidget(EdtiWhFundQuota, 3, 3);
    grid->addWidget(lblcWhMemo, 4, 0);
    grid->addWidget(EdtcWhMemo, 4, 1, 1, 3);
    grid->addWidget(ChkbWhPos, 5, 1);

    // Tab and Enter follow the fields in reading order.
    QWidget *order[] = {EdtcWhCode, EdtcWhName, EdtcDepCode, EdtcWhAddress, EdtcWhPhone,
                        EdtcWhPerson, CmbcWhValueStyle, EdtiWhFundQuota, EdtcWhMemo, ChkbWhPos};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

}

void WarehouseCardControls::setCaptions()
{
    lblcWhCode->setText(LoadResString(text::WarehouseCode));
    lblcWhName->setText(LoadResString(text::WarehouseName));
    lblcDepCode->setText(LoadResString(text::Department));
    lblcWhAddress->setText(LoadResString(text::WarehouseAddress));
    lblcWhPhone->setText(LoadResString(text::Phone));
    lblcWhPerson->setText(LoadResString(text::Manager));
    lblcWhValueStyle->setText(LoadResString(text::ValuationStyle));
    lbliFundQuota->setText(LoadResString(text::Quota));
    lblcWhMemo->setText(LoadResString(text::Remark));
    ChkbWhPos->setText(LoadResString(text::PositionManaged));
    cmdRef->setIcon(QIcon(QStringLiteral(":/icons/cmdRef.png")));
}

namespace {

// The toolbar's pictures, in button order.
QList<QIcon> loadToolbarPictures()
{
    QList<QIcon> pictures;
    for (const char *key : CardPictures)
        pictures.push_back(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(key))));
    return pictures;
}

} // namespace

void WarehouseCardControls::buildToolbar(const std::function<void(const QString &)> &run)
{
    const QList<QIcon> pictures = loadToolbarPictures();
    // clear() only takes the actions off the toolbar; they stay its children
    // and would be found by key instead of the new ones.
    const QList<QAction *> old = Toolbar1->actions();
    Toolbar1->clear();
    qDeleteAll(old);
    for (const CardButton &b : CardButtons) {
        auto *action = new QAction(pictures.at(b.image - 1), LoadResString(b.caption), Toolbar1);
        const QString key = QLatin1String(b.key);
        action->setObjectName(key);
        action->setToolTip(b.tip ? LoadResString(b.tip) : QStringLiteral("保存(F6)"));
        QObject::connect(action, &QAction::triggered, Toolbar1, [run, key] { run(key); });
        Toolbar1->addAction(action);
        if (QWidget *widget = Toolbar1->widgetForAction(action))
            widget->setObjectName(key + QStringLiteral("Button"));
    }
}

QAction *WarehouseCardControls::toolbarButton(const QString &key) const
{
    return Toolbar1->findChild<QAction *>(key, Qt::FindDirectChildrenOnly);
}

QWidget *WarehouseCardControls::controlOf(const QString &column) const
{
    if (column == QLatin1String("cWhCode"))
        return EdtcWhCode;
    if (column == QLatin1String("cWhName"))
        return EdtcWhName;
    return CmbcWhValueStyle;
}

void WarehouseCardControls::fillValueStyles(const QStringList &styles, bool basicVersion)
{
    CmbcWhValueStyle->clear();
    CmbcWhValueStyle->addItems(styles);
    ChkbWhPos->setVisible(!basicVersion);
}

void WarehouseCardControls::showStyle(const QString &style)
{
    if (style.isEmpty()) {
        CmbcWhValueStyle->setCurrentIndex(-1);
        return;
    }
    int index = CmbcWhValueStyle->findText(style);
    if (index < 0) {
        CmbcWhValueStyle->addItem(style);
        index = CmbcWhValueStyle->count() - 1;
    }
    CmbcWhValueStyle->setCurrentIndex(index);
}

void WarehouseCardControls::setEditable(bool editable)
{
    // A box that takes no typing is drawn on the window's colour, so the
    // card does not look editable.
    QList<EditBox *> boxes = valueBoxes();
    boxes << EdtcDepCode;
    for (EditBox *box : boxes) {
        box->setReadOnly(!editable);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, editable ? QPalette().color(QPalette::Base)
                                                  : palette.color(QPalette::Window));
        box->setPalette(palette);
    }
    CmbcWhValueStyle->setEnabled(editable);
    ChkbWhPos->setEnabled(editable);
    cmdRef->setEnabled(editable);
}

QList<EditBox *> WarehouseCardControls::valueBoxes() const
{
    return {EdtcWhCode, EdtcWhName, EdtcWhAddress, EdtcWhPhone, EdtcWhPerson, EdtcWhMemo,
            EdtiWhFundQuota};
}

void WarehouseCardControls::showRecord(const services::WarehouseRecord &record)
{
    EdtcWhCode->setText(record.code);
    EdtcWhName->setText(record.name);
    EdtcDepCode->setText(record.depName);
    EdtcWhAddress->setText(record.address);
    EdtcWhPhone->setText(record.phone);
    EdtcWhPerson->setText(record.person);
    EdtcWhMemo->setText(record.memo);
    EdtiWhFundQuota->setText(services::warehouse_rules::formatQuota(record.fundQuota));
    showStyle(record.valueStyle);
    ChkbWhPos->setChecked(record.positions);
    m_shownTexts.clear();
    for (EditBox *box : valueBoxes()) {
        m_shownTexts.insert(box, box->text());
        // A text longer than its box shows its start.
        box->setCursorPosition(0);
    }
    EdtcDepCode->setCursorPosition(0);
}

void WarehouseCardControls::clearFields()
{
    for (EditBox *box : valueBoxes())
        box->clear();
    EdtcDepCode->clear();
    EdtiWhFundQuota->setText(QStringLiteral("0"));
    ChkbWhPos->setChecked(false);
    m_shownTexts.clear();
}

bool WarehouseCardControls::boxChanged(const EditBox *box, bool adding) const
{
    const auto shown = m_shownTexts.constFind(box);
    return adding || shown == m_shownTexts.constEnd() || *shown != box->text();
}

services::WarehouseRecord WarehouseCardControls::typedRecord(
    const services::WarehouseRecord &read, bool adding, const QString &depCode) const
{
    auto value = [&](const EditBox *box, const QString &stored) {
        return boxChanged(box, adding) ? box->text() : stored;
    };
    services::WarehouseRecord r;
    r.code = value(EdtcWhCode, read.code);
    r.name = value(EdtcWhName, read.name);
    r.depCode = depCode;
    r.depName = EdtcDepCode->text();
    r.address = value(EdtcWhAddress, read.address);
    r.phone = value(EdtcWhPhone, read.phone);
    r.person = value(EdtcWhPerson, read.person);
    r.valueStyle = CmbcWhValueStyle->currentText();
    r.positions = ChkbWhPos->isChecked();
    r.fundQuota = value(EdtiWhFundQuota, read.fundQuota);
    r.memo = value(EdtcWhMemo, read.memo);
    return r;
}

QString WarehouseCardControls::keyCommand(const QKeyEvent &event, const QWidget *focus) const
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_Escape:
        return QStringLiteral("TlbExit");
    case Qt::Key_F4:
        return mods == Qt::ControlModifier ? QStringLiteral("TlbExit") : QString();
    case Qt::Key_F6:
        return QStringLiteral("TlbSave");
    case Qt::Key_F1:
        return QStringLiteral("TlbHelp");
    case Qt::Key_F2:
        return focus == EdtcDepCode ? QStringLiteral("cmdRef") : QString();
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return mods == Qt::NoModifier ? QStringLiteral("Next") : QString();
    default:
        return QString();
    }
}
