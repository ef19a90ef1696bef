// The warehouse card window: its controls, loading, display of a record,
// change tracking, keys and closing.
#include "WarehouseCard.h"

#include "WarehouseCardBar.h"
#include "WarehouseCardHost.h"
#include "WarehouseMessages.h"
#include "data/Catalogue.h"
#include "data/ModuleState.h"
#include "forms/FormSlot.h"
#include "forms/WindowHelpers.h"
#include "services/WarehouseRules.h"
#include "suite/controls/EditBox.h"
#include "suite/modal/ModalSeam.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

using namespace depotbase;

namespace rules = services::warehouse_rules;

namespace {

constexpr int HelpContext = 31100041;

} // namespace

frmWHCard::frmWHCard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWHCard"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    buildControls(this);
    connectControls();
}

frmWHCard::~frmWHCard()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void frmWHCard::connectControls()
{
    for (EditBox *box : {EdtcWhCode, EdtcWhName, EdtcDepCode, EdtcWhAddress, EdtcWhPhone,
                         EdtcWhPerson, EdtiWhFundQuota, EdtcWhMemo})
        connect(box, &EditBox::Change, this, [this] { markChanged(); });
    connect(CmbcWhValueStyle, &QComboBox::currentIndexChanged, this, [this] { markChanged(); });
    connect(CmbcWhValueStyle, &QComboBox::activated, this, [this] { markChanged(); });
    connect(ChkbWhPos, &QCheckBox::clicked, this, [this] { onPositionClicked(); });
    connect(cmdRef, &QPushButton::clicked, this,
            [this] { m_departmentBox.chooseFromReference(); });
    connect(ChangedBar->reloadButton(), &QPushButton::clicked, this, [this] { reloadRecord(); });
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
    m_readOnly = m_host->isReadOnly();
    m_options = m_host->warehouses().checks().accountOptions();

    setWindowTitle(LoadResString(text::WarehouseCard)
                   + (m_readOnly ? whmessages::readOnlyMark() : QString()));
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon201.png")));
    setCaptions();

    mblnFilling = true;
    FillValueStyles();
    mblnFilling = false;
    m_departmentBox.open(m_host->login(), this, EdtcDepCode, m_readOnly);

    buildToolbar([this](const QString &key) { OnCardCommand(key); });
    followChanges();
    if (mblnAddMark)
        ClearCard();
    else
        LoadRecord();
    // A read-only list's card shows the warehouse and offers nothing that
    // writes, so there is nothing to save or to ask about on leaving.
    setEditable(!m_readOnly);
    toolbarButton(QStringLiteral("TlbAdd"))->setEnabled(!m_readOnly);
    mblnChanged = false;
    ShowSaveState();
    // Sized once the captions and buttons are in, so every opening has the
    // same size.
    adjustSize();
    CentreOnScreen(this);
    m_loaded = true;
}

void frmWHCard::FillValueStyles()
{
    fillValueStyles(rules::offeredStyles(blnBasicVersion, m_options.industrial),
                    blnBasicVersion);
}

void frmWHCard::LoadRecord()
{
    mblnFilling = true;
    showRecord(mRecwarehouse);
    mblnFilling = false;
    m_departmentBox.remember(mRecwarehouse.depCode, EdtcDepCode->text());
}

void frmWHCard::ClearCard()
{
    clearFields();
    mblnFilling = true;
    // A style added for the record shown before goes again.
    FillValueStyles();
    CmbcWhValueStyle->setCurrentIndex(0);
    mblnFilling = false;
    m_departmentBox.remember(QString(), QString());
    ChangedBar->dismiss();
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
        save->setEnabled(mblnChanged && !m_readOnly);
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
            m_departmentBox.checkOnLeaving();
    }
    return QDialog::eventFilter(watched, event);
}

bool frmWHCard::handleKey(QKeyEvent *event)
{
    const QString command = keyCommand(*event, QApplication::focusWidget());
    if (command.isEmpty())
        return false;
    if (command == QStringLiteral("Next"))
        focusNextChild();
    else if (command == QStringLiteral("cmdRef"))
        m_departmentBox.chooseFromReference();
    else if (command != QStringLiteral("TlbSave")
             || toolbarButton(QStringLiteral("TlbSave"))->isEnabled())
        OnCardCommand(command);
    return true;
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
                       modal::Buttons::YesNo, LoadResString(text::MessageCaption));
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
    m_following.reset();
    m_news.reset();
    ChangedBar->dismiss();
    mRecwarehouse = {};
    m_departmentBox.close();
    mblnAddMark = false;
    m_loaded = false;
    m_closing = false;
}

void frmWHCard::showHelp()
{
    ShowHelpPage(this, HelpContext);
}
