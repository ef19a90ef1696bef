#pragma once

#include "print/PrintWorkDb.h"
#include "services/Account.h"
#include "services/ChangeFeed.h"
#include "services/HistoryReader.h"
#include "services/HistoryRestore.h"
#include "suite/report/RTPrn.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QTimer;
class QToolBar;
class SuperGrid;

// What the history window shows: the changes `subject` selects (a warehouse,
// a right, an operator's rights, or all), named in the title by `title`.
struct HistorySubject {
    services::HistoryFilter filter;
    QString title;
};

// The history window 修改记录: the changes of its subject newest first, the
// changed fields of each named, narrowed by a date range and by the operator
// who made them; it prints, previews and outputs like the lists. On the
// current row it puts back a deleted warehouse or right (恢复) or the values
// a changed warehouse had before (恢复此前的值); a read-only seat only reads.
class FrmHistory : public QDialog {
    Q_OBJECT
public:
    // Reads and restores through `account`, which outlives the window; a
    // `readOnly` seat is offered no restore.
    FrmHistory(const services::Account &account, HistorySubject subject, bool readOnly,
               QWidget *parent = nullptr);
    ~FrmHistory() override;

    // The most rows one reading shows: the newest.
    static constexpr int RowLimit = 2000;

    // Loads the window, shows it modally and unloads it when it closes.
    void ShowHistory();
    // Runs a toolbar command ("TlbRefresh", "TlbPreview", "TlbRestore", ...).
    void OnToolbarCommand(const QString &key);
    // Reads the changes again under the filters as they are set.
    void query();

    SuperGrid *SpGrdHistory() const { return m_grid; }
    QDateEdit *DtpFrom() const { return m_from; }
    QDateEdit *DtpTo() const { return m_to; }
    QComboBox *CboOperator() const { return m_operator; }
    QAction *toolbarButton(const QString &key) const;
    // The window's following of the change feed, while it is shown.
    services::ChangeFeed::Following *following() const { return m_following.get(); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void load();
    void unload();
    void setUpGrid();
    void fillOperators();
    services::HistoryFilter currentFilter() const;
    void runPrintCommand(short mode);
    // The change on the grid's current row; nullptr on none.
    const services::HistoryEntry *currentEntry() const;
    void followCurrentRow();
    void runRestore(const QString &key);
    // Other windows' and seats' changes: a batch with one the window would
    // show reads it again, once no other window is open over it.
    void followChanges(const services::ChangeFeed::Changes &changes);
    void readAgainWhenOnTop();

    services::Account m_account;
    services::HistoryReader m_reader;
    services::HistoryRestore m_restore;
    HistorySubject m_subject;
    bool m_readOnly;
    std::vector<services::HistoryEntry> m_entries;  // as the grid's rows show them
    QToolBar *m_toolbar = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QComboBox *m_operator = nullptr;
    QLabel *m_count = nullptr;
    SuperGrid *m_grid = nullptr;
    report::RTPrn m_control;
    PrintWorkDbPtr m_printDb;
    std::unique_ptr<services::ChangeFeed::Following> m_following;
    bool m_behind = false;  // a change it would show came while covered
    QTimer *m_onTop = nullptr;  // looks again whether it is on top
};

// Shows the history of `subject` over `parent`; a failure to read is told.
// `readOnly`: the seat's flag, which hides the restore commands.
void ShowChangeHistory(QWidget *parent, const services::Account &account,
                       const HistorySubject &subject, bool readOnly);
