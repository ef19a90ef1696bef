#pragma once

#include "services/WarehouseRecord.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QToolBar;
class QWidget;
class EditBox;
class WarehouseCardBar;

// The controls of the warehouse card, by the names the card uses: how they
// are laid out and captioned, and how a warehouse record is shown in them and
// read back. The card's window owns the widgets.
struct WarehouseCardControls {
    // Makes every control inside `card`, laid out in reading order.
    void buildControls(QWidget *card);
    // The label and check-box captions from the catalogue.
    void setCaptions();
    // The toolbar's four buttons afresh, with their pictures; a click runs
    // `run` with the key.
    void buildToolbar(const std::function<void(const QString &)> &run);
    QAction *toolbarButton(const QString &key) const;
    // The control that shows a column of the record ("cWhCode", ...); the
    // valuation style's for any other.
    QWidget *controlOf(const QString &column) const;
    // The valuation styles offered; the position box shows unless the list
    // is the basic version.
    void fillValueStyles(const QStringList &styles, bool basicVersion);
    // Shows a style in the list-only combo; a stored style it does not offer
    // is added, so that saving keeps it.
    void showStyle(const QString &style);
    // What a key does on the card: "TlbExit" (Esc, Ctrl+F4), "TlbSave" (F6),
    // "TlbHelp" (F1), "cmdRef" (F2 in the department box), "Next" (Enter, to
    // the next field as Tab); "" for any other key.
    QString keyCommand(const QKeyEvent &event, const QWidget *focus) const;
    // Editable boxes and choices, or (not `editable`) read-only boxes and
    // disabled choices and reference button: a card that only shows.
    void setEditable(bool editable);
    // The edit boxes whose text is stored as typed (all but the department's).
    QList<EditBox *> valueBoxes() const;

    // Shows a stored warehouse (the department box its name) and remembers
    // what each box showed.
    void showRecord(const services::WarehouseRecord &record);
    // Empty boxes, quota 0, the position box cleared.
    void clearFields();
    // True unless the card edits a stored warehouse (not `adding`) and the box
    // still shows what was loaded into it.
    bool boxChanged(const EditBox *box, bool adding) const;
    // What the card shows as a warehouse record, with the department code
    // resolved. A box the user did not change gives the value as `read`, so
    // it is not written back and keeps exactly what is stored (a longer
    // quota than the box shows, a text in another form).
    services::WarehouseRecord typedRecord(const services::WarehouseRecord &read, bool adding,
                                          const QString &depCode) const;

    QToolBar *Toolbar1 = nullptr;
    // Above the boxes: another seat changed or deleted the warehouse shown.
    WarehouseCardBar *ChangedBar = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *lblcWhCode = nullptr;
    QLabel *lblcWhName = nullptr;
    QLabel *lblcDepCode = nullptr;
    QLabel *lblcWhAddress = nullptr;
    QLabel *lblcWhPhone = nullptr;
    QLabel *lblcWhPerson = nullptr;
    QLabel *lblcWhValueStyle = nullptr;
    QLabel *lbliFundQuota = nullptr;
    QLabel *lblcWhMemo = nullptr;
    EditBox *EdtcWhCode = nullptr;
    EditBox *EdtcWhName = nullptr;
    EditBox *EdtcDepCode = nullptr;
    EditBox *EdtcWhAddress = nullptr;
    EditBox *EdtcWhPhone = nullptr;
    EditBox *EdtcWhPerson = nullptr;
    EditBox *EdtiWhFundQuota = nullptr;
    EditBox *EdtcWhMemo = nullptr;
    QComboBox *CmbcWhValueStyle = nullptr;
    QCheckBox *ChkbWhPos = nullptr;
    QPushButton *cmdRef = nullptr;

private:
    // What each box showed when a record was shown.
    QHash<const EditBox *, QString> m_shownTexts;
};
