#pragma once

#include "AuthorityContext.h"
#include "AuthorityListGrid.h"
#include "RightsFollower.h"
#include "forms/FormSlot.h"
#include "print/PrintWorkDb.h"
#include "print/RunReport.h"
#include "services/RightsFilter.h"
#include "services/RightsQueries.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QToolBar;
class SuperGrid;
class FrmWAFilter;

// What the authority list is opened with: the account and read-only flag it
// hands on to the editor, and the report-print control (with the warehouse
// list's data set, whose field types give the output's column kinds) that its
// print commands drive.
struct AuthListInputs {
    AuthorityContext context;
    ReportHost printHost;
};

// The authority list "仓库权限设置": every warehouse right of a selectable
// operator on an existing warehouse, one grid row each. The list only reads:
// rights change in the authority editor, which 编辑 and a double click open
// and after which the list is read again. While it is open it follows the
// rights and warehouses other seats and windows change. It locates and
// filters through FrmWAFilter, refreshes, prints through its own print-work
// database, and opens help.
//
// The warehouse list holds it in a FormSlot and makes it afresh per command:
// ShowList loads it, shows it modally and unloads it.
class FrmWHAuth : public QDialog {
    Q_OBJECT
public:
    explicit FrmWHAuth(const AuthListInputs &inputs, QWidget *parent = nullptr);
    ~FrmWHAuth() override;

    static constexpr int HelpContext = 31100141;

    // Loads the window, shows it modally and unloads it when it closes.
    void ShowList();
    // Runs the command of a toolbar key ("TlbEdit", "TlbFind", ...).
    void OnToolbarCommand(const QString &key);

    SuperGrid *SpGrdWAuth() const { return m_grid; }
    QToolBar *Toolbar1() const { return m_toolbar; }
    QAction *toolbarButton(const QString &key) const;
    // The print-work database while the window is loaded.
    PrintWorkDb *printWork() const { return printDb.get(); }
    // The change feed followed while the window is loaded; nullptr otherwise.
    services::ChangeFeed::Following *following() const;

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Loading and display (AuthorityListLoad.cpp)
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void LoadAuthToolbarImages();
    void BuildAuthToolbar();
    // The title tells how many rights are shown, and whether a filter holds.
    void showListState();
    // Shows the rights and the rights on the warehouses a batch of changes
    // touched as they are now, through the filter shown; hands all back
    // when they could not be read.
    TouchedRights showChanges(const TouchedRights &touched);

    // Commands (AuthorityListCommands.cpp)
    // Runs a command; a failure is told and the title brought up to date.
    void runGuarded(const std::function<void()> &command);
    void runCommand(const QString &key);
    bool refuseWithoutWarehouses(const QString &text);
    // Opens the editor, on `start` when given, and reads the list again.
    void editRights(const std::optional<RightToShow> &start = std::nullopt);
    void locateRight();
    void filterRights();
    // Shows the rights that match a filter of the filter dialog.
    void showFiltered(const services::RightsFilter &filter);
    void refreshList();
    void showHistory();
    void runPrintCommand(short mode);
    // Shows the locate (filter false) or filter dialog and hands back what
    // the user gave; an empty filter when cancelled.
    services::RightsFilter askDialog(bool filter, const QString &caption);
    void refuse(const QString &text);

    AuthListInputs m_inputs;
    QToolBar *m_toolbar = nullptr;
    SuperGrid *m_grid = nullptr;
    AuthorityListGrid m_rows;   // what m_grid shows
    QList<QIcon> ImageList1;
    bool m_loaded = false;
    bool m_filtered = false;  // the grid shows the rows of a filter
    services::RightsFilter m_shownFilter;  // that filter
    int m_commandsRunning = 0;             // changes wait while a command runs
    std::unique_ptr<RightsFollower> m_follower;  // from load to unload

    services::RightsQueries m_queries;
    std::shared_ptr<dbkit::DbDataSet> rsAuthList;
    // Print-work database of the list (LxInit10.mdb), held from load to unload.
    PrintWorkDbPtr printDb;
    // Created on first use and kept for the list between showings.
    depotbase::FormSlot<FrmWAFilter> m_filter;
};
