// The warehouse card window: its controls, loading, display of a record,
// change tracking, keys and closing.
#include "frmWHCard.h"

#include "WarehouseCardHost.h"
#include "WarehouseStatements.h"
#include "forms/FormSlot.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "forms/WindowHelpers.h"
#include "data/ModuleState.h"
#include "services/WarehouseRules.h"
#include "suite/controls/EditBox.h"
#include "suite/controls/RefDialog.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <array>

using namespace depotbase;

namespace {

constexpr int HelpContext = 31100041;

struct Picture {
    const char *key;
    const char *file;
};

constexpr std::array<Picture, 4> CardPictures{{
    {"imgAdd", "imgAdd"}, {"imgSave", "imgSave"}, {"imgHelp", "imgHelp"}, {"imgExit", "imgExit"}}};

struct CardButton {
    const char *key;
    int image;  // 1-based index into the pictures
    int caption;
    int tip;    // 0: the save button's own tip
};

constexpr std::array<CardButton, 4> CardButtons{{
    {"TlbAdd", 1, 63, 63}, {"TlbSave", 2, 64, 0}, {"TlbHelp", 3, 14, 14}, {"TlbExit", 4, 15, 15}}};

// Valuation styles in the order the card offers them (catalogue ids).
constexpr std::array<int, 5> CommonStyles{{66, 67, 68, 69, 70}};
constexpr std::array<int, 2> BasicStyles{{66, 67}};

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

frmWHCard::frmWHCard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWHCard"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    buildControls();
}

frmWHCard::~frmWHCard()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void frmWHCard::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setMovable(false);
    layout->addWidget(Toolbar1);

    Frame1 = new QGroupBox(this);
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
        setTabOrder(order[i - 1], order[i]);

    for (EditBox *box : {EdtcWhCode, EdtcWhName, EdtcDepCode, EdtcWhAddress, EdtcWhPhone,
                         EdtcWhPerson, EdtiWhFundQuota, EdtcWhMemo})
        connect(box, &EditBox::Change, this, [this] { markChanged(); });
    connect(CmbcWhValueStyle, &QComboBox::currentIndexChanged, this, [this] { markChanged(); });
    connect(CmbcWhValueStyle, &QComboBox::activated, this, [this] { markChanged(); });
    connect(ChkbWhPos, &QCheckBox::clicked, this, [this] { onPositionClicked(); });
    connect(cmdRef, &QPushButton::clicked, this, [this] { SetupDepartmentRef(); });
}

void frmWHCard::ShowCard(WarehouseCardHost &host)
{
    m_host = &host;
    showModalForm(*this, [this] { Form_Load(); }, [this] {
        if (m_loaded)
            Form_Unload();
    });
}

void frmWHCard::Form_Load()
{
    setProperty("HelpContextID", HelpContext);
    m_ref = std::make_unique<clsRef>();
    m_ref->Ref1 = std::make_unique<RefDialog>(this);
    mstrIndustry = QStringLiteral("1");
    mblnByDept = false;
    mstrDepCode.clear();
    readAccountOptions();

    setWindowTitle(LoadResString(73));
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
    cmdRef->setIcon(QIcon(QStringLiteral(":/icons/cmdRef.png")));

    lblcWhCode->setText(LoadResString(52));
    lblcWhName->setText(LoadResString(53));
    lblcDepCode->setText(LoadResString(54));
    lblcWhAddress->setText(LoadResString(55));
    lblcWhPhone->setText(LoadResString(56));
    lblcWhPerson->setText(LoadResString(57));
    lblcWhValueStyle->setText(LoadResString(58));
    lbliFundQuota->setText(LoadResString(60));
    lblcWhMemo->setText(LoadResString(61));
    ChkbWhPos->setText(LoadResString(59));

    mblnFilling = true;
    FillValueStyles();
    mblnFilling = false;
    rsDepartment = m_host->login().OpenDataSet(warehouse::leafDepartmentsStatement(),
                                               dbkit::OpenMode::Default);

    LoadCardToolbarImages();
    BuildCardToolbar();
    if (mblnAddMark)
        ClearCard();
    else
        LoadRecord();
    mblnChanged = false;
    ShowSaveState();
    // Sized once the captions and buttons are in, so every opening has the
    // same size.
    adjustSize();
    CentreOnScreen(this);
    m_loaded = true;
}

void frmWHCard::readAccountOptions()
{
    m_options = m_host->login().OpenDataSet(warehouse::accountOptionsStatement(),
                                            dbkit::OpenMode::Default);
    if (m_options->RecordCount() <= 0)
        return;
    m_options->FindFirst(QStringLiteral("cSysID='AA' And cName='cSysVersion'"));
    if (!m_options->NoMatch()) {
        QString version = NullToEmpty(m_options->Fields(QStringLiteral("cValue")));
        if (version.isEmpty())
            version = NullToEmpty(m_options->Fields(QStringLiteral("cDefault")));
        mstrIndustry = version == LoadResString(125) ? QStringLiteral("1") : QStringLiteral("2");
    }
    m_options->FindFirst(QStringLiteral("cSysID='IA' And cName='cValueStyle'"));
    if (!m_options->NoMatch())
        mblnByDept = NullToEmpty(m_options->Fields(QStringLiteral("cValue")))
                     == QStringLiteral("按部门核算");
}

void frmWHCard::FillValueStyles()
{
    CmbcWhValueStyle->clear();
    if (blnBasicVersion) {
        for (int id : BasicStyles)
            CmbcWhValueStyle->addItem(LoadResString(id));
        ChkbWhPos->hide();
        return;
    }
    for (int id : CommonStyles)
        CmbcWhValueStyle->addItem(LoadResString(id));
    CmbcWhValueStyle->addItem(LoadResString(mstrIndustry == QStringLiteral("1") ? 65 : 71));
    ChkbWhPos->show();
}

// Shows a valuation style in the list-only combo. A stored style the combo
// does not offer (a style of the other account kind, or of the full version
// in the basic one) is added, so that saving keeps it instead of replacing
// it with whatever entry happened to be selected.
void frmWHCard::showStyle(const QString &style)
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

void frmWHCard::LoadCardToolbarImages()
{
    ImageList1.clear();
    for (const Picture &p : CardPictures)
        ImageList1.push_back(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(p.file))));
}

void frmWHCard::BuildCardToolbar()
{
    // clear() only takes the actions off the toolbar; they stay its children
    // and would be found by key instead of the new ones.
    const QList<QAction *> old = Toolbar1->actions();
    Toolbar1->clear();
    qDeleteAll(old);
    for (const CardButton &b : CardButtons) {
        auto *action = new QAction(ImageList1.at(b.image - 1), LoadResString(b.caption), Toolbar1);
        const QString key = QLatin1String(b.key);
        action->setObjectName(key);
        action->setToolTip(b.tip ? LoadResString(b.tip) : QStringLiteral("保存(F6)"));
        connect(action, &QAction::triggered, this, [this, key] { OnCardCommand(key); });
        Toolbar1->addAction(action);
        if (QWidget *widget = Toolbar1->widgetForAction(action))
            widget->setObjectName(key + QStringLiteral("Button"));
    }
}

QAction *frmWHCard::toolbarButton(const QString &key) const
{
    return Toolbar1->findChild<QAction *>(key, Qt::FindDirectChildrenOnly);
}

void frmWHCard::LoadRecord()
{
    const services::WarehouseRecord &rec = mRecwarehouse;
    mblnFilling = true;
    EdtcWhCode->setText(rec.code);
    EdtcWhName->setText(rec.name);
    EdtcDepCode->setText(rec.depName);
    EdtcWhAddress->setText(rec.address);
    EdtcWhPhone->setText(rec.phone);
    EdtcWhPerson->setText(rec.person);
    EdtcWhMemo->setText(rec.memo);
    EdtiWhFundQuota->setText(services::warehouse_rules::formatQuota(rec.fundQuota));
    showStyle(rec.valueStyle);
    ChkbWhPos->setChecked(rec.positions);
    mblnFilling = false;
    mstrDepCode.clear();
    m_boxDepCode = rec.depCode;
    m_boxDepName = EdtcDepCode->text();
    m_shownTexts.clear();
    for (EditBox *box : {EdtcWhCode, EdtcWhName, EdtcWhAddress, EdtcWhPhone, EdtcWhPerson,
                         EdtcWhMemo, EdtiWhFundQuota}) {
        m_shownTexts.insert(box, box->text());
        // A text longer than its box shows its start.
        box->setCursorPosition(0);
    }
    EdtcDepCode->setCursorPosition(0);
}

void frmWHCard::ClearCard()
{
    for (EditBox *box : {EdtcWhCode, EdtcWhName, EdtcDepCode, EdtcWhAddress, EdtcWhPhone,
                         EdtcWhPerson, EdtcWhMemo})
        box->clear();
    EdtiWhFundQuota->setText(QStringLiteral("0"));
    mblnFilling = true;
    // A style added for the record shown before goes again.
    FillValueStyles();
    CmbcWhValueStyle->setCurrentIndex(0);
    ChkbWhPos->setChecked(false);
    mblnFilling = false;
    mstrDepCode.clear();
    m_boxDepCode.clear();
    m_boxDepName.clear();
    m_shownTexts.clear();
}

void frmWHCard::markChanged()
{
    if (!mblnChanged) {
        mblnChanged = true;
        ShowSaveState();
    }
}

void frmWHCard::ShowSaveState()
{
    if (QAction *save = toolbarButton(QStringLiteral("TlbSave")))
        save->setEnabled(mblnChanged);
}

void frmWHCard::Form_Activate()
{
    mstrOldCode = EdtcWhCode->text();
    activateWindow();
    EdtcWhCode->setFocus(Qt::OtherFocusReason);
}

// The card takes its keys before its controls do, and checks the department
// box when the focus leaves it.
void frmWHCard::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    qApp->installEventFilter(this);
    Form_Activate();
}

void frmWHCard::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    QDialog::hideEvent(event);
}

bool frmWHCard::eventFilter(QObject *watched, QEvent *event)
{
    if (!isVisible() || !watched->isWidgetType()
        || static_cast<QWidget *>(watched)->window() != this)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        if (handleKey(static_cast<QKeyEvent *>(event)))
            return true;
    } else if (event->type() == QEvent::FocusOut && watched == EdtcDepCode) {
        // Only a move to another control of the card counts as leaving the
        // box; the window losing the focus (a message, the reference) does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
            && !m_closing)
            onDepartmentLeft();
    }
    return QDialog::eventFilter(watched, event);
}

bool frmWHCard::handleKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
        OnCardCommand(QStringLiteral("TlbExit"));
        return true;
    case Qt::Key_F4:
        if (mods != Qt::ControlModifier)
            return false;
        OnCardCommand(QStringLiteral("TlbExit"));
        return true;
    case Qt::Key_F6:
        if (toolbarButton(QStringLiteral("TlbSave"))->isEnabled())
            OnCardCommand(QStringLiteral("TlbSave"));
        return true;
    case Qt::Key_F1:
        OnCardCommand(QStringLiteral("TlbHelp"));
        return true;
    case Qt::Key_F2:
        if (QApplication::focusWidget() != EdtcDepCode)
            return false;
        SetupDepartmentRef();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods != Qt::NoModifier)
            return false;
        focusNextChild();
        return true;
    default:
        return false;
    }
}

void frmWHCard::OnCardCommand(const QString &key)
{
    if (key == QStringLiteral("TlbSave")) {
        saveCard();
    } else if (key == QStringLiteral("TlbHelp")) {
        showHelp();
    } else if (key == QStringLiteral("TlbExit")) {
        if (!queryClose())
            return;
        // Hiding the window takes the focus from a box: that is no leaving
        // of the department box to check.
        m_closing = true;
        QDialog::reject();
        m_closing = false;
    }
    // "TlbAdd": the card is already ready for the next warehouse after a save.
}

// Asks about unsaved changes; true when the card may close.
bool frmWHCard::queryClose()
{
    if (!toolbarButton(QStringLiteral("TlbSave"))->isEnabled())
        return true;
    const modal::Answer answer =
        modal::message(this, QStringLiteral("是否保存?"), modal::Icon::Question,
                       modal::Buttons::YesNo, LoadResString(17));
    if (answer != modal::Answer::Yes)
        return true;
    saveCard();
    return mblnSaved;
}

void frmWHCard::reject()
{
    OnCardCommand(QStringLiteral("TlbExit"));
}

// The title bar's close button closes like the exit command, asking first.
void frmWHCard::closeEvent(QCloseEvent *event)
{
    event->ignore();
    OnCardCommand(QStringLiteral("TlbExit"));
}

void frmWHCard::Form_Unload()
{
    m_closing = true;
    qApp->removeEventFilter(this);
    mRecwarehouse = {};
    rsDepartment.reset();
    m_options.reset();
    m_ref.reset();
    mblnAddMark = false;
    m_loaded = false;
    m_closing = false;
}

void frmWHCard::SetupDepartmentRef()
{
    if (!rsDepartment || !m_ref || !m_ref->Ref1)
        return;
    try {
        rsDepartment->Requery(-1);
        RefDialog &ref = *m_ref->Ref1;
        ref.setRefData(rsDepartment);
        ref.setRefCaption(LoadResString(75));
        ref.setRefColumnTitle(0, LoadResString(76));
        ref.setRefColumnTitle(1, LoadResString(77));
        ref.setRefColumnTitle(2, LoadResString(57));
        ref.setRefOption1(0);
        ref.setRefOption2(0);
        ref.setRefOption3(0);
        ref.setRefColumnWidth(0, 1500);
        ref.setRefColumnWidth(1, 2000);
        ref.RefPrepare();
        ref.RefShow();
        if (!ref.RefChosen())
            return;
        mstrDepCode = NullToEmpty(rsDepartment->Fields(0));
        EdtcDepCode->setText(NullToEmpty(rsDepartment->Fields(1)));
        m_boxDepCode = mstrDepCode;
        m_boxDepName = EdtcDepCode->text();
    } catch (const dbkit::DbError &error) {
        tellFailure(error);
    }
}

void frmWHCard::showHelp()
{
    ShowHelpPage(this, HelpContext);
}
