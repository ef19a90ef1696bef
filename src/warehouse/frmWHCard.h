#pragma once

#include "suite/dbkit/DbLogin.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QIcon>
#include <QString>
#include <QVariant>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolBar;
class EditBox;
class RefDialog;
namespace dbkit {
class DbError;
}
class SuperGrid;
class WarehouseCardHost;

// Holds the card's reference dialog.
struct clsRef {
    std::unique_ptr<RefDialog> Ref1;
};

// The warehouse card: the modal window in which one warehouse is added or
// edited. The list that owns it sets mRecwarehouse (its own data set) and,
// for adding, mblnAddMark, and shows it with itself as the card's host: the
// card reads and writes through the host's login and writes saved rows into
// the host's grid.
class frmWHCard : public QDialog {
    Q_OBJECT
public:
    explicit frmWHCard(QWidget *parent);
    ~frmWHCard() override;

    // Set by the list before showing: the list's warehouse data set (its
    // current record is the one edited) and the mode (true: add).
    dbkit::DbDataSetPtr mRecwarehouse;
    bool mblnAddMark = false;

    // Loads the card for `host`, shows it modally and returns when it has
    // unloaded.
    void ShowCard(WarehouseCardHost &host);

    // True when a required field is empty: the message has been shown and
    // the focus moved to that field.
    bool CheckNull();
    // True when the department box names a leaf department by code or name;
    // the box then shows the name and mstrDepCode holds the code.
    bool FindDepartment();
    // False (after telling the user) when the quota box holds no number, or
    // a number the database's column would not keep as typed.
    bool checkQuota();
    // "TlbAdd" (nothing), "TlbSave", "TlbHelp", "TlbExit".
    void OnCardCommand(const QString &key);

    QAction *toolbarButton(const QString &key) const;

    // Tells the user that the warehouse list was opened read-only; true when
    // it was (the caller then changes nothing).
    static bool refuseWhenReadOnly(QWidget *parent, bool readOnly);

    // The fund quota as the card shows it: "0" for 0, else at least one and
    // at most four decimals; "" for Null or empty.
    static QString formatQuota(const QVariant &value);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void buildControls();
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void readAccountOptions();
    void FillValueStyles();
    void LoadCardToolbarImages();
    void BuildCardToolbar();
    void LoadRecord();
    void ClearCard();
    void showStyle(const QString &style);
    void markChanged();
    void ShowSaveState();
    void onPositionClicked();
    bool positionsExist(const QString &code);
    void onDepartmentLeft();
    void SetupDepartmentRef();
    bool handleKey(QKeyEvent *event);
    bool queryClose();
    void showHelp();

    // Saving.
    void saveCard();
    bool checkDepartmentForSave();
    bool applyDepartmentStyle();
    bool InsertRecord();
    bool UpdateRecord();
    bool storeInUse(const QString &storedCode);
    void WriteAllFields(dbkit::DbDataSet &record, bool withCodeAndStyle);
    void writeBox(dbkit::DbDataSet &record, const QString &column, const EditBox *box);
    bool boxChanged(const EditBox *box) const;
    void WriteGridRow(int row);
    void spreadDepartmentStyle();
    bool findStored(const QString &code);
    void recordVanished();
    void AfterSave();
    void releaseListLock();
    void cancelPending();
    void showSaveError(int errorNumber, const QString &description);
    void refuse(const QString &text);
    // A database failure outside the save's own write, told in Chinese with
    // the engine's text.
    void tellFailure(const dbkit::DbError &error);

    // The window that showed the card (the list).
    WarehouseCardHost *m_host = nullptr;
    // Account options and card state.
    QString mstrIndustry = QStringLiteral("1");
    bool mblnByDept = false;
    QString mstrDepCode;
    QString mstrOldCode;
    bool mblnChanged = false;
    bool mblnSaved = false;
    bool mblnFilling = false;
    bool m_loaded = false;
    bool m_closing = false;
    // The last save stored a warehouse in use (code and style kept).
    bool m_storedInUse = false;
    // What each box showed when the record was loaded: a field the user did
    // not change is not written back, so it keeps what is stored.
    QHash<const EditBox *, QString> m_shownTexts;
    // The department the box's text stands for while the box shows
    // m_boxDepName: the stored one, or the one last chosen or found.
    QString m_boxDepCode;
    QString m_boxDepName;
    dbkit::DbDataSetPtr rsDepartment;
    dbkit::DbDataSetPtr m_options;
    std::unique_ptr<clsRef> m_ref;

    QToolBar *Toolbar1 = nullptr;
    QList<QIcon> ImageList1;
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
