#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolBar;
class QWidget;
class EditBox;

// The controls of the warehouse card, by the names the card uses, and how
// they are laid out, captioned and filled with the valuation styles. The
// card owns them through its window; this holds no state of its own.
struct WarehouseCardControls {
    // Makes every control inside `card`, laid out in reading order.
    void buildControls(QWidget *card);
    // The label and check-box captions from the catalogue.
    void setCaptions();
    // The toolbar's four buttons afresh; a click runs `run` with the key.
    void buildToolbar(const QList<QIcon> &pictures,
                      const std::function<void(const QString &)> &run);
    // The toolbar's pictures, in button order.
    static QList<QIcon> loadToolbarPictures();
    QAction *toolbarButton(const QString &key) const;
    // The valuation styles offered; the position box shows unless the list
    // is the basic version.
    void fillValueStyles(const QStringList &styles, bool basicVersion);
    // Shows a style in the list-only combo; a stored style it does not offer
    // is added, so that saving keeps it.
    void showStyle(const QString &style);
    // The edit boxes whose text is stored as typed (all but the department's).
    QList<EditBox *> valueBoxes() const;

    QToolBar *Toolbar1 = nullptr;
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
};
