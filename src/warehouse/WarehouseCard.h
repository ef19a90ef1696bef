#pragma once

#include "WarehouseCardControls.h"
#include "WarehouseCardDepartmentBox.h"
#include "services/ChangeFeed.h"
#include "services/WarehouseRecord.h"
#include "services/WarehouseService.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>

class WarehouseCardHost;

// The warehouse card: the modal window in which one warehouse is added or
// edited. The list that owns it sets mRecwarehouse (the warehouse to edit,
// as read) and, for adding, mblnAddMark, and shows it with itself as the
// card's host: the card saves through the host's warehouse service and hands
// the stored warehouse back to the host to show.
class frmWHCard : public QDialog, private WarehouseCardControls {
    Q_OBJECT
public:
    explicit frmWHCard(QWidget *parent);
    ~frmWHCard() override;

    // Set by the list before showing: the warehouse to edit, as read, and
    // the mode (true: add).
    services::WarehouseRecord mRecwarehouse;
    bool mblnAddMark = false;

    // Loads the card for `host`, shows it modally and returns when it has
    // unloaded.
    void ShowCard(WarehouseCardHost &host);

    // True when a required field is empty: the message has been shown and
    // the focus moved to that field.
    bool CheckNull();
    // False (after telling the user) when the quota box holds no number, or
    // a number the database's column would not keep as typed.
    bool checkQuota();
    // "TlbAdd" (nothing), "TlbSave", "TlbHelp", "TlbExit".
    void OnCardCommand(const QString &key);

    using WarehouseCardControls::toolbarButton;
    // The card's following of the other seats' changes while it shows a
    // stored warehouse; nullptr while it adds one. Tests ask through it at
    // once instead of waiting for the next second.
    services::ChangeFeed::Following *following() const { return m_following.get(); }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void connectControls();
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void FillValueStyles();
    void LoadRecord();
    void ClearCard();
    void markChanged();
    void ShowSaveState();
    void onPositionClicked();
    bool handleKey(QKeyEvent *event);
    bool queryClose();
    void showHelp();

    // Following the changes other seats make to the warehouse shown.
    void followChanges();
    void takeChanges(const services::ChangeFeed::Changes &changes);
    void showNews();
    void reloadRecord();

    // Saving.
    void saveCard();
    void saveTyped();
    bool applyDepartmentStyle();
    bool InsertRecord();
    bool UpdateRecord();
    bool storeCard(bool adding);
    void recordVanished();
    void AfterSave();
    void refuse(const QString &text);

    // The window that showed the card (the list).
    WarehouseCardHost *m_host = nullptr;
    // Account options and card state.
    services::AccountOptions m_options;
    QString mstrOldCode;
    bool mblnChanged = false;
    bool mblnSaved = false;
    bool mblnFilling = false;
    // Opened from a read-only list: the card only shows the warehouse.
    bool m_readOnly = false;
    bool m_loaded = false;
    bool m_closing = false;
    bool m_saving = false;
    std::unique_ptr<services::ChangeFeed::Following> m_following;
    // The newest change of the warehouse shown that is not told yet, and the
    // code under which 重新读取 finds the warehouse.
    std::optional<services::HistoryEntry> m_news;
    QString m_reloadCode;
    // The department box: its departments and its checks.
    WarehouseCardDepartmentBox m_departmentBox;
};
