#pragma once

#include "WarehouseListCards.h"
#include "WarehouseListControls.h"
#include "WarehouseListData.h"
#include "WarehouseListFollowing.h"
#include "WarehouseListFullRead.h"
#include "WarehouseListLocks.h"
#include "WarehouseListPrinting.h"
#include "WarehouseListSearch.h"
#include "forms/FormSlot.h"
#include "services/Account.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

class QToolBar;
class SuperGrid;
class LockVouchDLL;
class frmWHCard;
namespace dbkit {
class DbDataSet;
}
namespace services {
class WarehouseService;
}
class FrmWHAuth;
class WarehouseListDeletion;

// The warehouse list: a toolbar over a grid that lists every warehouse of the
// account. One per loaded component, which creates it in Init and shows it
// in Show. It owns its card (through WarehouseListCards, the card's host),
// its filter dialog and the authority list.
class frmWHBrowse : public QDialog, private WarehouseListControls {
    Q_OBJECT
public:
    frmWHBrowse();
    ~frmWHBrowse() override;

    // Set by LXWareHouse: the account, and the list's data set, which the
    // list hands to the services that read and move it.
    services::Account dbs;
    std::shared_ptr<dbkit::DbDataSet> mRecObject;

    // This computer's name as taken at load (at most 30 characters); names
    // this computer to the record-lock library.
    QString PCName;
    // Code of the warehouse being deleted or edited.
    QString recLock;
    // The record-lock object, created on first use.
    LockVouchDLL &bLock();

    // Loads the window, shows it modally and returns when it has unloaded.
    void ShowList();
    // Set by LXWareHouse when the data set holds the first screen only: the
    // rest, read meanwhile, which the window follows and then shows.
    void followFullRead(std::unique_ptr<services::warehouse_list::FullRead> read);
    // Waits until every row is read and shown (at once when they are); false
    // when the user cancelled the wait.
    bool waitForEveryRow() { return m_fullRead.waitForEnd(); }

    // Follows other seats' changes, so that the list shows them without
    // 刷新: called before the list's rows are read (the window also starts
    // when it loads, and stops when it closes).
    void followChanges();
    // The following of the changes while the list is open; null otherwise.
    services::ChangeFeed::Following *changeFollowing() const { return m_following.following(); }

    // Moves through the list; each re-reads the table first.
    bool FCur();
    bool FFirst();
    bool FLast();
    bool FPrevious();
    bool FNext();
    void Fclose();
    // Kept for hosts that call them; they do nothing.
    void Fsort() {}
    void Ffilter() {}
    void SelectFields() {}
    void FRefresh() {}
    void Ffind() {}

    void FAdd();
    void FEdit();
    bool FDelete();
    bool FDelete1(long &firstRow, long &lastRow);
    bool onUsed(const QString &code);

    // Runs the command of a toolbar key ("TlbAdd", "TlbExit", ...).
    void OnToolbarCommand(const QString &key);

    SuperGrid *SpGrdWH() const { return m_grid; }
    // The warehouse service on this list's login and lock object.
    services::WarehouseService &warehouses();
    // The report-print control; the authority list prints through it too.
    report::RTPrn &RTPrn1() { return m_printing.control(); }
    QToolBar *Toolbar1() const { return m_toolbar; }
    // A toolbar button by key, the grid's fill and its selection colours.
    using WarehouseListControls::toolbarButton;
    using WarehouseListControls::FillListGrid;
    using WarehouseListControls::showSelection;
    // True when the list's data set was opened read-only: commands that
    // write are refused.
    bool isReadOnly() const;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    bool handleShortcut(QKeyEvent *event);
    void runOtherCommand(const QString &key);
    void showHelp();
    void refreshList();
    void findWarehouse();
    void filterList();
    void showAuthority();
    // The change history of the current row's warehouse and its rights.
    void showHistory();
    // The window title says how many warehouses are listed and whether a
    // filter hides others.
    void showListState();
    // Shows every row once the full read has ended, the current row, the
    // selection and the scroll position kept; a failed read is told.
    void fullReadEnded(const QString &failure);
    // True while the list cannot take other seats' changes: not loaded, its
    // full read under way, a command of its own running (it may show a
    // dialog), or another modal window over it.
    bool busyForChanges() const;
    // Reads the changed warehouses again as the list shows them and shows
    // them; false when they could not be read.
    bool showChangedWarehouses(const ChangedWarehouses &changed);
    bool moveBy(services::warehouse_list::Move move);
    bool runDeletion(const std::function<bool(WarehouseListDeletion &)> &command);
    bool refuseWhenReadOnly();

    bool m_loaded = false;
    int m_commandsRunning = 0;
    bool m_waitCursor = false;
    WarehouseListData m_data;
    WarehouseListFullRead m_fullRead;
    long long m_rowsRead = 0;
    WarehouseListLocks m_locks;
    WarehouseListPrinting m_printing;
    // The windows the list opens: the card and the filter dialog are kept
    // for the list's life, the authority list is made afresh per command.
    WarehouseListCards m_cards;
    WarehouseListSearch m_search;
    depotbase::FormSlot<FrmWHAuth> m_authorityList;
    WarehouseListFollowing m_following;
};
